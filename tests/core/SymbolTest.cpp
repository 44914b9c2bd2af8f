#include "Symbol.h"
#include "Bitmap.h"
#include "Exception.h"
#include "ScalableFont.h"

#include "Testing.h"

#include <cmath>
#include <span>

namespace {

using enum TBarcodeType;

TBarcode Barcode(TBarcodeType typ, const std::string& data) {
    TBarcode barcode;
    barcode.SetTyp(typ);
    barcode.SetText(data);
    barcode.SetChecksum(true);
    return barcode;
}

TSymbol Compose(TBarcodeType typ, const std::string& data, TSymbolOptions options = {},
                std::optional<int> dpi = {}) {
    return ComposeSymbol(Barcode(typ, data), options, dpi);
}

// The extent of the bars: the first one's left edge, the last one's right edge.
std::pair<double, double> BarsExtent(const TPrintDrawing& drawing) {
    return {drawing.Rects.front().X, drawing.Rects.back().X + drawing.Rects.back().Width};
}

// Where a glyph's advance is centred.
double Centre(const TPrintText& text, std::size_t i) {
    return text.X[i] + text.Font->Advance(text.Chars[i]) * text.Size / 2;
}

std::string Printed(const TPrintDrawing& drawing) {
    std::string line;
    for (const TPrintText& text : drawing.Texts) {
        for (const char32_t ch : text.Chars) {
            line += static_cast<char>(ch);
        }
    }
    return line;
}

constexpr double Near = 1e-9;

// The topmost row with a black pixel in the columns from left up to right; the image's height
// where there is none.
int TopmostBlack(const TBitmap& image, int left, int right) {
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = left; x < right; ++x) {
            if (image.Pixel(x, y) == clBlack) {
                return y;
            }
        }
    }
    return image.Height();
}

} // namespace

