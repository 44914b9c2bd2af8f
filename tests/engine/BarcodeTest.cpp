#include "Barcode.h"
#include "Bitmap.h"
#include "Canvas.h"
#include "Exception.h"
#include "Pixels.h"
#include "SymbolColumns.h"

#include <gtest/gtest.h>

namespace {

using enum TBarcodeType;

struct Slots {
    int Modul;
    double Ratio;
    TBarcodeType Typ;
    double RatioAfter;
    std::array<int, 4> Widths;
};

// Every pixel of the image: expected(x, y) gives the colour it must have.
template <typename F> void ExpectPixels(const TBitmap& image, F expected) {
    int wrong = 0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (image.Pixel(x, y) != expected(x, y) && ++wrong <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

// The main window's component with its start-up data, placed at (left, top).
TBarcode StartupEan13At(int left, int top) {
    TBarcode b;
    b.SetHeight(100);
    b.SetModul(2);
    b.SetChecksum(true);
    b.SetText("7803213792");
    b.SetLeft(left);
    b.SetTop(top);
    return b;
}

} // namespace

TEST(Barcode, PropertiesAfterConstruction) {
    const TBarcode b;
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.Text(), "");
    EXPECT_EQ(b.Top(), 0);
    EXPECT_EQ(b.Left(), 0);
    EXPECT_EQ(b.Modul(), 1);
    EXPECT_EQ(b.Ratio(), 2.0);
    EXPECT_EQ(b.Typ(), bcCodeEAN13);
    EXPECT_FALSE(b.Checksum());
    EXPECT_FALSE(b.ShowText());
    EXPECT_EQ(b.Angle(), 0.0);
}

TEST(Barcode, ModulKeepsOnlyOneToFortyNine) {
    TBarcode b;
    for (const int refused : {0, 50, -3}) {
        b.SetModul(7);
        b.SetModul(refused);
        EXPECT_EQ(b.Modul(), 7) << refused;
    }
    b.SetModul(1);
    EXPECT_EQ(b.Modul(), 1);
    b.SetModul(49);
    EXPECT_EQ(b.Modul(), 49);
}

TEST(Barcode, RatioClampAndWidthSlots) {
    const Slots rows[] = {
        {2, 2.0, bcCodeEAN13, 2.0, {2, 4, 6, 8}},
        {1, 1.5, bcCodeEAN13, 2.0, {1, 2, 3, 4}},
        {1, 1.5, bcCode128B, 1.5, {1, 2, 3, 4}}, // 1.5 rounds to the even 2
        {1, 2.5, bcCode39, 2.5, {1, 2, 3, 4}},   // 2.5 rounds to the even 2
        {3, 2.5, bcCode39, 2.5, {3, 8, 12, 16}}, // 7.5 rounds to the even 8
        {4, 2.0, bcCode_2_5_matrix, 2.25, {4, 9, 13, 18}},
        {1, 3.5, bcCode_2_5_matrix, 3.0, {1, 3, 4, 6}},
        {1, 3.0, bcCodeCodabar, 3.0, {1, 3, 4, 6}},
        {1, 9.0, bcCodeMSI, 9.0, {1, 9, 13, 18}},
        // Wide slots are plain integers: no wrap above 127 pixels.
        {49, 3.0, bcCodeEAN8, 3.0, {49, 147, 220, 294}},
        {32, 2.0, bcCode93, 2.0, {32, 64, 96, 128}},
    };
    for (const Slots& row : rows) {
        TBarcode b;
        b.SetModul(row.Modul);
        b.SetRatio(row.Ratio);
        b.SetTyp(row.Typ);
        b.ComputeElementWidths();
        EXPECT_EQ(b.Ratio(), row.RatioAfter) << b.TypeCaption() << " " << row.Ratio;
        for (int slot = 0; slot < 4; ++slot) {
            EXPECT_EQ(b.ElementWidth(slot), row.Widths[slot])
                << b.TypeCaption() << " modul " << row.Modul << " slot " << slot;
        }
    }
}

TEST(Barcode, MatrixRatioStaysForLaterSymbologies) {
    TBarcode b;
    b.SetTyp(bcCode_2_5_matrix);
    b.ComputeElementWidths();
    EXPECT_EQ(b.Ratio(), 2.25);
    b.SetTyp(bcCode128B);
    const int expectedWide[] = {2, 4, 7}; // 2.25, 4.5 (to the even 4), 6.75
    for (int modul = 1; modul <= 3; ++modul) {
        b.SetModul(modul);
        b.ComputeElementWidths();
        EXPECT_EQ(b.Ratio(), 2.25);
        EXPECT_EQ(b.ElementWidth(1), expectedWide[modul - 1]) << modul;
    }
}

TEST(Barcode, WidthDigitsBecomePatterns) {
    EXPECT_EQ(TBarcode::WidthsToPattern("211412"), "605351");
    EXPECT_EQ(TBarcode::WidthsToPattern("2331112"), "6270506");
    EXPECT_EQ(TBarcode::WidthsToPattern("1234"), "5173");
    EXPECT_EQ(TBarcode::WidthsToPattern(""), "");
}

TEST(Barcode, Captions) {
    const char* captions[] = {"2_5_interleaved",
                              "2_5_industrial",
                              "2_5_matrix",
                              "Code39",
                              "Code39 Extended",
                              "Code128A",
                              "Code128B",
                              "Code128C",
                              "Code93",
                              "Code93 Extended",
                              "MSI",
                              "PostNet",
                              "Codebar",
                              "EAN8",
                              "EAN13"};
    TBarcode b;
    for (int ordinal = 0; ordinal < BarcodeTypeCount; ++ordinal) {
        b.SetTyp(static_cast<TBarcodeType>(ordinal));
        EXPECT_EQ(b.TypeCaption(), captions[ordinal]);
    }
}

TEST(Barcode, PointsTurnAboutTheOriginCorner) {
    TBarcode b;
    b.SetLeft(5);
    b.SetTop(7);
    EXPECT_EQ(b.PlacePoint(0, 0), (TPoint{5, 7}));
    EXPECT_EQ(b.PlacePoint(10, 20), (TPoint{15, 27}));
    EXPECT_EQ(b.PlacePoint(2.5, 0.5), (TPoint{7, 7})); // halves go to the even neighbour
    EXPECT_EQ(b.PlacePoint(3.5, 1.5), (TPoint{9, 9}));
    b.SetAngle(90);
    EXPECT_EQ(b.PlacePoint(0, 20), (TPoint{25, 7}));
    EXPECT_EQ(b.PlacePoint(10, 20), (TPoint{25, -3}));
    EXPECT_EQ(b.PlacePoint(10, 0), (TPoint{5, -3}));
    b.SetAngle(30);                                    // cos 0.866, sin 0.5
    EXPECT_EQ(b.PlacePoint(10, 0), (TPoint{14, 2}));   // 8.66, -5
    EXPECT_EQ(b.PlacePoint(0, 20), (TPoint{15, 24}));  // 10, 17.32
    EXPECT_EQ(b.PlacePoint(10, 20), (TPoint{24, 19})); // 18.66, 12.32
}

TEST(Barcode, DefaultEan13CoversItsSlotsExactly) {
    TBarcode b = StartupEan13At(5, 5);
    TBitmap image = WhiteImage(525, 276);
    b.Render(image.Canvas());
    const std::string pattern = b.BuildPattern();
    const std::vector<char> columns = SymbolColumns(pattern, {2, 4, 6, 8});
    EXPECT_EQ(pattern.size(), 59u);
    ASSERT_EQ(columns.size(), 190u); // 95 modules of 2 pixels: columns 5 to 194
    ExpectPixels(image, [&](int x, int y) {
        const bool inSymbol = x >= 5 && x < 195 && y >= 5 && y < 105;
        return inSymbol && IsBar(columns[x - 5]) ? clBlack : clWhite;
    });
}

TEST(Barcode, TurnedAndShortElements) {
    TBitmap image = WhiteImage(100, 100);
    TBarcode b;
    b.SetModul(2);
    b.SetHeight(20);
    b.SetLeft(50);
    b.SetTop(50);
    b.SetAngle(90);
    b.ComputeElementWidths();
    image.Canvas().FillRect({0, 0, 100, 100});
    b.PaintElements("5", image.Canvas());
    // At 90 degrees a bar lies on its side above the origin, reaching Height to the right.
    ExpectPixels(image, [](int x, int y) {
        return x >= 50 && x < 70 && y >= 48 && y < 50 ? clBlack : clWhite;
    });

    // Short bars are 2/5 of the height, from the same top edge as full bars.
    b.SetAngle(0);
    b.SetHeight(7);
    image.Canvas().Brush().Color = clWhite;
    image.Canvas().FillRect({0, 0, 100, 100});
    b.PaintElements("A05", image.Canvas());
    ExpectPixels(image, [](int x, int y) {
        const bool shortBar = x >= 50 && x < 52 && y >= 50 && y < 52;
        const bool fullBar = x >= 54 && x < 56 && y >= 50 && y < 57;
        return shortBar || fullBar ? clBlack : clWhite;
    });
    b.SetHeight(100);
    image.Canvas().Brush().Color = clWhite;
    image.Canvas().FillRect({0, 0, 100, 100});
    b.PaintElements("A", image.Canvas());
    ExpectPixels(image, [](int x, int y) {
        return x >= 50 && x < 52 && y >= 50 && y < 90 ? clBlack : clWhite;
    });
}

TEST(Barcode, TurnedThirtyDegreesFillsTheQuadrilateral) {
    TBitmap image = WhiteImage(60, 60);
    TBarcode b;
    b.SetModul(10);
    b.SetHeight(20);
    b.SetLeft(20);
    b.SetTop(20);
    b.SetAngle(30);
    b.ComputeElementWidths();
    b.PaintElements("5", image.Canvas());
    // Corners (20,20), (30,37), (39,32), (29,15): the centre is inside, points beyond are not.
    EXPECT_EQ(image.Pixel(29, 26), clBlack);
    EXPECT_EQ(image.Pixel(21, 21), clBlack);
    EXPECT_EQ(image.Pixel(19, 20), clWhite);
    EXPECT_EQ(image.Pixel(29, 13), clWhite);
    EXPECT_EQ(image.Pixel(40, 32), clWhite);
    EXPECT_EQ(image.Pixel(30, 38), clWhite);
    EXPECT_EQ(image.Pixel(21, 16), clWhite); // above the upper-left edge
}

TEST(Barcode, BadPatternCharacterStopsPainting) {
    TBitmap image = WhiteImage(20, 10);
    TBarcode b;
    b.SetHeight(10);
    b.ComputeElementWidths();
    try {
        b.PaintElements("5945", image.Canvas());
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "TBarcode: internal Error");
    }
    ExpectPixels(image, [](int x, int) { return x == 0 ? clBlack : clWhite; });
}

