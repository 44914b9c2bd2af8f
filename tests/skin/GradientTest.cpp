#include "sGradient.h"
#include "sGraphUtils.h"

#include "Bitmap.h"
#include "Exception.h"
#include "Testing.h"

namespace {

constexpr TColor Gray10 = 0x0A0A0A; // 657930

std::vector<int> Column(const TBitmap& image, int x) {
    std::vector<int> out;
    for (int y = 0; y < image.Height(); ++y) {
        const TColor c = image.Pixel(x, y);
        out.push_back(c == clWhite ? -1 : (c & 0xFF)); // -1: untouched
    }
    return out;
}

TEST(ParseGradientData, FiveWordsABandEmptyWordsSkipped) {
    const struct {
        const char* Data;
        TsGradArray Segments;
        std::string Error;
    } cases[] = {
        {"8421504;16777215;99;0;0;16777215;16777215;0;0;0",
         {{0x808080, 0xFFFFFF, 99, 0, 0}, {0xFFFFFF, 0xFFFFFF, 0, 0, 0}},
         ""},
        {"1;2;3;4", {}, ""},
        {"", {}, ""},
        {";;1;;2;3;4;5;;6", {{1, 2, 3, 4, 0}}, ""},
        {"1;2;300;2;9", {{1, 2, 44, 2, 0}}, ""},
        {"-1; 2;3;4;5", {{-1, 2, 3, 4, 0}}, ""},
        {"1;2;x;4;5;6;7;8;9;10", {{1, 2, 0, 0, 0}, {}}, "'x' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        TsGradArray segments{{7, 7, 7, 7, 7}};
        std::string error;
        try {
            ParseGradientData(c.Data, segments);
        } catch (const EConvertError& e) {
            error = e.what();
        }
        EXPECT_EQ(segments, c.Segments) << c.Data;
        EXPECT_EQ(error, c.Error) << c.Data;
    }
}

TEST(PaintGrad, BandsClippingAndTheLastBandToTheEdge) {
    // One pixel wide, 11 rows: a black-to-0x0A0A0A band over d = 10 rows gives row i the value i.
    const std::vector<int> ramp{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const struct {
        const char* Name;
        TRect Rect;
        TsGradArray Segments;
        std::vector<int> Column;
    } cases[] = {
        {"one band", {0, 0, 1, 11}, {{0, Gray10, 100, 0}}, ramp},
        {"one band of 0 %", {0, 0, 1, 11}, {{0, Gray10, 0, 0}}, ramp},
        {"first band of 0 % skipped",
         {0, 0, 1, 11},
         {{clRed, clRed, 0, 0}, {0, Gray10, 50, 0}},
         ramp},
        // 20 % of 11 rows is 2: rows 0..2 black, then 0..10 over 8 rows, halves to even.
        {"sum under 100",
         {0, 0, 1, 11},
         {{0, 0, 20, 0}, {0, Gray10, 10, 0}},
         {0, 0, 0, 1, 2, 4, 5, 6, 8, 9, 10}},
        {"oversized rectangle", {-5, -5, 100, 100}, {{0, Gray10, 100, 0}}, ramp},
        {"direction 2",
         {0, 0, 1, 11},
         {{0, Gray10, 100, 2}, {0, 0, 0, 0}},
         std::vector<int>(11, -1)},
        {"no bands", {0, 0, 1, 11}, {}, std::vector<int>(11, -1)},
        // A band running past a narrowed rectangle stops at its bottom.
        {"narrowed rectangle",
         {0, 0, 1, 5},
         {{0, Gray10, 100, 0}, {0, 0, 50, 0}},
         {0, 2, 5, 8, 10, -1, -1, -1, -1, -1, -1}},
        {"narrowed from the top",
         {0, 6, 1, 11},
         {{0, Gray10, 100, 0}},
         {-1, -1, -1, -1, -1, -1, 0, 2, 5, 8, 10}},
    };
    for (const auto& c : cases) {
        TBitmap image = WhiteImage(1, 11);
        PaintGrad(image, c.Rect, c.Segments);
        EXPECT_EQ(Column(image, 0), c.Column) << c.Name;
    }
}

TEST(PaintGrad, HorizontalBandsRunLeftToRightOnEveryRow) {
    TBitmap image = WhiteImage(11, 3);
    PaintGrad(image, {0, 1, 11, 3}, {{0, 0, 20, 1}, {0, Gray10, 10, 1}});
    const std::vector<int> expected{0, 0, 0, 1, 2, 4, 5, 6, 8, 9, 10};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 11; ++x) {
            EXPECT_EQ(image.Pixel(x, y), y == 0 ? clWhite : expected[x] * 0x010101) << x << y;
        }
    }
    // Each channel runs on its own: red to blue.
    TBitmap coloured = WhiteImage(3, 1);
    PaintGrad(coloured, {0, 0, 3, 1}, {{clRed, clBlue, 100, 1}});
    EXPECT_EQ(Art(coloured), ArtRows{"r?b"});
}

TEST(Blend, BitmapsByWeightHalvesToEven) {
    const struct {
        int Dest, Source, Weight, Result;
    } cases[] = {
        {200, 100, 128, 150}, {200, 100, 0, 100}, {200, 100, 255, 200},
        {1, 0, 128, 0},       {3, 0, 128, 2},     {0, 255, 204, 52},
    };
    for (const auto& c : cases) {
        TBitmap dest = WhiteImage(2, 1);
        TBitmap source = WhiteImage(2, 1);
        dest.ScanLine(0)[1] = static_cast<std::uint32_t>(c.Dest) << 8;
        source.ScanLine(0)[1] = static_cast<std::uint32_t>(c.Source) << 8;
        BlendBitmap(dest, source, c.Weight);
        EXPECT_EQ(dest.ScanLine(0)[1], static_cast<std::uint32_t>(c.Result) << 8)
            << c.Dest << " " << c.Source << " " << c.Weight;
        EXPECT_EQ(dest.Pixel(0, 0), clWhite);
    }
    TBitmap dest = WhiteImage(2, 2);
    BlendBitmap(dest, WhiteImage(2, 1), 0);
    EXPECT_EQ(CountPixels(dest, clWhite), 4);
}

TEST(Blend, ColourIntoAnInclusiveClampedRectangle) {
    const struct {
        TRect Rect;
        int Value, Transparency, Covered, Result;
    } cases[] = {
        {{0, 0, 3, 1}, 128, 70, 8, 162}, // 161.6
        {{0, 0, 3, 1}, 255, 70, 8, 250}, // 250.5 to the even 250
        {{-1, -1, 9, 9}, 0, 0, 8, 240},  // all colour
        {{1, 0, 1, 0}, 100, 0, 1, 240},  // one pixel, all colour
    };
    for (const auto& c : cases) {
        TBitmap image = WhiteImage(4, 2);
        FillDC(image, {0, 0, 4, 2}, c.Value * 0x010101);
        BlendColor(image, c.Rect, c.Transparency, clBtnFace);
        EXPECT_EQ(CountPixels(image, c.Result * 0x010101), c.Covered) << c.Value;
    }
}

} // namespace
