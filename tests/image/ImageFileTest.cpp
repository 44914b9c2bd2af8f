#include "ImageFile.h"
#include "Canvas.h"
#include "Exception.h"
#include "PngFile.h"
#include "PrintDrawing.h"
#include "ScalableFont.h"

#include "Testing.h"

#include <cstdio>
#include <jpeglib.h>
#include <png.h>

namespace {

// What a reader sees in a raster file: the pixels (0x00RRGGBB, top row first) and the
// horizontal resolution as the header states it with its unit: 1 per metre in PNG, per inch in
// JPEG (BMP states per metre by its format).
struct Decoded {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    unsigned Resolution = 0;
    bool Subsampled = false;
    int Unit = 1;
};

std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t{b[at + 3]} << 24;
}

std::uint32_t Be32(const Bytes& b, std::size_t at) {
    return std::uint32_t{b[at]} << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

Decoded ReadBmp(const Bytes& b) {
    Decoded d{int(Le32(b, 18)), int(Le32(b, 22)), {}, Le32(b, 38)};
    for (int y = d.Height - 1; y >= 0; --y) {
        for (int x = 0; x < d.Width; ++x) {
            d.Pixels.push_back(Le32(b, 54 + 4 * (std::size_t(y) * d.Width + x)));
        }
    }
    return d;
}

Decoded ReadPng(const Bytes& b) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, b.data(), b.size());
    image.format = PNG_FORMAT_BGRA;
    Decoded d{int(image.width), int(image.height),
              std::vector<std::uint32_t>(image.width * image.height)};
    png_image_finish_read(&image, nullptr, d.Pixels.data(), 0, nullptr);
    for (std::uint32_t& p : d.Pixels) {
        p &= 0xFFFFFF;
    }
    const std::size_t pHYs = std::string(b.begin(), b.end()).find("pHYs") + 4;
    d.Resolution = Be32(b, pHYs);
    d.Unit = b[pHYs + 8];
    return d;
}

