#include "Bitmap.h"
#include "Canvas.h"
#include "Exception.h"
#include "Picture.h"
#include "Stream.h"

#include "Pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes StreamBytes(const TBitmap& image) {
    TMemoryStream stream;
    image.SaveToStream(stream);
    return stream.Data();
}

// The four bytes of pixel (x, y) in a 32-bit bottom-up BMP.
Bytes PixelBytes(const Bytes& bmp, int width, int height, int x, int y) {
    const std::size_t at = 54 + (static_cast<std::size_t>(height - 1 - y) * width + x) * 4;
    return Bytes(bmp.begin() + at, bmp.begin() + at + 4);
}

TEST(BmpStream, CodeImageHeadersAndRows) {
    TBitmap image = WhiteImage(525, 276);
    image.Canvas().Brush().Color = clRed;
    image.Canvas().FillRect({0, 0, 1, 1});
    image.Canvas().Brush().Color = clBlue;
    image.Canvas().FillRect({524, 275, 525, 276});
    const Bytes bmp = StreamBytes(image);
    ASSERT_EQ(bmp.size(), 579654u);

    const Bytes headers{
        'B',  'M',              // bfType
        0x46, 0xD8, 0x08, 0x00, // bfSize 579,654
        0,    0,    0,    0,    // bfReserved1, bfReserved2
        54,   0,    0,    0,    // bfOffBits
        40,   0,    0,    0,    // biSize
        0x0D, 0x02, 0x00, 0x00, // biWidth 525
        0x14, 0x01, 0x00, 0x00, // biHeight 276, bottom row first
        1,    0,                // biPlanes
        32,   0,                // biBitCount
        0,    0,    0,    0,    // biCompression
        0x10, 0xD8, 0x08, 0x00, // biSizeImage 579,600
        0,    0,    0,    0,    // biXPelsPerMeter
        0,    0,    0,    0,    // biYPelsPerMeter
        0,    0,    0,    0,    // biClrUsed
        0,    0,    0,    0,    // biClrImportant
    };
    EXPECT_EQ(Bytes(bmp.begin(), bmp.begin() + 54), headers);

    // The top-left pixel starts the last row, the bottom-right one ends the first.
    EXPECT_EQ(Bytes(bmp.end() - 525 * 4, bmp.end() - 524 * 4), (Bytes{0x00, 0x00, 0xFF, 0}));
    EXPECT_EQ(Bytes(bmp.begin() + 54 + 524 * 4, bmp.begin() + 54 + 525 * 4),
              (Bytes{0xFF, 0x00, 0x00, 0}));
    EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.begin() + 58), (Bytes{0xFF, 0xFF, 0xFF, 0}));
}

TEST(BmpStream, SizesFollowTheImageAndEmptyImagesWriteNothing) {
    TBitmap image = WhiteImage(3, 2);
    image.Canvas().Brush().Color = 0x563412;
    image.Canvas().FillRect({1, 0, 2, 1});
    TMemoryStream stream;
    stream.WriteBuffer("xy", 2);
    image.SaveToStream(stream);
    const Bytes& written = stream.Data();
    ASSERT_EQ(written.size(), 2 + 54 + 24u);
    EXPECT_EQ(Bytes(written.begin(), written.begin() + 4), (Bytes{'x', 'y', 'B', 'M'}));
    EXPECT_EQ(written[2 + 2], 78); // bfSize
    EXPECT_EQ(written[2 + 18], 3); // biWidth
    EXPECT_EQ(written[2 + 22], 2); // biHeight
    EXPECT_EQ(PixelBytes(Bytes(written.begin() + 2, written.end()), 3, 2, 1, 0),
              (Bytes{0x56, 0x34, 0x12, 0}));

    for (const auto& [w, h] : {std::pair{0, 0}, {5, 0}, {0, 5}}) {
        TBitmap empty;
        empty.SetWidth(w);
        empty.SetHeight(h);
        EXPECT_TRUE(StreamBytes(empty).empty()) << w << "x" << h;
    }
}

class BmpFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "quillmark-bmp-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Dir = pattern;
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string In(const std::string& name) const { return (Dir / name).string(); }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Dir)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path Dir;
};

Bytes ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& name, const Bytes& bytes) {
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// The exception's class and message, or "none".
std::string Failure(const std::function<void()>& action) {
    try {
        action();
    } catch (const EFCreateError& e) {
        return std::string("EFCreateError: ") + e.what();
    } catch (const EWriteError& e) {
        return std::string("EWriteError: ") + e.what();
    } catch (const std::exception& e) {
        return std::string("other: ") + e.what();
    }
    return "none";
}

TEST_F(BmpFile, AnyNameGetsTheBmpBytesReplacingWhatWasThere) {
    const TBitmap image = WhiteImage(3, 2);
    for (const std::string name : {"code.jpg", "code", "code.bmp"}) {
        WriteFile(In(name), Bytes(100000, 0xAB));
        fs::permissions(In(name), fs::perms::owner_read | fs::perms::owner_write);
        image.SaveToFile(In(name));
        const Bytes bytes = ReadFile(In(name));
        EXPECT_EQ(bytes.size(), 54 + 4 * 3 * 2u) << name;
        EXPECT_EQ(bytes, StreamBytes(image)) << name;
        EXPECT_EQ(fs::status(In(name)).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write)
            << name;
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"code", "code.bmp", "code.jpg"}));
}

