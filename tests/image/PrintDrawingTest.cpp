#include "PrintDrawing.h"
#include "Canvas.h"
#include "ImageFile.h"
#include "ScalableFont.h"
#include "SvgFile.h"
#include "VectorFile.h"

#include "Testing.h"

#include <charconv>
#include <regex>

namespace {

TScalableFont& Sans() {
    return TScalableFont::For(TFont{});
}

// 10 × 5 mm: a bar and "1<" on a baseline at 4 mm, 2 mm high.
TPrintDrawing Label() {
    TPrintDrawing drawing{1, 10, 5, {{1, 0, 0.5, 3}}, {}};
    drawing.Texts.push_back({&Sans(), 2, 4, U"1<", {2, 3.25}});
    return drawing;
}

std::string Text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// The numbers a pattern's groups capture.
std::vector<double> Numbers(const std::string& text, const std::string& pattern) {
    std::smatch match;
    std::vector<double> numbers;
    if (std::regex_search(text, match, std::regex(pattern))) {
        for (std::size_t i = 1; i < match.size(); ++i) {
            numbers.push_back(std::stod(match[i]));
        }
    }
    return numbers;
}

} // namespace

// The SVG of a print drawing: one user unit a millimetre, the page grown to whole pixels at the
// resolution (10 mm at 300 dpi is 118.1 pixels: 119), the rectangles and glyphs where they are.
TEST(PrintDrawing, SvgInMillimetres) {
    EXPECT_EQ(PrintDrawingSvg(Label(), 300),
              R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="10.075238mm" height="5.07991mm" viewBox="0 0 10.075238 5.07991">
<rect x="0" y="0" width="10.075238" height="5.07991" fill="#ffffff"/>
<rect x="1" y="0" width="0.5" height="3" fill="#000000"/>
<text y="4" font-family="DejaVu Sans" font-size="2" fill="#000000" xml:space="preserve"><tspan x="2">1</tspan><tspan x="3.25">&lt;</tspan></text>
</svg>
)svg");
}

// Whatever the size and resolution, a renderer working out pixels from the stated millimetres,
// by either order of its arithmetic and in single precision too, comes to a hair under the whole
// number of pixels, so that rounding up or to the nearest gives that number: 276 rows, not 277.
TEST(PrintDrawing, SvgSizesComeBackAsWholePixels) {
    TBitmap image = WhiteImage(1, 1);
    image.StartRecording();
    image.Canvas().FillRect({0, 0, 1, 1});
    for (const int dpi : {1, 72, 96, 203, 254, 300, 600, 1200, 65535}) {
        for (const int pixels : {1, 99, 276, 525, 2209, 10500}) {
            const std::string svg = SvgDocument(*image.Recording(), pixels, 1, 1, dpi);
            const double mm = Numbers(svg, R"(width="([0-9.]+)mm")").at(0);
            const auto single = static_cast<double>(static_cast<float>(mm));
            for (const double back : {mm / 25.4 * dpi, mm * dpi / 25.4, single / 25.4 * dpi}) {
                EXPECT_LT(back, pixels) << pixels << " at " << dpi;
                EXPECT_GT(back, pixels - 0.05) << pixels << " at " << dpi;
            }
        }
    }
}

// The PDF page and the EPS bounding box are the drawing, in points; the glyphs go in as a font
// of their own holding only them, mapped back to their characters.
TEST(PrintDrawing, PdfAndEpsPagesAreTheDrawing) {
    const std::string pdf = Text(EncodeVector(Label(), TVectorFormat::Pdf));
    EXPECT_TRUE(pdf.starts_with("%PDF-")) << pdf.substr(0, 20);
    const std::vector<double> page = Numbers(pdf, R"(/MediaBox \[ 0 0 ([0-9.]+) ([0-9.]+) \])");
    ASSERT_EQ(page.size(), 2u);
    EXPECT_NEAR(page[0], 10 * 72 / 25.4, 1e-5);
    EXPECT_NEAR(page[1], 5 * 72 / 25.4, 1e-5);
    EXPECT_NE(pdf.find("/Subtype /Type3"), std::string::npos);
    EXPECT_NE(pdf.find("/ToUnicode"), std::string::npos);
    EXPECT_EQ(Numbers(pdf, R"(/FirstChar ([0-9]+)\s*/LastChar ([0-9]+))"),
              (std::vector<double>{0, 1}));

    const std::string eps = Text(EncodeVector(Label(), TVectorFormat::Eps));
    EXPECT_TRUE(eps.starts_with("%!PS-Adobe-3.0 EPSF-3.0")) << eps.substr(0, 30);
    EXPECT_EQ(Numbers(eps, R"(%%BoundingBox: ([0-9]+) ([0-9]+) ([0-9]+) ([0-9]+))"),
              (std::vector<double>{0, 0, 29, 15}));
    const std::vector<double> exact =
        Numbers(eps, R"(%%HiResBoundingBox: ([0-9.]+) ([0-9.]+) ([0-9.]+) ([0-9.]+))");
    ASSERT_EQ(exact.size(), 4u);
    EXPECT_NEAR(exact[2], 10 * 72 / 25.4, 1e-5);
    EXPECT_NEAR(exact[3], 5 * 72 / 25.4, 1e-5);
}

// A raster has one pixel a unit: rectangles from their rounded edges, glyphs in two colours at
// their rounded origins.
TEST(PrintDrawing, RasterRoundsToWholePixels) {
    TPrintDrawing drawing{0.1, 7.5, 3.2, {{1.4, 0.6, 2.2, 1.0}, {5.4, 0, 1.2, 3}}, {}};
    TBitmap image;
    RasterisePrintDrawing(drawing, image);
    EXPECT_EQ(Art(image), (ArtRows{
                              ".....##.",
                              ".###.##.",
                              ".....##.",
                              "........",
                          }));
    // Drawn again into the same image, over a black brush: the same.
    RasterisePrintDrawing(drawing, image);
    EXPECT_EQ(CountPixels(image, clBlack), 9);

    TPrintDrawing text{1, 30, 30, {}, {{&Sans(), 20, 20.4, U"H", {4.6}}}};
    RasterisePrintDrawing(text, image);
    const TGlyph& h = Sans().Glyph(U'H', 20);
    EXPECT_EQ(BoundsOf(image, clBlack),
              (TRect{5 + h.Left, 20 - h.Top, 5 + h.Left + h.Width, 20 - h.Top + h.Rows}));
    EXPECT_EQ(CountPixels(image, clBlack),
              std::count(h.Mask.begin(), h.Mask.end(), std::uint8_t{255}));
}
