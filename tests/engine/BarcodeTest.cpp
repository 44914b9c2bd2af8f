#include "Canvas.h"
#include "EngineCases.h"

using enum TBarcodeType;

namespace {

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

} // namespace

// Rows run in order on one component; a Ratio of 0 keeps what the rows before left.
TEST(Barcode, RatioClampAndWidthSlots) {
    using TSlots = std::tuple<int, double, TBarcodeType, double, std::array<int, 4>>;
    const TSlots rows[] = {
        // Modul, Ratio, Typ, Ratio after rendering, the four slot widths.
        {2, 2.0, bcCodeEAN13, 2.0, {2, 4, 6, 8}},
        {1, 1.5, bcCodeEAN13, 2.0, {1, 2, 3, 4}},
        {1, 1.5, bcCode128B, 1.5, {1, 2, 3, 4}}, // 1.5 rounds to the even 2
        {1, 2.5, bcCode39, 2.5, {1, 2, 3, 4}},   // 2.5 rounds to the even 2
        {3, 2.5, bcCode39, 2.5, {3, 8, 12, 16}}, // 7.5 rounds to the even 8
        {4, 2.0, bcCode_2_5_matrix, 2.25, {4, 9, 13, 18}},
        // The raised ratio stays for later symbologies: 2.25, 4.5 (to the even 4), 6.75.
        {1, 0, bcCode128B, 2.25, {1, 2, 3, 4}},
        {2, 0, bcCode128B, 2.25, {2, 4, 6, 8}},
        {3, 0, bcCode128B, 2.25, {3, 7, 10, 14}},
        {1, 3.5, bcCode_2_5_matrix, 3.0, {1, 3, 4, 6}},
        {1, 3.0, bcCodeCodabar, 3.0, {1, 3, 4, 6}},
        {1, 9.0, bcCodeMSI, 9.0, {1, 9, 13, 18}},
        // Wide slots are plain integers: no wrap above 127 pixels.
        {49, 3.0, bcCodeEAN8, 3.0, {49, 147, 220, 294}},
        {32, 2.0, bcCode93, 2.0, {32, 64, 96, 128}}};
    TBarcode b;
    for (const auto& [modul, ratio, typ, ratioAfter, widths] : rows) {
        b.SetModul(modul);
        b.SetRatio(ratio > 0 ? ratio : b.Ratio());
        b.SetTyp(typ);
        b.ComputeElementWidths();
        const std::array<int, 4> slots{b.ElementWidth(0), b.ElementWidth(1), b.ElementWidth(2),
                                       b.ElementWidth(3)};
        EXPECT_EQ(std::pair(b.Ratio(), slots), std::pair(ratioAfter, widths))
            << b.TypeCaption() << " modul " << modul;
    }
}

TEST(Barcode, PointsTurnAboutTheOriginCorner) {
    // Angle, the point in the symbol's frame, where it lands with the origin corner at (5, 7).
    // Halves go to the even neighbour. At 30 degrees (cos 0.866, sin 0.5) the three points land
    // at (8.66, -5), (10, 17.32) and (18.66, 12.32) from the origin.
    const std::tuple<double, double, double, int, int> rows[] = {
        {0, 0, 0, 5, 7},     {0, 10, 20, 15, 27},  {0, 2.5, 0.5, 7, 7}, {0, 3.5, 1.5, 9, 9},
        {90, 0, 20, 25, 7},  {90, 10, 20, 25, -3}, {90, 10, 0, 5, -3},  {30, 10, 0, 14, 2},
        {30, 0, 20, 15, 24}, {30, 10, 20, 24, 19}};
    TBarcode b;
    b.SetLeft(5);
    b.SetTop(7);
    for (const auto& [angle, x, y, left, top] : rows) {
        b.SetAngle(angle);
        const TPoint placed = b.PlacePoint(x, y);
        EXPECT_EQ(placed, (TPoint{left, top})) << angle << ": " << placed.x << "," << placed.y;
    }
}

TEST(Barcode, ElementsTurnedShortAndCutShortByABadCharacter) {
    const std::tuple<double, int, std::string_view, std::vector<TRect>, std::string> cases[] = {
        // Angle, Height, pattern at Modul 2, the black rectangles (all else white), the error.
        // At 90 degrees a bar lies on its side above the origin, reaching Height to the right.
        {90, 20, "5", {{50, 48, 70, 50}}, "none"},
        // Short bars are 2/5 of the height, from the same top edge as full bars.
        {0, 7, "A05", {{50, 50, 52, 52}, {54, 50, 56, 57}}, "none"},
        {0, 100, "A", {{50, 50, 52, 90}}, "none"},
        // The elements before a character outside the alphabet stay painted.
        {0, 10, "5945", {{50, 50, 52, 60}}, "TBarcode: internal Error"}};
    for (const auto& [angle, height, pattern, black, error] : cases) {
        TBitmap image = WhiteImage(100, 100);
        TBarcode b;
        b.SetModul(2);
        b.SetHeight(height);
        b.SetLeft(50);
        b.SetTop(50);
        b.SetAngle(angle);
        b.ComputeElementWidths();
        EXPECT_EQ(Raised<Exception>([&] { b.PaintElements(pattern, image.Canvas()); }), error);
        ExpectPixels(image, [&](int x, int y) {
            bool bar = false;
            for (const TRect& r : black) {
                bar = bar || (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom);
            }
            return bar ? clBlack : clWhite;
        });
    }
}