Decoded ReadJpeg(const Bytes& b) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, b.data(), b.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    Decoded d{int(cinfo.output_width), int(cinfo.output_height), {}, cinfo.X_density};
    d.Unit = cinfo.density_unit;
    for (int c = 0; c < cinfo.num_components; ++c) {
        d.Subsampled |= cinfo.comp_info[c].h_samp_factor != cinfo.max_h_samp_factor ||
                        cinfo.comp_info[c].v_samp_factor != cinfo.max_v_samp_factor;
    }
    std::vector<JSAMPLE> row(std::size_t(d.Width) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPLE* rows[] = {row.data()};
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (int x = 0; x < d.Width; ++x) {
            d.Pixels.push_back(row[3 * x] << 16 | row[3 * x + 1] << 8 | row[3 * x + 2]);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return d;
}

int Distance(std::uint32_t a, std::uint32_t b) {
    int most = 0;
    for (int shift : {0, 8, 16}) {
        most = std::max(most, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    }
    return most;
}

// An 11 × 3 image, so that a 1-bit row ends in a part of a byte.
TBitmap Drawn(TColor first, TColor second) {
    TBitmap image = WhiteImage(11, 3);
    image.Canvas().Brush().Color = first;
    image.Canvas().FillRect({0, 0, 3, 1});
    image.Canvas().Brush().Color = second;
    image.Canvas().FillRect({5, 1, 11, 3});
    return image;
}

// Bars from top to bottom, so that most rows repeat the row above: a line across the fourth
// row, which the rows below it no longer repeat, and a pixel of the colour last in the last row.
TBitmap Barred(TColor last) {
    TBitmap image = WhiteImage(11, 8);
    image.Canvas().Brush().Color = clBlack;
    for (const TRect bar : {TRect{0, 0, 2, 8}, TRect{4, 0, 5, 8}, TRect{8, 0, 10, 8}}) {
        image.Canvas().FillRect(bar);
    }
    image.Canvas().FillRect({2, 3, 7, 4});
    image.Canvas().Brush().Color = last;
    image.Canvas().FillRect({6, 7, 7, 8});
    return image;
}

TEST(ImageFile, TheNamesExtensionChoosesTheFormat) {
    using enum TImageFormat;
    const std::pair<std::string, TImageFormat> rows[] = {
        {"a.png", Png},
        {"A.PNG", Png},
        {"a.Svg", Svg},
        {"a.jpg", Jpeg},
        {"a.JPEG", Jpeg},
        {"a.bmp", Bmp},
        {"a", Bmp},
        {"a.gif", Bmp},
        {"a.png.txt", Bmp},
        {"d.png/a", Bmp},
        {".x/a.svg", Svg},
        {"a.jpg ", Bmp},
        // The code image is never written as PDF or EPS.
        {"a.pdf", Bmp},
        {"a.EPS", Bmp},
    };
    for (const auto& [name, format] : rows) {
        EXPECT_EQ(FormatOfName(name), format) << name;
    }
}

// Every pixel becomes scale × scale pixels, exactly but in JPEG, whose colours stay close; the
// resolution stated is --dpi's, or 96, or none in a BMP. Two colours make a 1-bit PNG.
TEST(ImageFile, RasterFilesHoldThePixelsRepeatedAndTheResolution) {
    const ScratchDir dir;
    const TBitmap twoColour = Drawn(clBlack, clBlack);
    const TBitmap coloured = Drawn(clRed, 0x996633);
    const TBitmap barred = Barred(clBlack);
    const TBitmap barredColour = Barred(0x996633);
    using enum TImageFormat;
    const struct {
        const TBitmap& Image;
        TImageFormat Format;
        int Scale;
        std::optional<int> Dpi;
        unsigned Resolution;
        int Tolerance;
        std::pair<int, int> PngDepthAndType;
    } rows[] = {
        {twoColour, Bmp, 1, {}, 0, 0, {}},
        {coloured, Bmp, 3, 300, 11811, 0, {}},
        {twoColour, Png, 1, {}, 3780, 0, {1, PNG_COLOR_TYPE_GRAY}},
        {twoColour, Png, 3, 600, 23622, 0, {1, PNG_COLOR_TYPE_GRAY}},
        {coloured, Png, 2, 1, 39, 0, {8, PNG_COLOR_TYPE_RGB}},
        {barred, Png, 1, {}, 3780, 0, {1, PNG_COLOR_TYPE_GRAY}},
        {barredColour, Png, 2, {}, 3780, 0, {8, PNG_COLOR_TYPE_RGB}},
        {twoColour, Jpeg, 3, {}, 96, 3, {}},
        {coloured, Jpeg, 1, 65535, 65535, 3, {}},
    };
    for (const auto& row : rows) {
        const std::string name = dir / "image";
        row.Image.SaveToFile(name, {row.Format, row.Scale, row.Dpi});
        const Bytes bytes = ReadFile(name);
        const Decoded d = row.Format == Bmp   ? ReadBmp(bytes)
                          : row.Format == Png ? ReadPng(bytes)
                                              : ReadJpeg(bytes);
        SCOPED_TRACE(testing::Message() << FormatExtension(row.Format) << " x" << row.Scale);
        ASSERT_EQ(std::pair(d.Width, d.Height),
                  std::pair(11 * row.Scale, row.Image.Height() * row.Scale));
        EXPECT_EQ(d.Resolution, row.Resolution);
        EXPECT_EQ(d.Unit, 1);
        EXPECT_FALSE(d.Subsampled);
        int worst = 0;
        for (int y = 0; y < d.Height; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                worst = std::max(worst, Distance(d.Pixels[std::size_t(y) * d.Width + x],
                                                 row.Image.ScanLine(y / row.Scale)[x / row.Scale]));
            }
        }
        EXPECT_LE(worst, row.Tolerance);
        if (row.Format == Png) {
            EXPECT_EQ((std::pair<int, int>(bytes[24], bytes[25])), row.PngDepthAndType);
        }
    }
    const std::string name = dir / "x.png";
    EXPECT_EQ(Raised<Exception>([&] {
                  twoColour.SaveToFile(name, {std::nullopt, 21, std::nullopt});
              }),
              "Cannot write " + name + ": scale 21 or resolution 96 out of range");
    // An image without pixels writes an empty file in every format.
    for (const std::string format : {"png", "svg", "jpg"}) {
        TBitmap().SaveToFile(name, {FormatNamed(format), 1, std::nullopt});
        EXPECT_EQ(ReadFile(name), Bytes{}) << format;
    }
}

// A print drawing's PNG holds its raster (RasterisePrintDrawing) pixel for pixel, in one bit a
// pixel, and states its resolution per metre: bars of a band of equal rows, a glyph across them.
TEST(ImageFile, PrintPngHoldsTheDrawingsRaster) {
    TPrintDrawing drawing{0.1, 13, 9, {{1, 1, 2, 6}, {4, 0, 1, 7}, {6, 2, 3, 1}}, {}};
    drawing.Texts.push_back({&TScalableFont::For(TFont{}), 6, 7, U"x", {8}});
    const Bytes png = EncodePrintPng(drawing, 254);
    TBitmap raster;
    RasterisePrintDrawing(drawing, raster);
    const Decoded d = ReadPng(png);
    ASSERT_EQ(std::pair(d.Width, d.Height), std::pair(13, 9));
    EXPECT_EQ((std::pair<int, int>(png[24], png[25])), std::pair(1, PNG_COLOR_TYPE_GRAY));
    EXPECT_EQ(std::pair(d.Resolution, d.Unit), std::pair(10000u, 1));
    for (int y = 0; y < d.Height; ++y) {
        for (int x = 0; x < d.Width; ++x) {
            EXPECT_EQ(d.Pixels[std::size_t(y) * d.Width + x], raster.ScanLine(y)[x])
                << x << "," << y;
        }
    }
    EXPECT_GT(CountPixels(raster, clBlack), 2 * 6 + 7 + 3);
}

// Rectangles and polygons as the raster filled them, the text per character where the raster
// put its glyphs (DejaVu Sans at 11 pixels: ascent 11, "1" 7 pixels on, "<" 9, the first glyph
// partly left of the image), characters XML cannot hold as spaces; the size is that of the pixels
// at the resolution, times the scale, a hair short so that a renderer makes it those pixels.
TEST(ImageFile, SvgIsTheRecordedDrawing) {
    const ScratchDir dir;
    TBitmap image = WhiteImage(20, 10);
    image.Canvas().Brush().Color = clRed;
    image.Canvas().FillRect({0, 0, 20, 10});
    image.StartRecording();
    TCanvas& canvas = image.Canvas();
    canvas.Brush().Color = clWhite;
    canvas.FillRect({0, 0, 20, 10});
    canvas.Pen().Style = TPenStyle::psClear;
    canvas.Brush().Color = clBlack;
    const TPoint bar[] = {{2, 1}, {2, 9}, {4, 9}, {4, 1}};
    canvas.Polygon(bar);
    const TPoint turned[] = {{6, 1}, {10, 2}, {9, 6}};
    canvas.Polygon(turned);
    canvas.Brush().Color = 0x336699;
    canvas.Font().Color = clBlue;
    canvas.TextRect({1, 2, 19, 8}, -4, 1, "1<\x01&");
    canvas.FillRect({5, 5, 5, 9});
    image.SaveToFile(dir / "x.svg", {std::nullopt, 2, 254});
    const Bytes svg = ReadFile(dir / "x.svg");
    EXPECT_EQ(std::string(svg.begin(), svg.end()),
              R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="3.999895mm" height="1.999898mm" viewBox="0 0 20 10">
<rect x="0" y="0" width="20" height="10" fill="#ffffff"/>
<rect x="2" y="1" width="2" height="8" fill="#000000"/>
<polygon points="6,1 10,2 9,6" fill="#000000" fill-rule="evenodd"/>
<rect x="1" y="2" width="18" height="6" fill="#996633"/>
<clipPath id="clip0"><rect x="1" y="2" width="18" height="6"/></clipPath>
<text clip-path="url(#clip0)" y="12" font-family="DejaVu Sans" font-size="11" fill="#0000ff" xml:space="preserve"><tspan x="-4">1</tspan><tspan x="3">&lt;</tspan><tspan x="12"> </tspan><tspan x="19">&amp;</tspan></text>
</svg>
)svg");
}

// An image that never recorded, or whose recording an operation ended that shapes cannot
// describe, writes no SVG.
TEST(ImageFile, SvgNeedsARecordingThatFollowedEveryOperation) {
    const ScratchDir dir;
    const TPoint triangle[] = {{0, 0}, {4, 0}, {0, 4}};
    TRect rect{0, 0, 8, 8};
    const std::function<void(TBitmap&)> rows[] = {
        [](TBitmap& image) { image.StopRecording(); },
        [](TBitmap& image) { image.SetWidth(9); },
        [&](TBitmap& image) { image.Canvas().Polygon(triangle); },
        [&](TBitmap& image) { image.Canvas().DrawText("a", rect, 0); },
        [&](TBitmap& image) { image.Canvas().DrawFocusRect(rect); },
        [&](TBitmap& image) {
            image.Canvas().CopyRect(rect, image.Canvas(), {0, 0, 1, 1});
        },
        [](TBitmap& image) {
            image.Canvas().Font().Style = fsUnderline;
            image.Canvas().TextOut(0, 0, "a");
        },
    };
    const std::string name = dir / "x.svg";
    for (const auto& end : rows) {
        TBitmap image = WhiteImage(8, 8);
        image.StartRecording();
        end(image);
        EXPECT_EQ(Raised<Exception>([&] { image.SaveToFile(name); }),
                  "Cannot write " + name + " as SVG: the image holds no recorded drawing");
    }
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{});
}

} // namespace
