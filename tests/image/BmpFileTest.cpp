#include "Bitmap.h"
#include "Canvas.h"
#include "Exception.h"
#include "Picture.h"
#include "Stream.h"

#include "ImageFiles.h"
#include "ImageRaised.h"
#include "Pixels.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

Bytes StreamBytes(const TBitmap& image) {
    TMemoryStream stream;
    image.SaveToStream(stream);
    return stream.Data();
}

TEST(BmpStream, CodeImageHeadersAndRows) {
    TBitmap image = WhiteImage(525, 276);
    image.Canvas().Brush().Color = clRed;
    image.Canvas().FillRect({0, 0, 1, 1});
    image.Canvas().Brush().Color = clBlue;
    image.Canvas().FillRect({524, 275, 525, 276});
    const Bytes bmp = StreamBytes(image);
    ASSERT_EQ(bmp.size(), 579654u);
    const Bytes headers{// "BM", file size 579,654, reserved, pixels at 54
                        'B', 'M', 0x46, 0xD8, 0x08, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                        // info header size, 525 × 276 with the bottom row first, one plane
                        40, 0, 0, 0, 0x0D, 0x02, 0, 0, 0x14, 0x01, 0, 0, 1, 0,
                        // 32 bits, no compression, 579,600 pixel bytes, no resolution, no palette
                        32, 0, 0, 0, 0, 0, 0x10, 0xD8, 0x08, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                        0, 0, 0, 0};
    EXPECT_EQ(Bytes(bmp.begin(), bmp.begin() + 54), headers);
    // Blue, green, red, 0: the top-left pixel starts the last row, the bottom-right one ends the
    // first.
    EXPECT_EQ(Bytes(bmp.end() - 525 * 4, bmp.end() - 524 * 4), (Bytes{0, 0, 0xFF, 0}));
    EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.begin() + 58), (Bytes{0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(Bytes(bmp.begin() + 54 + 524 * 4, bmp.begin() + 54 + 525 * 4),
              (Bytes{0xFF, 0, 0, 0}));
}

TEST(BmpStream, AppendsWithTheImagesSizesAndEmptyImagesWriteNothing) {
    TMemoryStream stream;
    stream.WriteBuffer("xy", 2);
    WhiteImage(3, 2).SaveToStream(stream);
    const Bytes& b = stream.Data();
    ASSERT_EQ(b.size(), 2 + 54 + 24u);
    // "xy" kept; file size 78, width 3, height 2, pixel bytes 24.
    EXPECT_EQ((Bytes{b[0], b[1], b[2], b[4], b[20], b[24], b[36]}),
              (Bytes{'x', 'y', 'B', 78, 3, 2, 24}));
    for (const auto& [w, h] : {std::pair{0, 0}, {5, 0}, {0, 5}}) {
        TBitmap empty;
        empty.SetWidth(w);
        empty.SetHeight(h);
        EXPECT_TRUE(StreamBytes(empty).empty()) << w << "x" << h;
    }
}

// Each name that asks for no other format gets the image's latest BMP bytes in place of what it
// held, keeping its mode; a link is written through to its file.
TEST(BmpFile, EveryNameGetsTheLatestBytesReplacingWhatWasThere) {
    const ScratchDir dir;
    TBitmap image = WhiteImage(3, 2);
    image.Canvas().Brush().Color = clBlack;
    int x = 0;
    for (const std::string name : {"code.gif", "code", "code.bmp"}) {
        WriteFile(dir / name, Bytes(100000, 0xAB));
        fs::permissions(dir / name, fs::perms::owner_read | fs::perms::owner_write);
        image.Canvas().FillRect({x, 0, x + 1, 1});
        ++x;
        image.SaveToFile(dir / name);
        EXPECT_EQ(ReadFile(dir / name), StreamBytes(image)) << name;
        EXPECT_EQ(fs::status(dir / name).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write)
            << name;
    }
    fs::create_symlink("code.bmp", dir / "link.bmp");
    image.Canvas().FillRect({0, 1, 1, 2});
    image.SaveToFile(dir / "link.bmp");
    EXPECT_TRUE(fs::is_symlink(dir / "link.bmp"));
    EXPECT_EQ(ReadFile(dir / "code.bmp"), StreamBytes(image));

    // An empty image writes an empty file, a picture without an image no file at all.
    TBitmap empty;
    empty.SetWidth(10);
    empty.SaveToFile(dir / "empty.bmp");
    TPicture picture;
    picture.SaveToFile(dir / "none.bmp");
    picture.SetBitmap(image);
    picture.SaveToFile(dir / "picture.bmp");
    EXPECT_EQ(fs::file_size(dir / "empty.bmp"), 0u);
    EXPECT_EQ(ReadFile(dir / "picture.bmp"), StreamBytes(image));
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{"code", "code.bmp", "code.gif", "empty.bmp", "link.bmp",
                                        "picture.bmp"}));
}

// An image of many colours, recorded for SVG, whose file in every format is larger than 256
// bytes.
TBitmap ImageOfEveryFormat() {
    TBitmap image = WhiteImage(525, 276);
    image.StartRecording();
    for (int i = 0; i < 500; ++i) {
        image.Canvas().Brush().Color = i * 0x10101 * 37 % 0xFFFFFF;
        image.Canvas().FillRect({i % 50 * 10, i / 50 * 10, i % 50 * 10 + 10, i / 50 * 10 + 10});
    }
    return image;
}

const std::string Extensions[] = {".bmp", ".png", ".svg", ".jpg"};

TEST(ImageFiles, CannotCreateLeavesEverythingAsItWas) {
    const ScratchDir dir;
    const TBitmap image = ImageOfEveryFormat();
    for (const std::string& extension : Extensions) {
        const std::string missing = dir / ("missing/code" + extension);
        EXPECT_EQ(Raised<EFCreateError>([&] { image.SaveToFile(missing); }),
                  "Cannot create file " + missing);
        const std::string name = dir / ("code" + extension);
        fs::create_directory(name);
        WriteFile(name + "/keep", Bytes{1, 2, 3});
        EXPECT_EQ(Raised<EFCreateError>([&] { image.SaveToFile(name); }),
                  "Cannot create file " + name);
        EXPECT_EQ(ReadFile(name + "/keep"), (Bytes{1, 2, 3}));
        EXPECT_EQ(Entries(name), std::vector<std::string>{"keep"});
    }
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{"code.bmp", "code.jpg", "code.png", "code.svg"}));
}

// Saves with the process's file size limit lowered to bytes, SIGXFSZ ignored, both restored
// before anything else is written.
std::string SaveUnderFileSizeLimit(const TBitmap& image, const std::string& name, rlim_t bytes) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit lowered = old;
    lowered.rlim_cur = bytes;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const bool limited = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    const std::string failure =
        limited ? Raised<EWriteError>([&] { image.SaveToFile(name); }) : "no limit";
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return failure;
}

TEST(ImageFiles, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const ScratchDir dir;
    const Bytes old(1000, 0x5A);
    const TBitmap image = ImageOfEveryFormat();
    for (const std::string& extension : Extensions) {
        WriteFile(dir / ("code" + extension), old);
        for (const std::string name : {"code", "new"}) {
            EXPECT_EQ(SaveUnderFileSizeLimit(image, dir / (name + extension), 256),
                      "Stream write error")
                << extension;
        }
        EXPECT_EQ(ReadFile(dir / ("code" + extension)), old);
    }
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{"code.bmp", "code.jpg", "code.png", "code.svg"}));
}

} // namespace
