#include "Canvas.h"
#include "SymbologyNames.h"

#include "CoreComposed.h"
#include "EngineCases.h"

namespace {

constexpr int CopyTops[] = {5, 125};
constexpr TRect Bands[] = {{15, 95, 185, 107}, {15, 215, 185, 227}};
constexpr TPoint TextOrigins[] = {{20, 94}, {20, 214}};

// The code image as it must come out of a white one: each copy's bars 100 rows tall from x = 5,
// column by column as the pattern says, and with ShowText a white band over their lower end in
// which the human-readable line is drawn as TextRect draws it.
TBitmap Expected(const TCodeImageInputs& inputs) {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    barcode.SetTyp(*FindSymbology(inputs.TypeText));
    barcode.SetText(inputs.Data);
    const std::vector<char> columns = SymbolColumns(barcode.BuildPattern(), {2, 4, 6, 8});
    TBitmap image = WhiteImage(525, 276);
    TCanvas& canvas = image.Canvas();
    for (int copy = 0; copy < (inputs.DualCode ? 2 : 1); ++copy) {
        canvas.Brush().Color = clBlack;
        for (int x = 0; x < static_cast<int>(columns.size()); ++x) {
            if (IsBar(columns[x])) {
                canvas.FillRect({5 + x, CopyTops[copy], 6 + x, CopyTops[copy] + 100});
            }
        }
        canvas.Brush().Color = clWhite;
        if (inputs.ShowText) {
            canvas.TextRect(Bands[copy], TextOrigins[copy].x, TextOrigins[copy].y,
                            HumanReadableLine(inputs.Data));
        }
    }
    return image;
}

struct Composer {
    Composer() {
        ConfigureMainBarcode(Barcode);
        InitCodeImage(Image);
    }
    TBarcode Barcode;
    TBitmap Image;
};

} // namespace

TEST(CodeImage, CopiesAndBandsFollowTheSwitches) {
    for (const TCodeImageInputs& inputs :
         {TCodeImageInputs{}, {.ShowText = false}, {.DualCode = false}}) {
        Composer c;
        ComposeCodeImage(c.Barcode, c.Image, inputs);
        EXPECT_EQ(Art(c.Image), Art(Expected(inputs))) << inputs.ShowText << inputs.DualCode;
    }
}

// Each composition starts from a cleared image: one after another in the same image, long and
// short symbols, one and two copies, with and without text, each gives the pixels and the
// recording of a composition into a new image. A list text that names no symbology keeps the
// last one. The component is left at the second copy's place.
TEST(CodeImage, EachCompositionStartsOver) {
    const TCodeImageInputs sequence[] = {
        {},
        {"Code 39 Extended", "abcdefghijklmnop", true, true},
        {"Code EAN8", "1234567", false, false},
        {"Code 128B", "x", true, false},
        {"Code EAN13", "5", true, true},
        {"Code PostNet", "12345", false, true},
        {"", "7654321", true, true},
    };
    Composer c;
    TCodeImageInputs alone;
    for (const TCodeImageInputs& inputs : sequence) {
        ComposeCodeImage(c.Barcode, c.Image, inputs);
        alone = {inputs.TypeText.empty() ? alone.TypeText : inputs.TypeText, inputs.Data,
                 inputs.ShowText, inputs.DualCode};
        const TBitmap expected = ComposedImage(alone);
        EXPECT_EQ(Art(c.Image), Art(expected)) << inputs.TypeText << " " << inputs.Data;
        ASSERT_NE(c.Image.Recording(), nullptr);
        EXPECT_EQ(*c.Image.Recording(), *expected.Recording())
            << inputs.TypeText << " " << inputs.Data;
    }
    EXPECT_EQ(c.Barcode.Typ(), TBarcodeType::bcCodePostNet);
    EXPECT_EQ(c.Barcode.Top(), 125);
}

// Bars and characters far past the image are painted as ever, clipped (a bar of "y" crosses the
// right edge), and not recorded: a long datum records just what its first 100 characters do,
// which run past the image too.
TEST(CodeImage, WhatLiesPastTheImageIsNotRecorded) {
    const TCodeImageInputs longer{"Code 128B", std::string(5000, 'y')};
    Composer c;
    ComposeCodeImage(c.Barcode, c.Image, longer);
    EXPECT_EQ(Art(c.Image), Art(Expected(longer)));
    ASSERT_NE(c.Image.Recording(), nullptr);
    EXPECT_EQ(*c.Image.Recording(),
              *ComposedImage({"Code 128B", std::string(100, 'y')}).Recording());
}

TEST(CodeImage, FailureLeavesTheClearedImageAndCanvasDefaults) {
    Composer c;
    ComposeCodeImage(c.Barcode, c.Image, {});
    EXPECT_EQ(Raised<Exception>([&] { ComposeCodeImage(c.Barcode, c.Image, {.Data = "12A4"}); }),
              "'A' is not a valid integer value");
    EXPECT_EQ(CountPixels(c.Image, clWhite), 525 * 276);
    EXPECT_EQ(c.Image.Canvas().Brush(), TBrush{});
    EXPECT_EQ(c.Image.Canvas().Pen(), TPen{});
    EXPECT_EQ(c.Image.Canvas().Font(), TFont{});
}

TEST(CodeImage, BarsBoundsAreWhereTheBarsAreDrawn) {
    const std::pair<TCodeImageInputs, TRect> rows[] = {
        {{"Code EAN13", "1234567890128", false, true}, {5, 5, 195, 225}},
        {{"Code EAN8", "1234567", false, false}, {5, 5, 139, 105}},
        {{"Code PostNet", "12345", false, true}, {5, 5, 163, 225}},
        {{"Code 128C", "", false, false}, {5, 5, 75, 105}},
        // 35 characters of 26 pixels less the last gap: far past the right edge.
        {{"Code 39 Extended", "abcdefghijklmnop", false, true}, {5, 5, 913, 225}},
    };
    for (const auto& [inputs, bounds] : rows) {
        Composer c;
        ComposeCodeImage(c.Barcode, c.Image, inputs);
        EXPECT_EQ(ComposedBarsBounds(c.Barcode, inputs), bounds) << inputs.TypeText;
        if (bounds.Right <= 525) {
            EXPECT_EQ(BoundsOf(c.Image, clBlack), bounds) << inputs.TypeText;
        }
    }
}