TEST_F(BmpFile, ALinkIsWrittenThroughToItsFile) {
    WriteFile(In("real.bmp"), Bytes(10, 0xAB));
    fs::create_symlink("real.bmp", In("link.bmp"));
    const TBitmap image = WhiteImage(3, 2);
    image.SaveToFile(In("link.bmp"));
    EXPECT_TRUE(fs::is_symlink(In("link.bmp")));
    EXPECT_EQ(ReadFile(In("real.bmp")), StreamBytes(image));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"link.bmp", "real.bmp"}));
}

TEST_F(BmpFile, EachSaveReflectsTheLatestDrawing) {
    TBitmap image = WhiteImage(20, 10);
    image.SaveToFile(In("a.bmp"));
    image.SaveToFile(In("b.bmp"));
    image.Canvas().Brush().Color = clBlack;
    image.Canvas().FillRect({5, 5, 6, 6});
    image.SaveToFile(In("c.bmp"));
    const Bytes a = ReadFile(In("a.bmp"));
    const Bytes c = ReadFile(In("c.bmp"));
    EXPECT_EQ(a, ReadFile(In("b.bmp")));
    ASSERT_EQ(c.size(), a.size());
    EXPECT_NE(c, a);
    EXPECT_EQ(PixelBytes(c, 20, 10, 5, 5), (Bytes{0, 0, 0, 0}));
}

TEST_F(BmpFile, EmptyImageWritesAnEmptyFileAndNoImageNoFile) {
    TBitmap empty;
    empty.SetWidth(10);
    empty.SaveToFile(In("empty.bmp"));
    EXPECT_TRUE(fs::exists(In("empty.bmp")));
    EXPECT_EQ(fs::file_size(In("empty.bmp")), 0u);

    TPicture picture;
    picture.SaveToFile(In("none.bmp"));
    EXPECT_FALSE(fs::exists(In("none.bmp")));
    picture.SetBitmap(WhiteImage(2, 2));
    picture.SaveToFile(In("some.bmp"));
    EXPECT_EQ(ReadFile(In("some.bmp")), StreamBytes(WhiteImage(2, 2)));
}

TEST_F(BmpFile, CannotCreateLeavesEverythingAsItWas) {
    const TBitmap image = WhiteImage(4, 4);
    const std::string missing = In("missing/code.bmp");
    EXPECT_EQ(Failure([&] { image.SaveToFile(missing); }),
              "EFCreateError: Cannot create file " + missing);
    EXPECT_FALSE(fs::exists(In("missing")));

    fs::create_directory(In("code.bmp"));
    WriteFile(In("code.bmp/keep"), Bytes{1, 2, 3});
    EXPECT_EQ(Failure([&] { image.SaveToFile(In("code.bmp")); }),
              "EFCreateError: Cannot create file " + In("code.bmp"));
    EXPECT_TRUE(fs::is_directory(In("code.bmp")));
    EXPECT_EQ(ReadFile(In("code.bmp/keep")), (Bytes{1, 2, 3}));
    EXPECT_EQ(Entries(), std::vector<std::string>{"code.bmp"});
}

// Saves with the process's file size limit lowered to bytes, SIGXFSZ ignored, both restored
// before anything else is written.
std::string SaveUnderFileSizeLimit(const TBitmap& image, const std::string& name, rlim_t bytes) {
    rlimit old{};
    if (getrlimit(RLIMIT_FSIZE, &old) != 0) {
        return "getrlimit failed";
    }
    rlimit lowered = old;
    lowered.rlim_cur = bytes;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (setrlimit(RLIMIT_FSIZE, &lowered) != 0) {
        std::signal(SIGXFSZ, oldHandler);
        return "setrlimit failed";
    }
    const std::string failure = Failure([&] { image.SaveToFile(name); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return failure;
}

TEST_F(BmpFile, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    Bytes old(1000);
    for (std::size_t i = 0; i < old.size(); ++i) {
        old[i] = static_cast<std::uint8_t>(i * 7);
    }
    WriteFile(In("code.bmp"), old);
    const TBitmap image = WhiteImage(525, 276);
    EXPECT_EQ(SaveUnderFileSizeLimit(image, In("code.bmp"), 4096),
              "EWriteError: Stream write error");
    EXPECT_EQ(ReadFile(In("code.bmp")), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"code.bmp"});

    EXPECT_EQ(SaveUnderFileSizeLimit(image, In("new.bmp"), 4096),
              "EWriteError: Stream write error");
    EXPECT_EQ(Entries(), std::vector<std::string>{"code.bmp"});

    image.SaveToFile(In("code.bmp"));
    EXPECT_EQ(fs::file_size(In("code.bmp")), 579654u);
}

} // namespace