// Elements wholly outside the image are passed over at any angle: a small image holds exactly
// the pixels of the same symbol painted whole into a large one, where none is outside, whether
// the image cuts the symbol across its bars or along them.
TEST(Barcode, ElementsOutsideTheImageArePassedOverAtAnyAngle) {
    const auto painted = [](double angle, int size, TPoint origin) {
        TBitmap image = WhiteImage(size, size);
        TBarcode b;
        b.SetTyp(bcCode128B);
        b.SetText("Quillmark");
        b.SetHeight(50);
        b.SetLeft(origin.x);
        b.SetTop(origin.y);
        b.SetAngle(angle);
        b.ComputeElementWidths();
        b.PaintElements(b.BuildPattern(), image.Canvas());
        return image;
    };
    // The symbol is 134 pixels long and 50 high: the large image holds it whole.
    constexpr int Small = 40;
    constexpr int Offset = 200;
    for (const double angle : {0.0, 30.0, 90.0, 135.0, 200.0, 300.0}) {
        for (const TPoint origin : {TPoint{20, 20}, TPoint{-25, 10}, TPoint{30, 55}}) {
            SCOPED_TRACE(std::to_string(angle) + " at " + std::to_string(origin.x) + "," +
                         std::to_string(origin.y));
            const TBitmap small = painted(angle, Small, origin);
            const TBitmap large =
                painted(angle, 2 * Offset + Small, {Offset + origin.x, Offset + origin.y});
            ExpectPixels(small, [&](int x, int y) { return large.Pixel(Offset + x, Offset + y); });
        }
    }
}

// The start-up symbol of the main window covers its slots exactly. The caption's two text cells
// on a white ground at (5, 5) and (5, 19) cover the first bars, below them the symbol is
// unchanged. Every render, a failing one too, gives the caller's font, pen and brush back, and a
// failing one paints nothing.
TEST(Barcode, StartupEan13ItsCaptionAndTheCanvasAttributes) {
    TBarcode b;
    b.SetHeight(100);
    b.SetModul(2);
    b.SetChecksum(true);
    b.SetText("7803213792");
    b.SetLeft(5);
    b.SetTop(5);
    TBitmap plain = WhiteImage(525, 276);
    b.Render(plain.Canvas());
    const std::vector<char> columns = SymbolColumns(b.BuildPattern(), {2, 4, 6, 8});
    ASSERT_EQ(columns.size(), 190u); // 95 modules of 2 pixels: columns 5 to 194
    ExpectPixels(plain, [&](int x, int y) {
        const bool inSymbol = x >= 5 && x < 195 && y >= 5 && y < 105;
        return inSymbol && IsBar(columns[x - 5]) ? clBlack : clWhite;
    });

    TBitmap captioned = WhiteImage(525, 276);
    TCanvas& canvas = captioned.Canvas();
    canvas.Brush().Color = clRed;
    canvas.Pen() = {clLime, 3, TPenStyle::psSolid};
    canvas.Font().Size = 12;
    const auto attributes = [&] { return std::tuple(canvas.Brush(), canvas.Pen(), canvas.Font()); };
    const auto before = attributes();
    b.SetShowText(true);
    b.Render(canvas);
    EXPECT_EQ(attributes(), before);
    TCanvas probe(captioned);
    probe.Font().Size = 4;
    const int textBottom = 19 + probe.TextHeight();
    ExpectPixels(captioned, [&](int x, int y) {
        return x >= 5 && y >= 5 && y < textBottom ? captioned.Pixel(x, y) : plain.Pixel(x, y);
    });
    EXPECT_GT(CountPixels(captioned, clWhite), CountPixels(plain, clWhite));

    const TBitmap rendered = captioned;
    b.SetTyp(static_cast<TBarcodeType>(BarcodeTypeCount));
    EXPECT_THROW(b.Render(canvas), Exception);
    EXPECT_EQ(attributes(), before);
    ExpectPixels(captioned, [&](int x, int y) { return rendered.Pixel(x, y); });
}