// At an X-dimension of 1 mm a millimetre is a module: each symbology's quiet zones, its bars'
// height and its line, as its standard asks.
TEST(Symbol, GeometryInModules) {
    const double ean13 = 22.85 / 0.33;
    const double text = 2.75 / 0.33;
    const struct {
        TBarcodeType Typ;
        std::string Data;
        double Left; // quiet zones
        double Right;
        double Bars; // their width
        double Height;
        std::string Line;
    } rows[] = {
        {bcCodeEAN13, "590123412345", 11, 7, 95, ean13, "5901234123457"},
        {bcCodeEAN8, "1234567", 7, 7, 67, 18.23 / 0.33, "12345670"},
        {bcCodeUPCA, "03600029145", 9, 9, 95, ean13, "036000291452"},
        {bcCodeUPCE, "0123456", 9, 7, 51, ean13, "01234565"},
        // 15 % of the width with the quiet zones, 6.35 mm at the least.
        {bcCode128B, "Hello", 10, 10, 90, 16.5, "Hello"},
        {bcCode128C, "12345", 10, 10, 68, 13.2, "012345"},
        {bcCode39, "AB", 10, 10, 64, 12.6, "AB"},
        {bcCode_2_5_interleaved, "1234", 10, 10, 36, 8.4, "1234"},
        // The stop's last element is a space: the quiet zone begins after it.
        {bcCode_2_5_industrial, "1", 10, 11, 27, 7.2, "1"},
        {bcCodeMSI, "1234", 10, 10, 67, 13.05, "12344"},
        {bcCodeCodabar, "A1B", 10, 10, 31, 7.65, "A1B"},
        {bcCode93, "A", 10, 10, 46, 9.9, "A"},
        // A control character takes a space's room in the line.
        {bcCode93Extended, "a\tb", 10, 10, 91, 16.65, "a b"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(BarcodeTypeCaption(row.Typ));
        const TPrintDrawing d = Compose(row.Typ, row.Data, {.XDim = 1}).Drawing;
        const auto [left, right] = BarsExtent(d);
        EXPECT_NEAR(left, row.Left, Near);
        EXPECT_NEAR(right - left, row.Bars, Near);
        EXPECT_NEAR(d.Width - right, row.Right, Near);
        // EAN's guards are longer than its other bars.
        const auto shortest = std::ranges::min(d.Rects, {}, &TPrintRect::Height);
        EXPECT_NEAR(shortest.Y, 0, Near);
        EXPECT_NEAR(shortest.Height, row.Height, 1e-6);
        EXPECT_EQ(Printed(d), row.Line);
        // The line's digits are 2.75 mm high at 0.33 mm, a module below the bars; the symbol ends
        // where its lowest glyph does.
        const TPrintText& line = *std::ranges::max_element(d.Texts, {}, &TPrintText::Size);
        const double digit = line.Font->Ink(U'0').Top * line.Size;
        EXPECT_NEAR(digit, text, 1e-6);
        EXPECT_NEAR(line.Baseline, row.Height + 1 + digit, 1e-6);
        double bottom = 0;
        for (const TPrintText& glyphs : d.Texts) {
            for (const char32_t ch : glyphs.Chars) {
                bottom =
                    std::max(bottom, glyphs.Baseline + glyphs.Font->Ink(ch).Bottom * glyphs.Size);
            }
        }
        EXPECT_NEAR(d.Height, bottom, 1e-9);
        if (SymbolRules(row.Typ).Text != TSymbolText::Centred) {
            continue;
        }
        // Centred under the bars.
        const std::size_t last = line.Chars.size() - 1;
        EXPECT_NEAR((line.X[0] + line.X[last] + line.Font->Advance(line.Chars[last]) * line.Size) /
                        2,
                    left + row.Bars / 2, 1e-6);
    }
}

// EAN: the first digit of EAN-13 in the left quiet zone, the others each under its seven
// modules, and the guards five modules longer than the other bars.
TEST(Symbol, EanDigitsAndGuards) {
    const TPrintDrawing d13 = Compose(bcCodeEAN13, "590123412345", {.XDim = 1}).Drawing;
    ASSERT_EQ(d13.Texts.size(), 13u);
    EXPECT_NEAR(Centre(d13.Texts[0], 0), 11 - 4.5, 1e-9);
    for (std::size_t i = 1; i < 13; ++i) {
        const double module = i <= 6 ? 11 + 3 + 7 * (i - 1) : 11 + 50 + 7 * (i - 7);
        EXPECT_NEAR(Centre(d13.Texts[i], 0), module + 3.5, 1e-9) << i;
    }
    const TPrintDrawing d8 = Compose(bcCodeEAN8, "1234567", {.XDim = 1}).Drawing;
    ASSERT_EQ(d8.Texts.size(), 8u);
    EXPECT_NEAR(Centre(d8.Texts[4], 0), 7 + 36 + 3.5, 1e-9);
    const double bars = 22.85 / 0.33;
    // Guard bars: the first two, the two of the centre, the last two.
    std::vector<double> heights;
    for (const TPrintRect& r : d13.Rects) {
        heights.push_back(std::round(r.Height - bars));
    }
    std::vector<double> guards(heights.size(), 0);
    for (const std::size_t i : {0, 1, 14, 15, 28, 29}) {
        guards[i] = 5;
    }
    EXPECT_EQ(heights, guards);
    // Without the line every bar is as high as the others.
    const TPrintDrawing bare =
        Compose(bcCodeEAN13, "590123412345", {.XDim = 1, .ShowText = false}).Drawing;
    EXPECT_TRUE(bare.Texts.empty());
    EXPECT_NEAR(bare.Rects[0].Height, bars, 1e-9);
    EXPECT_NEAR(bare.Height, bars, 1e-9);
}

// UPC: the number system and check digits outside the guards, a module clear of them, three
// quarters of the others' height on their baseline; the others each under its seven modules.
// UPC-A's first and last characters' bars reach down with its guards; UPC-E has no centre guard.
TEST(Symbol, UpcDigitsAndGuards) {
    const struct {
        TBarcodeType Typ;
        std::string Data;
        double Modules;
        std::vector<double> Centres;     // of the digits under the bars, from the first bar
        std::vector<std::size_t> Guards; // the bars that reach down
    } rows[] = {
        {bcCodeUPCA,
         "03600029145",
         95,
         {13.5, 20.5, 27.5, 34.5, 41.5, 53.5, 60.5, 67.5, 74.5, 81.5},
         {0, 1, 2, 3, 14, 15, 26, 27, 28, 29}},
        {bcCodeUPCE, "0123456", 51, {6.5, 13.5, 20.5, 27.5, 34.5, 41.5}, {0, 1, 14, 15, 16}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(BarcodeTypeCaption(row.Typ));
        const TPrintDrawing d = Compose(row.Typ, row.Data, {.XDim = 1}).Drawing;
        const double first = 9;
        ASSERT_EQ(d.Texts.size(), row.Centres.size() + 2);
        const TPrintText& system = d.Texts.front();
        const TPrintText& check = d.Texts.back();
        const TPrintText& under = d.Texts[1];
        for (const TPrintText* outside : {&system, &check}) {
            EXPECT_NEAR(outside->Size, under.Size * 0.75, 1e-9);
            EXPECT_EQ(outside->Baseline, under.Baseline);
        }
        EXPECT_NEAR(system.X[0] + system.Font->Advance(system.Chars[0]) * system.Size, first - 1,
                    1e-9);
        EXPECT_NEAR(check.X[0], first + row.Modules + 1, 1e-9);
        // Within the right quiet zone.
        EXPECT_LT(check.X[0] + check.Font->Advance(check.Chars[0]) * check.Size, d.Width);
        for (std::size_t i = 0; i < row.Centres.size(); ++i) {
            EXPECT_NEAR(Centre(d.Texts[i + 1], 0), first + row.Centres[i], 1e-9) << i;
        }
        std::vector<std::size_t> guards;
        for (std::size_t i = 0; i < d.Rects.size(); ++i) {
            if (std::round(d.Rects[i].Height - 22.85 / 0.33) == 5) {
                guards.push_back(i);
            }
        }
        EXPECT_EQ(guards, row.Guards);
    }
}

// An add-on 9 modules right of the main symbol's last bar: its digits over their seven modules
// after its start of 4, as high as the main symbol's, their tops at its bars' tops; its bars a
// module below them, reaching down as far as the guards; 6 modules of quiet zone after it, white
// in a raster too. Without the line its bars are as high as the others.
TEST(Symbol, AddOnRightOfTheMainSymbol) {
    const double ean13 = 22.85 / 0.33;
    const struct {
        TBarcodeType Typ;
        std::string Data;
        double Left; // the add-on's first bar
        double Bars; // the main symbol's
        std::string Line;
    } rows[] = {
        {bcCodeEAN13, "9780201379624+51299", 11 + 95 + 9, ean13, "978020137962451299"},
        {bcCodeEAN8, "1234567+12", 7 + 67 + 9, 18.23 / 0.33, "1234567012"},
        {bcCodeUPCA, "01234567890+12", 9 + 95 + 9, ean13, "01234567890512"},
        {bcCodeUPCE, "0123456+12345", 9 + 51 + 9, ean13, "0123456512345"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Data);
        const TPrintDrawing d = Compose(row.Typ, row.Data, {.XDim = 1}).Drawing;
        EXPECT_EQ(Printed(d), row.Line);
        const std::size_t digits = row.Data.size() - row.Data.find('+') - 1;
        // The start's two bars, two for each digit and one for each separator.
        const std::span addOn = std::span(d.Rects).last(3 * digits + 1);
        const std::span texts = std::span(d.Texts).last(digits);
        double rise = 0;
        for (const TPrintText& text : texts) {
            rise = std::max(rise, text.Font->Ink(text.Chars[0]).Top * text.Size);
        }
        EXPECT_NEAR(addOn.front().X, row.Left, Near);
        const double right = row.Left + (digits == 2 ? 20 : 47);
        EXPECT_NEAR(addOn.back().X + addOn.back().Width, right, Near);
        EXPECT_NEAR(d.Width, right + 6, Near);
        for (const TPrintRect& r : addOn) {
            EXPECT_NEAR(r.Y, rise + 1, Near);
            EXPECT_NEAR(r.Y + r.Height, row.Bars + 5, 1e-6);
        }
        for (std::size_t k = 0; k < digits; ++k) {
            EXPECT_EQ(texts[k].Size, d.Texts[1].Size);
            EXPECT_NEAR(texts[k].Baseline, rise, Near);
            EXPECT_NEAR(Centre(texts[k], 0), row.Left + 4 + 9 * k + 3.5, Near) << k;
        }
        const TPrintDrawing bare =
            Compose(row.Typ, row.Data, {.XDim = 1, .ShowText = false}).Drawing;
        EXPECT_EQ(bare.Rects.back().Y, 0);
        EXPECT_NEAR(bare.Rects.back().Height, row.Bars, 1e-6);
        // 4 dots a module at 300 dpi: the digits' tops, 33.3 dots above their baseline, on the
        // drawing still.
        const TPrintDrawing dots = Compose(row.Typ, row.Data, {}, 300).Drawing;
        for (const TPrintText& text : std::span(dots.Texts).last(digits)) {
            EXPECT_GE(text.Baseline - text.Font->Ink(text.Chars[0]).Top * text.Size, 0);
        }
        TBitmap image;
        RasterisePrintDrawing(dots, image);
        const int last = static_cast<int>(dots.Rects.back().X + dots.Rects.back().Width);
        EXPECT_EQ(image.Width() - last, 6 * 4);
        EXPECT_EQ(TopmostBlack(image, last, image.Width()), image.Height());
    }
}

// PostNet: bars of 0.508 mm at 22 an inch, full bars 3.175 mm and short ones two fifths of it,
// clear zones in millimetres on all four sides, and no line under the bars.
TEST(Symbol, PostNetByThePostalRules) {
    const TPrintDrawing d = Compose(bcCodePostNet, "12").Drawing;
    EXPECT_TRUE(d.Texts.empty());
    EXPECT_NEAR(d.Rects[0].X, 3.175, Near);
    EXPECT_NEAR(d.Rects[0].Y, 1.016, Near);
    EXPECT_NEAR(d.Rects[0].Width, 0.508, Near);
    EXPECT_NEAR(d.Rects[1].X - d.Rects[0].X, 25.4 / 22, Near);
    EXPECT_NEAR(d.Rects[0].Height, 3.175, Near);
    // "1" is 00011: three short bars first.
    EXPECT_NEAR(d.Rects[1].Height, 3.175 * 0.4, Near);
    EXPECT_EQ(d.Rects.size(), 12u);
    EXPECT_NEAR(d.Width, 2 * 3.175 + 11 * 25.4 / 22 + 0.508, Near);
    EXPECT_NEAR(d.Height, 2 * 1.016 + 3.175, Near);
}

// A raster's module is the whole number of dots nearest to the X-dimension, never 0; the file
// says so where that differs from what was asked for by more than 5 %.
TEST(Symbol, RasterModulesAreWholeDots) {
    const struct {
        double XDim;
        int Dpi;
        int Dots;
        std::string Note;
    } rows[] = {
        {0.33, 96, 1, "the X-dimension drawn is 0.265 mm (1 dot at 96 dpi), not 0.33 mm"},
        {0.33, 203, 3, "the X-dimension drawn is 0.375 mm (3 dots at 203 dpi), not 0.33 mm"},
        {0.33, 300, 4, ""},
        // 4 dots at 300 dpi are 0.339 mm: 3.2 % from 0.35 mm, 5.9 % from 0.36 mm.
        {0.35, 300, 4, ""},
        {0.36, 300, 4, "the X-dimension drawn is 0.339 mm (4 dots at 300 dpi), not 0.36 mm"},
        {0.33, 600, 8, ""},
        {0.25, 203, 2, ""},
        {0.19, 96, 1, "the X-dimension drawn is 0.265 mm (1 dot at 96 dpi), not 0.19 mm"},
        {0.05, 1, 1, "the X-dimension drawn is 25.4 mm (1 dot at 1 dpi), not 0.05 mm"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.XDim) + " mm at " + std::to_string(row.Dpi));
        const TSymbolOptions options{.XDim = row.XDim};
        const TSymbol symbol = Compose(bcCodeEAN13, "590123412345", options, row.Dpi);
        EXPECT_NEAR(symbol.XDim, row.Dots * 25.4 / row.Dpi, 1e-9);
        // The first bar after eleven modules of quiet zone, one module wide.
        EXPECT_EQ(symbol.Drawing.Rects[0].X, 11 * row.Dots);
        EXPECT_EQ(symbol.Drawing.Rects[0].Width, row.Dots);
        EXPECT_EQ(symbol.Drawing.Width, 113 * row.Dots);
        EXPECT_EQ(
            XDimNote(bcCodeEAN13, options, SymbolRasterDpi(TImageFormat::Png, {.Dpi = row.Dpi})),
            row.Note);
        EXPECT_EQ(
            XDimNote(bcCodeEAN13, options, SymbolRasterDpi(TImageFormat::Pdf, {.Dpi = row.Dpi})),
            "");
        TBitmap image;
        RasterisePrintDrawing(symbol.Drawing, image);
        EXPECT_EQ(image.Pixel(11 * row.Dots - 1, 0), clWhite);
        EXPECT_EQ(image.Pixel(11 * row.Dots, 0), clBlack);
        EXPECT_EQ(image.Pixel(12 * row.Dots - 1, 0), clBlack);
        EXPECT_EQ(image.Pixel(12 * row.Dots, 0), clWhite);
    }
}

// Every symbology with long data (PostNet at its longest), in a raster: nothing but white in the
// quiet zones, EAN-13's first digit under the bars' height aside; a line too long for the bars is
// made smaller.
TEST(Symbol, QuietZonesStayWhite) {
    const std::string digits(80, '7');
    const std::pair<TBarcodeType, std::string> rows[] = {
        {bcCodeEAN13, "590123412345"},
        {bcCodeEAN8, "1234567"},
        {bcCodeUPCA, "03600029145"},
        {bcCodeUPCE, "0123456"},
        {bcCode128C, digits},
        {bcCode128B, std::string(80, 'W')},
        {bcCode39, std::string(80, 'M')},
        {bcCode93Extended, std::string(80, 'm')},
        {bcCode_2_5_interleaved, digits},
        {bcCode_2_5_matrix, digits},
        {bcCodeMSI, digits},
        {bcCodeCodabar, digits},
        {bcCodePostNet, digits.substr(0, 12)},
    };
    for (const auto& [typ, data] : rows) {
        SCOPED_TRACE(BarcodeTypeCaption(typ));
        const TSymbol symbol = Compose(typ, data, {}, 300);
        TBitmap image;
        RasterisePrintDrawing(symbol.Drawing, image);
        const auto [left, right] = BarsExtent(symbol.Drawing);
        const TPrintRect shortest = std::ranges::min(symbol.Drawing.Rects, {}, &TPrintRect::Height);
        const int barsBottom = static_cast<int>(shortest.Y + shortest.Height);
        TRect ink = BoundsOf(image, clBlack);
        // Only EAN-13's first digit is left of the bars, and UPC's first and last digits left and
        // right of them, below them.
        const TSymbolText text = SymbolRules(typ).Text;
        const bool upc = text == TSymbolText::UpcA || text == TSymbolText::UpcE;
        if (text == TSymbolText::Ean13 || upc) {
            EXPECT_GE(TopmostBlack(image, 0, static_cast<int>(left)), barsBottom);
        } else {
            EXPECT_EQ(ink.Left, left);
        }
        if (upc) {
            EXPECT_GE(TopmostBlack(image, static_cast<int>(right), image.Width()), barsBottom);
        } else {
            EXPECT_EQ(ink.Right, right);
        }
        EXPECT_EQ(image.Width(), static_cast<int>(std::ceil(symbol.Drawing.Width)));
        EXPECT_EQ(image.Height(), static_cast<int>(std::ceil(symbol.Drawing.Height)));
    }
}

// The wide elements: by default the engine's ratio of 2, raised to the least the standard
// allows at the X-dimension, and in a raster never narrower than that least on whole dots.
TEST(Symbol, WideElementsKeepTheirLeastRatio) {
    const struct {
        TBarcodeType Typ;
        TSymbolOptions Options;
        std::optional<int> Dpi;
        double Wide;
    } rows[] = {
        {bcCode39, {}, {}, 0.33 * 2.2},
        {bcCode39, {.XDim = 0.5}, {}, 0.5 * 2},
        {bcCodeCodabar, {}, {}, 0.33 * 2.25},
        {bcCode_2_5_interleaved, {}, {}, 0.33 * 2.2},
        {bcCode_2_5_industrial, {}, {}, 0.33 * 2},
        {bcCode_2_5_matrix, {.XDim = 1}, {}, 2.25},
        // One dot at 96 dpi: 2.2 dots would round to 2, below the least; 3 it is.
        {bcCode39, {}, 96, 3},
        // 0.33 mm at 600 dpi is 8 dots: 2.5 times them, 20.
        {bcCode39, {.Ratio = 2.5}, 600, 20},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(BarcodeTypeCaption(row.Typ));
        const TPrintDrawing d = Compose(row.Typ, "1", row.Options, row.Dpi).Drawing;
        // "1" has wide bars in every one of them; none is wider but matrix's guards.
        EXPECT_TRUE(std::ranges::any_of(
            d.Rects, [&](const TPrintRect& r) { return std::abs(r.Width - row.Wide) < 1e-9; }));
        EXPECT_TRUE(std::ranges::all_of(d.Rects, [&](const TPrintRect& r) {
            return r.Width < row.Wide + 1e-9 || row.Typ == bcCode_2_5_matrix;
        }));
    }
}

// What the symbology and the resolution refuse, at the edges of each range.
TEST(Symbol, OptionsRefusedAtTheirLimits) {
    const struct {
        TBarcodeType Typ;
        TSymbolOptions Options;
        std::optional<int> Dpi;
        std::string Refusal;
    } rows[] = {
        {bcCodeEAN13, {.XDim = 0.05}, {}, ""},
        {bcCodeEAN13, {.XDim = 0.049}, {}, "the X-dimension is from 0.05 to 10 mm, not 0.049"},
        {bcCodeEAN13, {.XDim = 10}, {}, ""},
        {bcCodeEAN13, {.XDim = 10.001}, {}, "the X-dimension is from 0.05 to 10 mm, not 10.001"},
        {bcCodeEAN13, {.Height = 1}, {}, ""},
        {bcCodeEAN13, {.Height = 0.999}, {}, "the bar height is from 1 to 1000 mm, not 0.999"},
        {bcCodeEAN13, {.Height = 1000.5}, {}, "the bar height is from 1 to 1000 mm, not 1000.5"},
        // From 2 at 0.5 mm and above, from 2.2 (Codabar 2.25) below.
        {bcCode39, {.XDim = 0.5, .Ratio = 2}, {}, ""},
        {bcCode39,
         {.XDim = 0.5, .Ratio = 1.99},
         {},
         "the wide-to-narrow ratio of Code39 is from 2 to 3, not 1.99"},
        {bcCode39, {.XDim = 0.49, .Ratio = 2.2}, {}, ""},
        {bcCode39,
         {.XDim = 0.49, .Ratio = 2.19},
         {},
         "the wide-to-narrow ratio of Code39 is from 2.2 to 3 at an X-dimension under 0.5 mm, not "
         "2.19"},
        {bcCode39, {.Ratio = 3}, {}, ""},
        {bcCodeCodabar,
         {.Ratio = 2.24},
         {},
         "the wide-to-narrow ratio of Codebar is from 2.25 to 3 at an X-dimension under 0.5 mm, "
         "not 2.24"},
        {bcCodeCodabar,
         {.XDim = 1, .Ratio = 3.01},
         {},
         "the wide-to-narrow ratio of Codebar is from 2 to 3, not 3.01"},
        {bcCode_2_5_matrix,
         {.Ratio = 2.24},
         {},
         "the wide-to-narrow ratio of 2_5_matrix is from 2.25 to 3, not 2.24"},
        {bcCode128B,
         {.Ratio = 2},
         {},
         "Code128B has no wide-to-narrow ratio: its elements are whole modules"},
        {bcCodePostNet, {.Ratio = 1.5}, {}, ""},
        {bcCodePostNet,
         {.Ratio = 1.51},
         {},
         "the bars of PostNet are 1.058 to 1.27 mm apart (20 to 24 an inch), not 1.275 "
         "(X-dimension 0.508 mm, ratio 1.51)"},
        {bcCodePostNet, {.XDim = 0.381, .Ratio = 2}, {}, ""},
        {bcCodePostNet,
         {.XDim = 1.3},
         {},
         "the bars of PostNet are 1.058 to 1.27 mm apart (20 to 24 an inch), not 1.155 "
         "(X-dimension 1.3 mm, ratio -0.112)"},
        {bcCodeEAN13, {.Reduction = 0.329}, {}, ""},
        {bcCodeEAN13,
         {.Reduction = 0.33},
         {},
         "the bar-width reduction is from 0 to less than the X-dimension (0.33 mm), not 0.33"},
        {bcCodeEAN13,
         {.Reduction = -0.01},
         {},
         "the bar-width reduction is from 0 to less than the X-dimension (0.33 mm), not -0.01"},
        // 1 dot at 96 dpi: a reduction of half a dot or more leaves none.
        {bcCodeEAN13, {.Reduction = 0.13}, 96, ""},
        {bcCodeEAN13,
         {.Reduction = 0.14},
         96,
         "a bar-width reduction of 0.14 mm leaves nothing of the narrow bars at 96 dpi"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SymbolOptionsRefusal(Barcode(row.Typ, ""), row.Options, row.Dpi), row.Refusal);
    }
    EXPECT_EQ(Raised<Exception>([] { Compose(bcCode128B, "x", {.Ratio = 2.5}); }),
              "Cannot draw the symbol: Code128B has no wide-to-narrow ratio: its elements are "
              "whole modules");
    // The data is refused first, as Generate refuses it.
    EXPECT_EQ(Raised<Exception>([] { Compose(bcCode39, "a", {.Ratio = 9}); }),
              "TBarcode:Code39 bad Data <a>: character 1 \"a\" is not in Code 39; Code 39 "
              "Extended encodes it");
    EXPECT_EQ(Raised<Exception>(
                  [] { Compose(bcCode39Extended, std::string(80, 'x'), {.XDim = 1}, 600); }),
              "The symbol needs 51,312 x 7,921 dots at 600 dpi, more than a raster file holds "
              "(64,000,000); write it as PDF, EPS or SVG, or at a lower resolution");
}

// Each symbology draws data up to its maximum: the standard's, or one at which its widest
// characters still make a raster at the default sizes. A character more is refused before the
// options are looked at; EAN's fixed lengths are the barcode's own to refuse.
TEST(Symbol, DataUpToItsMaximum) {
    const auto beyond = [](const char* name, int most) {
        return "Cannot draw the symbol: the data of " + std::string(name) + " is at most " +
               std::to_string(most) + " characters, not " + std::to_string(most + 1);
    };
    const struct {
        TBarcodeType Typ;
        char Widest;
        int Most;
        std::string Refusal;
    } rows[] = {
        {bcCode_2_5_interleaved, '0', 330, beyond("2_5_interleaved", 330)},
        {bcCode_2_5_industrial, '0', 200, beyond("2_5_industrial", 200)},
        {bcCode_2_5_matrix, '0', 290, beyond("2_5_matrix", 290)},
        {bcCode39, 'Q', 170, beyond("Code39", 170)},
        {bcCode39Extended, 'j', 80, beyond("Code39 Extended", 80)},
        {bcCode128A, 'Q', 220, beyond("Code128A", 220)},
        {bcCode128B, 'j', 220, beyond("Code128B", 220)},
        {bcCode128C, '0', 450, beyond("Code128C", 450)},
        {bcCode93, 'Q', 270, beyond("Code93", 270)},
        {bcCode93Extended, 'j', 130, beyond("Code93 Extended", 130)},
        {bcCodeMSI, '0', 200, beyond("MSI", 200)},
        {bcCodePostNet, '0', 12, beyond("PostNet", 12)},
        {bcCodeCodabar, '+', 210, beyond("Codebar", 210)},
        {bcCodeEAN8, '0', 8, "TBarcode:EAN8 bad Data <000000000>: more than 8 digits"},
        {bcCodeEAN13, '0', 13, "TBarcode:EAN13 bad Data <00000000000000>: more than 13 digits"},
        {bcCodeUPCA, '0', 12,
         "TBarcode:UPC-A bad Data <0000000000000>: 11 digits are needed, or 12 with the check "
         "digit, not 13"},
        // UPC-E takes its UPC-A number too.
        {bcCodeUPCE, '0', 12,
         "TBarcode:UPC-E bad Data <0000000000000>: 6, 7 or 8 digits are needed, or the 11 or 12 "
         "of a UPC-A number, not 13"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(BarcodeTypeCaption(row.Typ));
        EXPECT_NO_THROW(Compose(row.Typ, std::string(row.Most, row.Widest), {}, SymbolDpi));
        EXPECT_EQ(Raised<Exception>([&] {
                      Compose(row.Typ, std::string(row.Most + 1, row.Widest), {.Ratio = 9});
                  }),
                  row.Refusal);
    }
    // Code 128's worst data, control characters and lower case by turns; GS1-128's longest
    // fields of characters of set B; ITF-14's 14 digits.
    std::string worst;
    for (int i = 0; worst.size() < 140; ++i) {
        worst += i % 2 == 0 ? '\x01' : 'j';
    }
    std::string fields;
    while (fields.size() + 24 < 200) {
        fields += "(10)" + std::string(20, 'j');
    }
    fields += "(91)" + std::string(220 - fields.size() - 4, 'j');
    const struct {
        TBarcodeType Typ;
        std::string Most;
        std::string Refusal;
    } longRows[] = {
        {bcCode128, worst, beyond("Code128", 140)},
        {bcCodeGS1_128, fields, beyond("GS1-128", 220)},
        {bcCodeITF14, "00000000000000",
         "TBarcode:ITF-14 bad Data <000000000000000>: 13 digits, or 14 with the check digit, are "
         "needed, not 15"},
    };
    for (const auto& row : longRows) {
        SCOPED_TRACE(BarcodeTypeCaption(row.Typ));
        EXPECT_NO_THROW(Compose(row.Typ, row.Most, {}, SymbolDpi));
        EXPECT_EQ(Raised<Exception>([&] { Compose(row.Typ, row.Most + "0"); }), row.Refusal);
    }
    // EAN and UPC with an add-on of five digits.
    for (const auto& [typ, data] : {std::pair{bcCodeEAN13, "0000000000000+00000"},
                                    {bcCodeEAN8, "00000000+00000"},
                                    {bcCodeUPCA, "000000000000+00000"},
                                    {bcCodeUPCE, "000000000000+00000"}}) {
        EXPECT_NO_THROW(Compose(typ, data, {}, SymbolDpi)) << data;
    }
    EXPECT_EQ(Raised<Exception>([] { Compose(bcCode128C, std::string(131071, '0')); }),
              "Cannot draw the symbol: the data of Code128C is at most 450 characters, not "
              "131,071");
}

// A reduction narrows every bar by its amount, half on each side, in millimetres; a raster's odd
// dot comes off the bar's right edge.
TEST(Symbol, ReductionNarrowsEveryBar) {
    const TPrintDrawing plain = Compose(bcCode128B, "Q", {.XDim = 1}).Drawing;
    const TPrintDrawing reduced = Compose(bcCode128B, "Q", {.XDim = 1, .Reduction = 0.2}).Drawing;
    ASSERT_EQ(plain.Rects.size(), reduced.Rects.size());
    for (std::size_t i = 0; i < plain.Rects.size(); ++i) {
        EXPECT_NEAR(reduced.Rects[i].X, plain.Rects[i].X + 0.1, Near);
        EXPECT_NEAR(reduced.Rects[i].Width, plain.Rects[i].Width - 0.2, Near);
    }
    // 0.33 mm at 600 dpi is 8 dots; 0.13 mm is 3 of them.
    const TPrintRect dots = Compose(bcCode128B, "Q", {.Reduction = 0.13}, 600).Drawing.Rects[0];
    EXPECT_EQ(dots, (TPrintRect{80 + 1, 0, 16 - 3, dots.Height}));
}

// ITF-14 as GS1 prints it: quiet zones of 10X, an X-dimension of 1.016 mm, wide elements 2.5 times
// it (the 39 bars 120.5 modules), bars 31.75 mm at any X-dimension; bearer bars of 4.8 mm, never
// thinner than two narrow elements, around the bars and the quiet zones, above and below them, or
// none; the digits 0.04 inch below the bottom bearer bar, or a module where that is more.
TEST(Symbol, Itf14BearerBars) {
    using enum TBearer;
    const struct {
        TBearer Bearer;
        std::optional<double> XDim;
        std::optional<int> Dpi;
        std::vector<TPrintRect> Bearers; // top, bottom, left, right
        TPrintRect FirstBar;
        double Width;
        double Height; // without the line
        double DigitsTop;
    } rows[] = {
        {Frame,
         {},
         {},
         {{0, 0, 152.348, 4.8},
          {0, 36.55, 152.348, 4.8},
          {0, 4.8, 4.8, 31.75},
          {147.548, 4.8, 4.8, 31.75}},
         {14.96, 4.8, 1.016, 31.75},
         152.348,
         41.35,
         42.366},
        {Bars,
         {},
         {},
         {{0, 0, 142.748, 4.8}, {0, 36.55, 142.748, 4.8}},
         {10.16, 4.8, 1.016, 31.75},
         142.748,
         41.35,
         42.366},
        {None, {}, {}, {}, {10.16, 0, 1.016, 31.75}, 142.748, 31.75, 32.766},
        // 600 dpi: the module 24 dots, wide elements 60, the bearer bars 113 (4.78 mm), the bars
        // 750, the gap 24.
        {Frame,
         {},
         600,
         {{0, 0, 3598, 113}, {0, 863, 3598, 113}, {0, 113, 113, 750}, {3485, 113, 113, 750}},
         {353, 113, 24, 750},
         3598,
         976,
         1000},
        {Bars,
         {},
         600,
         {{0, 0, 3372, 113}, {0, 863, 3372, 113}},
         {240, 113, 24, 750},
         3372,
         976,
         1000},
        {None, {}, 600, {}, {240, 0, 24, 750}, 3372, 750, 774},
        // Twice 2.5 mm is more than 4.8 mm, and a module more than 0.04 inch.
        {Frame,
         2.5,
         {},
         {{0, 0, 361.25, 5}, {0, 36.75, 361.25, 5}, {0, 5, 5, 31.75}, {356.25, 5, 5, 31.75}},
         {30, 5, 2.5, 31.75},
         361.25,
         41.75,
         44.25},
        // 0.04 inch is more than a module of 0.5 mm.
        {Bars,
         0.5,
         {},
         {{0, 0, 70.25, 4.8}, {0, 36.55, 70.25, 4.8}},
         {5, 4.8, 0.5, 31.75},
         70.25,
         41.35,
         42.366},
    };
    const auto expectRect = [](const TPrintRect& got, const TPrintRect& expected) {
        EXPECT_NEAR(got.X, expected.X, 1e-9);
        EXPECT_NEAR(got.Y, expected.Y, 1e-9);
        EXPECT_NEAR(got.Width, expected.Width, 1e-9);
        EXPECT_NEAR(got.Height, expected.Height, 1e-9);
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(static_cast<int>(row.Bearer)) + " at " +
                     std::to_string(row.XDim.value_or(0)) + " mm, " +
                     std::to_string(row.Dpi.value_or(0)) + " dpi");
        const TSymbolOptions bare{.XDim = row.XDim, .ShowText = false, .Bearer = row.Bearer};
        const TPrintDrawing d = Compose(bcCodeITF14, "1540014128876", bare, row.Dpi).Drawing;
        ASSERT_EQ(d.Rects.size(), 39 + row.Bearers.size());
        expectRect(d.Rects[0], row.FirstBar);
        for (std::size_t i = 0; i < row.Bearers.size(); ++i) {
            expectRect(d.Rects[39 + i], row.Bearers[i]);
        }
        // The last bar ends where the right quiet zone, and the frame's side, begin.
        const double quiet = d.Rects[0].X - (row.Bearer == Frame ? row.Bearers[2].Width : 0);
        EXPECT_NEAR(d.Width - (d.Rects[38].X + d.Rects[38].Width), d.Rects[0].X, 1e-9);
        EXPECT_NEAR(quiet, 10 * d.Rects[0].Width, 1e-9);
        EXPECT_NEAR(d.Width, row.Width, 1e-9);
        EXPECT_NEAR(d.Height, row.Height, 1e-9);
        TSymbolOptions lined = bare;
        lined.ShowText = true;
        const TPrintDrawing withLine =
            Compose(bcCodeITF14, "1540014128876", lined, row.Dpi).Drawing;
        EXPECT_EQ(Printed(withLine), "15400141288763");
        const TPrintText& line = withLine.Texts.back();
        EXPECT_NEAR(line.Baseline - line.Font->Ink(U'0').Top * line.Size, row.DigitsTop, 1e-6);
    }
    // The other symbologies draw none, whatever is chosen.
    const TPrintDrawing code39 = Compose(bcCode39, "AB", {.Bearer = Bars}).Drawing;
    EXPECT_EQ(code39.Rects, Compose(bcCode39, "AB").Drawing.Rects);
    EXPECT_EQ(code39.Height, Compose(bcCode39, "AB").Drawing.Height);
}