TEST(Barcode, RenderPutsCanvasAttributesBack) {
    TBitmap image = WhiteImage(300, 150);
    TCanvas& canvas = image.Canvas();
    canvas.Brush().Color = clRed;
    canvas.Pen() = {clLime, 3, TPenStyle::psSolid};
    canvas.Font().Size = 12;
    const TBrush brush = canvas.Brush();
    const TPen pen = canvas.Pen();
    const TFont font = canvas.Font();

    TBarcode b;
    b.SetHeight(50);
    b.SetChecksum(true);
    b.SetShowText(true);
    b.SetText("123");
    b.Render(canvas);
    EXPECT_EQ(canvas.Brush(), brush);
    EXPECT_EQ(canvas.Pen(), pen);
    EXPECT_EQ(canvas.Font(), font);

    // A failing render paints nothing and still leaves the attributes as they were.
    const TBitmap before = image;
    b.SetChecksum(false);
    EXPECT_THROW(b.Render(canvas), Exception);
    b.SetTyp(static_cast<TBarcodeType>(BarcodeTypeCount));
    try {
        b.Render(canvas);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "TBarcode: wrong BarcodeType");
    }
    EXPECT_EQ(canvas.Brush(), brush);
    EXPECT_EQ(canvas.Pen(), pen);
    ExpectPixels(image, [&](int x, int y) { return before.Pixel(x, y); });
}

TEST(Barcode, CaptionIsPaintedOverTheTopLeftCorner) {
    TBarcode b = StartupEan13At(5, 5);
    TBitmap plain = WhiteImage(200, 120);
    b.Render(plain.Canvas());
    TBitmap captioned = WhiteImage(200, 120);
    b.SetShowText(true);
    b.Render(captioned.Canvas());

    // Two text cells on a white ground at (5, 5) and (5, 19) cover the first bars; below them
    // the symbol is unchanged.
    TCanvas probe(captioned);
    probe.Font().Size = 4;
    const int textBottom = 19 + probe.TextHeight();
    int whitened = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (captioned.Pixel(x, y) != plain.Pixel(x, y)) {
                EXPECT_TRUE(x >= 5 && y >= 5 && y < textBottom) << x << "," << y;
                whitened += captioned.Pixel(x, y) == clWhite;
            }
        }
    }
    EXPECT_GT(whitened, 0);
}
