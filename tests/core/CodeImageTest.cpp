#include "CodeImage.h"

#include "Barcode.h"
#include "Bitmap.h"
#include "Canvas.h"
#include "Exception.h"
#include "Pixels.h"
#include "Stream.h"
#include "SymbolColumns.h"

#include <gtest/gtest.h>

namespace {

constexpr TRect FirstBand{15, 95, 185, 107};
constexpr TRect SecondBand{15, 215, 185, 227};

bool Inside(const TRect& r, int x, int y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

struct Composed {
    TBitmap Image;
    std::vector<char> Columns; // the symbol's columns from x = 5
};

Composed Compose(const TCodeImageInputs& inputs) {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    Composed result;
    InitCodeImage(result.Image);
    ComposeCodeImage(barcode, result.Image, inputs);
    result.Columns = SymbolColumns(barcode.BuildPattern(), {2, 4, 6, 8});
    return result;
}

// The colour a pixel outside the text bands must have when copies start at these tops.
TColor Expected(const Composed& c, int x, int y, std::initializer_list<int> tops) {
    for (const int top : tops) {
        const int column = x - 5;
        if (y >= top && y < top + 100 && column >= 0 && column < int(c.Columns.size())) {
            return IsBar(c.Columns[column]) ? clBlack : clWhite;
        }
    }
    return clWhite;
}

int CountWrong(const Composed& c, std::initializer_list<int> tops, bool skipBands) {
    int wrong = 0;
    for (int y = 0; y < c.Image.Height(); ++y) {
        for (int x = 0; x < c.Image.Width(); ++x) {
            if (skipBands && (Inside(FirstBand, x, y) || Inside(SecondBand, x, y))) {
                continue;
            }
            wrong += c.Image.Pixel(x, y) != Expected(c, x, y, tops);
        }
    }
    return wrong;
}

// Text in a band is black on white, without any other shade, and something is written.
void ExpectTextIn(const TBitmap& image, const TRect& band) {
    int black = 0;
    for (int y = band.Top; y < band.Bottom; ++y) {
        for (int x = band.Left; x < band.Right; ++x) {
            const TColor c = image.Pixel(x, y);
            ASSERT_TRUE(c == clBlack || c == clWhite) << x << "," << y;
            black += c == clBlack;
        }
    }
    EXPECT_GT(black, 20);
}

} // namespace

TEST(CodeImage, DefaultsDrawTwoLabelledCopies) {
    const Composed c = Compose({});
    EXPECT_EQ(c.Image.Width(), 525);
    EXPECT_EQ(c.Image.Height(), 276);
    ASSERT_EQ(c.Columns.size(), 190u); // columns 5 to 194
    EXPECT_EQ(CountWrong(c, {5, 125}, true), 0);
    ExpectTextIn(c.Image, FirstBand);
    ExpectTextIn(c.Image, SecondBand);
    // The band is opaque: bars stop above it.
    EXPECT_EQ(c.Image.Pixel(184, 105), clWhite);
    EXPECT_EQ(c.Image.Pixel(15, 106), clWhite);
}

TEST(CodeImage, WithoutTextTheBarsKeepTheirFullHeight) {
    TCodeImageInputs inputs;
    inputs.ShowText = false;
    EXPECT_EQ(CountWrong(Compose(inputs), {5, 125}, false), 0);
}

TEST(CodeImage, SingleCopyLeavesTheLowerPartWhite) {
    TCodeImageInputs inputs;
    inputs.DualCode = false;
    const Composed c = Compose(inputs);
    EXPECT_EQ(CountWrong(c, {5}, true), 0);
    ExpectTextIn(c.Image, FirstBand);
    for (int y = 107; y < 276; ++y) {
        for (int x = 0; x < 525; ++x) {
            ASSERT_EQ(c.Image.Pixel(x, y), clWhite) << x << "," << y;
        }
    }
}

TEST(CodeImage, EveryCompositionStartsFromWhite) {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    TBitmap image;
    InitCodeImage(image);
    TCodeImageInputs inputs;
    ComposeCodeImage(barcode, image, inputs);
    const TBitmap first = image;
    inputs.TypeText = "Code EAN8";
    inputs.Data = "1234567";
    ComposeCodeImage(barcode, image, inputs);
    EXPECT_EQ(barcode.Typ(), TBarcodeType::bcCodeEAN8);
    EXPECT_EQ(barcode.Top(), 125);
    EXPECT_EQ(image.Pixel(140, 50), clWhite); // right of the shorter EAN-8 symbol
    inputs = {};
    ComposeCodeImage(barcode, image, inputs);
    TMemoryStream a;
    TMemoryStream b;
    first.SaveToStream(a);
    image.SaveToStream(b);
    EXPECT_EQ(a.Data(), b.Data());

    // A text that names no symbology keeps the last one.
    inputs.TypeText = "";
    inputs.Data = "7654321";
    barcode.SetTyp(TBarcodeType::bcCodeEAN8);
    ComposeCodeImage(barcode, image, inputs);
    EXPECT_EQ(barcode.Typ(), TBarcodeType::bcCodeEAN8);
}

TEST(CodeImage, FailureLeavesTheClearedImageAndCanvasDefaults) {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    TBitmap image;
    InitCodeImage(image);
    ComposeCodeImage(barcode, image, {});
    TCodeImageInputs bad;
    bad.Data = "12A4";
    try {
        ComposeCodeImage(barcode, image, bad);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "'A' is not a valid integer value");
    }
    for (int y = 0; y < 276; ++y) {
        for (int x = 0; x < 525; ++x) {
            ASSERT_EQ(image.Pixel(x, y), clWhite) << x << "," << y;
        }
    }
    EXPECT_EQ(image.Canvas().Brush(), TBrush{});
    EXPECT_EQ(image.Canvas().Pen(), TPen{});
    EXPECT_EQ(image.Canvas().Font(), TFont{});
}

TEST(CodeImage, BarsBoundsAreWhereTheBarsAreDrawn) {
    struct Row {
        const char* Type;
        const char* Data;
        bool DualCode;
        TRect Bounds;
    };
    const Row rows[] = {
        {"Code EAN13", "1234567890123", true, {5, 5, 195, 225}},
        {"Code EAN8", "1234567", false, {5, 5, 139, 105}},
        {"Code PostNet", "12345", true, {5, 5, 163, 225}},
        {"Code 128C", "", false, {5, 5, 75, 105}},
        // 35 characters of 26 pixels less the last gap: far past the right edge.
        {"Code 39 Extended", "abcdefghijklmnop", true, {5, 5, 913, 225}},
    };
    for (const Row& row : rows) {
        TBarcode barcode;
        ConfigureMainBarcode(barcode);
        TBitmap image;
        InitCodeImage(image);
        const TCodeImageInputs inputs{row.Type, row.Data, false, row.DualCode};
        ComposeCodeImage(barcode, image, inputs);
        const TBarcode after = barcode;
        EXPECT_EQ(ComposedBarsBounds(barcode, inputs), row.Bounds) << row.Type;
        if (row.Bounds.Right <= 525) {
            EXPECT_EQ(BoundsOf(image, clBlack), row.Bounds) << row.Type;
        }
        EXPECT_EQ(barcode.Top(), after.Top());
        EXPECT_EQ(barcode.Text(), after.Text());
    }
}
