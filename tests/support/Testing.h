#pragma once

// What the test programs share: GoogleTest, the standard library, files, a scratch directory,
// exceptions' messages and the pixels of an image.
#include "Bitmap.h"
#include "Stream.h"
#include "Types.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadFile(const fs::path& name) {
    std::ifstream in(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const fs::path& name, const Bytes& bytes) {
    std::ofstream(name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The names in a directory, sorted, temporary files included.
inline std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A new directory of one test's own, removed with everything in it afterwards.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = ::testing::TempDir() + "quillmark-XXXXXX";
        EXPECT_NE(mkdtemp(pattern.data()), nullptr);
        FPath = pattern;
    }
    ~ScratchDir() { fs::remove_all(FPath); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const fs::path& Path() const { return FPath; }
    fs::path operator/(const std::string& name) const { return FPath / name; }

private:
    fs::path FPath;
};

// The message of the exception of class E that the action raises; "none" when it raises nothing.
template <class E> std::string Raised(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e.what();
    } catch (...) {
        return "another exception";
    }
    return "none";
}

inline Bytes BmpBytes(const TBitmap& image) {
    TMemoryStream stream;
    image.SaveToStream(stream);
    return stream.Data();
}

inline TBitmap WhiteImage(int width, int height) {
    TBitmap image;
    image.SetWidth(width);
    image.SetHeight(height);
    return image;
}

inline int CountPixels(const TBitmap& image, TColor color) {
    int count = 0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            count += image.Pixel(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

// The smallest rectangle holding every pixel of the colour; all zero when there is none.
inline TRect BoundsOf(const TBitmap& image, TColor color) {
    TRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (image.Pixel(x, y) == color) {
                r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                     std::max(r.Bottom, y + 1)};
            }
        }
    }
    return r.Left == INT_MAX ? TRect{} : r;
}

using ArtRows = std::vector<std::string>;

// A small image as a row of letters per pixel row: '.' white, '#' black, 'r' red, 'g' lime,
// 'b' blue, 'y' yellow, '?' any other colour.
inline ArtRows Art(const TBitmap& image) {
    constexpr std::pair<TColor, char> letters[] = {{clWhite, '.'}, {clBlack, '#'}, {clRed, 'r'},
                                                   {clLime, 'g'},  {clBlue, 'b'},  {clYellow, 'y'}};
    ArtRows rows(image.Height(), std::string(image.Width(), '?'));
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            for (const auto& [color, letter] : letters) {
                rows[y][x] = image.Pixel(x, y) == color ? letter : rows[y][x];
            }
        }
    }
    return rows;
}
