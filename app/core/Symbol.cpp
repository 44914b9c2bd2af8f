#include "Symbol.h"

#include "Batch.h"
#include "Bitmap.h"
#include "Exception.h"
#include "NumberText.h"
#include "PngFile.h"
#include "ScalableFont.h"
#include "Stream.h"
#include "SvgFile.h"
#include "Utf8.h"
#include "VectorFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <span>

namespace {

using enum TBarcodeType;
using enum TSymbolText;

constexpr std::string_view Gs1 =
    "GS1 General Specifications, EAN/UPC symbols: 13, 8 and 12 digits (UPC-E six of them, "
    "zero-suppressed); light margins of 11X left and 7X right (EAN-13), 7X (EAN-8), 9X (UPC-A), "
    "9X left and 7X right (UPC-E); bars 22.85 mm (EAN-13, UPC-A, UPC-E) and 18.23 mm (EAN-8) high "
    "at the nominal X of 0.33 mm; guard bars 5X longer, and UPC-A's first and last characters' "
    "bars; the digits in OCR-B, 2.75 mm high at the nominal X, UPC's number system and check "
    "digits smaller, outside the guards; an add-on of 2 or 5 digits 7 to 12X right of the main "
    "symbol, its digits above its bars, 5X of quiet zone after it";
constexpr std::string_view TwoOfFive =
    "ISO/IEC 16390 (interleaved 2 of 5): quiet zones of 10X; wide elements 2 to 3 times the "
    "narrow, 2.2 at the least below an X-dimension of 0.5 mm";
constexpr std::string_view DiscreteTwoOfFive =
    "no ISO or AIM standard: the quiet zones of 10X and the wide range of the other 2 of 5 "
    "codes (matrix 2 of 5 from 2.25, as the engine draws it)";
constexpr std::string_view Code39 =
    "ISO/IEC 16388 (Code 39): quiet zones of 10X; wide elements 2 to 3 times the narrow, 2.2 at "
    "the least below an X-dimension of 0.5 mm";
constexpr std::string_view Code128 =
    "ISO/IEC 15417 (Code 128): quiet zones of 10X; elements of 1 to 4 modules";
constexpr std::string_view Code93 =
    "AIM USS-93 (Code 93): quiet zones of 10X; elements of 1 to 4 modules";
constexpr std::string_view Msi = "no ISO or AIM standard (MSI Plessey): quiet zones of 10X "
                                 "as its readers ask; narrow and wide elements of 1 and 2 modules";
constexpr std::string_view PostNet =
    "USPS Publication 25 (POSTNET): bars 0.020 in wide at 22 bars an inch (20 to 24), full bars "
    "0.125 in high; clear zones of 1/8 in left and right and 0.04 in above and below; no "
    "human-readable line (the address above it is one); at most 62 bars, the frame bars around "
    "11 digits and the correction digit, which the data carries";
constexpr std::string_view Itf14 =
    "GS1 General Specifications, ITF-14: 14 digits, the last GS1's check digit; quiet zones of "
    "10X; wide elements 2.25 to 3 times the narrow, 2.5 the target; an X-dimension of 1.016 mm "
    "at 100 % (0.495 mm the least in general distribution); bars 31.75 mm high at any "
    "X-dimension; bearer bars of 4.8 mm, at least twice the narrow element, abutting the bars "
    "above and below and, for plate printing, framing the quiet zones too; the digits in any "
    "legible font at least 0.04 inch below the bottom bearer bar";
constexpr std::string_view Codabar =
    "ANSI/AIM BC3 (USS-Codabar): quiet zones of 10X; wide elements 2 to 3 times the narrow, 2.25 "
    "at the least below an X-dimension of 0.5 mm";

constexpr double Inch = 25.4;

// Elements of whole modules.
constexpr TSymbolRules Modules(TBarcodeType typ, std::size_t maxData, std::string_view source) {
    return {.Typ = typ, .MaxData = maxData, .Source = source};
}

// Wide and narrow elements: 2 to 3, from a higher least value below an X-dimension of 0.5 mm.
constexpr TSymbolRules WideAndNarrow(TBarcodeType typ, double least, double leastSmallX,
                                     std::size_t maxData, std::string_view source) {
    return {.Typ = typ,
            .RatioMin = least,
            .RatioMinSmallX = leastSmallX,
            .RatioMax = 3,
            .MaxData = maxData,
            .Source = source};
}

// EAN and UPC data may end in "+" and an add-on of up to five digits.
constexpr std::size_t AddOnData = 6;

constexpr TSymbolRules Ean(TBarcodeType typ, double quietLeft, double quietRight, double height,
                           TSymbolText text, std::size_t digits) {
    return {.Typ = typ,
            .QuietLeft = quietLeft,
            .QuietRight = quietRight,
            .NominalHeight = height,
            .NominalXDim = 0.33,
            .Text = text,
            .MaxData = digits + AddOnData,
            .Source = Gs1};
}

// In the order of TBarcodeType. The longest data is the standard's where it states one: EAN's
// fixed lengths, POSTNET's 62 bars. The other standards leave the length to the application (GS1
// holds GS1-128 to 48 characters), and their maximum keeps the symbol within what a raster file
// holds: that many of the symbology's widest characters, drawn at the default sizes and 600 dpi
// with the line, stay under MaxSymbolPixels with a character to spare, counted down to tens
// (interleaved 2 of 5 reaches the limit at 337 digits, industrial at 210, matrix at 296, Code 39
// at 181, its Extended at 91, Code 128A and B at 227, C at 455 digits, Code 93 at 277, its
// Extended at 139, MSI at 210, Codabar at 214). Code 128 takes a symbol character and a half for
// each character of its worst data, control characters and lower case by turns, so 140 of them
// stay under Code 128B's 227 symbol characters; GS1-128's fields take set C or B, one symbol
// character at most for each character of the bracketed form.
constexpr TSymbolRules Rules[] = {
    WideAndNarrow(bcCode_2_5_interleaved, 2, 2.2, 330, TwoOfFive),
    WideAndNarrow(bcCode_2_5_industrial, 2, 2, 200, DiscreteTwoOfFive),
    WideAndNarrow(bcCode_2_5_matrix, 2.25, 2.25, 290, DiscreteTwoOfFive),
    WideAndNarrow(bcCode39, 2, 2.2, 170, Code39),
    WideAndNarrow(bcCode39Extended, 2, 2.2, 80, Code39),
    Modules(bcCode128A, 220, Code128),
    Modules(bcCode128B, 220, Code128),
    Modules(bcCode128C, 450, Code128),
    Modules(bcCode93, 270, Code93),
    Modules(bcCode93Extended, 130, Code93),
    Modules(bcCodeMSI, 200, Msi),
    {.Typ = bcCodePostNet,
     .QuietLeft = Inch / 8,
     .QuietRight = Inch / 8,
     .QuietVertical = 0.04 * Inch,
     .QuietInMillimetres = true,
     .DefaultXDim = 0.02 * Inch,
     .NominalHeight = 0.125 * Inch,
     .PitchMin = Inch / 24,
     .PitchMax = Inch / 20,
     .PitchNominal = Inch / 22,
     .Text = None,
     .MaxData = 12,
     .Source = PostNet},
    WideAndNarrow(bcCodeCodabar, 2, 2.25, 210, Codabar),
    Ean(bcCodeEAN8, 7, 7, 18.23, Ean8, 8),
    Ean(bcCodeEAN13, 11, 7, 22.85, Ean13, 13),
    Modules(bcCode128, 140, Code128),
    Modules(bcCodeGS1_128, 220, Code128),
    Ean(bcCodeUPCA, 9, 9, 22.85, UpcA, 12),
    Ean(bcCodeUPCE, 9, 7, 22.85, UpcE, 12),
    {.Typ = bcCodeITF14,
     .DefaultXDim = 1.016,
     .NominalHeight = 31.75,
     .RatioMin = 2.25,
     .RatioMinSmallX = 2.25,
     .RatioMax = 3,
     .RatioTarget = 2.5,
     .BearerBar = 4.8,
     .MaxData = 14,
     .Source = Itf14},
};
static_assert(std::size(Rules) == BarcodeTypeCount);
static_assert([] {
    for (std::size_t i = 0; i < std::size(Rules); ++i) {
        if (static_cast<std::size_t>(Rules[i].Typ) != i) {
            return false;
        }
    }
    return true;
}());

// Where the standard names no height: the larger of this share of the symbol's width and
// this many millimetres.
constexpr double HeightShareOfWidth = 0.15;
constexpr double MinimumHeight = 6.35;
// The human-readable line, in modules: its digits' height (2.75 mm at 0.33 mm, as GS1 prints
// EAN), the gap above it, and how far EAN's guard bars reach below the others.
constexpr double TextHeight = 2.75 / 0.33;
constexpr double TextGap = 1;
constexpr double GuardExtension = 5;
// The centre of each EAN digit in modules from the first bar: under its seven modules, and
// EAN-13's first digit left of the guard, clear of it by a module.
constexpr double Ean13FirstDigit = -4.5;
constexpr double DigitModules = 7;
constexpr double GuardModules = 3;
constexpr double CentreGuardModules = 5;
// An add-on's digits, of 7 modules with 2 between, follow its start of 4. GS1 asks for 5 modules of
// quiet zone after it; zbarimg finds the add-on's end only with more, so it gets 6.
constexpr double AddOnStartModules = 4;
constexpr double AddOnDigitPitch = 9;
constexpr double AddOnQuietRight = 6;
// UPC's number system and check digits stand outside the guards, a module clear of them, in
// digits this much of the others' height.
constexpr double UpcOutsideDigitShare = 0.75;
// Below a bearer bar the line keeps this far from it, or a module where that is more.
constexpr double BearerTextGap = 0.04 * Inch;
// The elements that reach below the others, counted in the pattern: EAN's left, centre and right
// guards; UPC-A's with the bars of its first and last characters; UPC-E's left and right guards.
// The last range ends the main symbol.
using TElementRange = std::pair<std::size_t, std::size_t>;
constexpr std::array<TElementRange, 3> Ean13Guards{{{0, 3}, {27, 32}, {56, 59}}};
constexpr std::array<TElementRange, 3> Ean8Guards{{{0, 3}, {19, 24}, {40, 43}}};
constexpr std::array<TElementRange, 3> UpcAGuards{{{0, 7}, {27, 32}, {52, 59}}};
constexpr std::array<TElementRange, 2> UpcEGuards{{{0, 3}, {27, 33}}};

std::span<const TElementRange> GuardsOf(TSymbolText text) {
    switch (text) {
    case Ean13:
        return Ean13Guards;
    case Ean8:
        return Ean8Guards;
    case UpcA:
        return UpcAGuards;
    case UpcE:
        return UpcEGuards;
    default:
        return {};
    }
}

// Where the digit at i of an EAN or UPC line stands: the centre of its advance in modules from
// the first bar, or for UPC's number system and check digits the side of the bars (-1 left, 1
// right).
struct TDigitPlace {
    double Centre = 0;
    int Outside = 0;
};

TDigitPlace DigitPlace(TSymbolText text, std::size_t i) {
    // Each half's digits under their seven modules, after the left guard and after the centre.
    const auto under = [](std::size_t k, std::size_t half) {
        const double rightHalf = GuardModules + half * DigitModules + CentreGuardModules;
        return TDigitPlace{k < half ? GuardModules + (k + 0.5) * DigitModules
                                    : rightHalf + (k - half + 0.5) * DigitModules};
    };
    switch (text) {
    case Ean13:
        return i == 0 ? TDigitPlace{Ean13FirstDigit} : under(i - 1, 6);
    case UpcA:
        // The first and last characters' digits go outside; the others stay under their bars.
        return i == 0 ? TDigitPlace{0, -1} : i == 11 ? TDigitPlace{0, 1} : under(i, 6);
    case UpcE:
        return i == 0 ? TDigitPlace{0, -1} : i == 7 ? TDigitPlace{0, 1} : under(i - 1, 6);
    default:
        return under(i, 4);
    }
}

// Lengths of one layout: millimetres for a vector file, or the dots of a raster at Dpi, where
// every length is whole.
struct TUnits {
    int Dpi = 0;

    bool Whole() const { return Dpi > 0; }
    double PerMillimetre() const { return Whole() ? Dpi / Inch : 1; }
    double Round(double v) const { return Whole() ? std::nearbyint(v) : v; }
    double Up(double v) const { return Whole() ? std::ceil(v - 1e-9) : v; }
    double Length(double mm) const {
        return Whole() ? std::max(1.0, std::nearbyint(mm * PerMillimetre())) : mm;
    }
    double Narrow(double mm) const {
        return Whole() ? std::nearbyint(RasterXDim(mm, Dpi) * PerMillimetre()) : mm;
    }
};

bool HasRatio(const TSymbolRules& rules) {
    return rules.RatioMax > 0;
}

double XDimOf(const TSymbolRules& rules, const TSymbolOptions& options) {
    return options.XDim.value_or(rules.DefaultXDim);
}

// The least ratio at the X-dimension.
double RatioMinOf(const TSymbolRules& rules, double xDim) {
    return xDim < SmallXDim ? rules.RatioMinSmallX : rules.RatioMin;
}

// The ratio drawn: asked for; or the standard's target; or the engine's default, raised to the
// least the standard allows at the X-dimension; or the one of the nominal pitch.
double RatioOf(const TSymbolRules& rules, const TSymbolOptions& options) {
    const double xDim = XDimOf(rules, options);
    if (rules.PitchNominal > 0) {
        return options.Ratio.value_or(rules.PitchNominal / xDim - 1);
    }
    if (!HasRatio(rules)) {
        return 2;
    }
    if (rules.RatioTarget > 0) {
        return options.Ratio.value_or(rules.RatioTarget);
    }
    return options.Ratio.value_or(std::clamp(2.0, RatioMinOf(rules, xDim), rules.RatioMax));
}

// The pattern's characters laid out left to right from x: each element's kind and extent.
struct TElement {
    char Code;
    double X;
    double Width;
    bool Bar() const { return Code >= '5'; }
    bool Short() const { return Code >= 'A'; }
};

std::vector<TElement> Elements(std::string_view pattern, const std::array<double, 4>& slots,
                               double x) {
    std::vector<TElement> elements;
    elements.reserve(pattern.size());
    for (const char code : pattern) {
        const double width = slots[(code >= 'A'   ? code - 'A'
                                    : code >= '5' ? code - '5'
                                                  : code - '0')];
        elements.push_back({code, x, width});
        x += width;
    }
    return elements;
}

TFont FontNamed(const char* name) {
    TFont font;
    font.Name = name;
    return font;
}

// OCR-B where it is installed, else the code image's font.
TScalableFont& EanFont() {
    TScalableFont& ocrB = TScalableFont::For(FontNamed("OCR B"));
    return ocrB.FamilyName() == "OCR B" ? ocrB : TScalableFont::For(TFont{});
}

// What a line can show of a character: control characters take a space's room.
char32_t Printable(char32_t ch) {
    return ch < 0x20 || ch == 0x7F ? U' ' : ch;
}

class TLayout {
public:
    TLayout(const TSymbolRules& rules, const TSymbolOptions& options, TUnits units)
        : FRules(rules), FOptions(options), FUnits(units) {}

    TSymbol Compose(std::string_view pattern, std::string_view printed);

private:
    double Quiet(double amount) const {
        return FRules.QuietInMillimetres ? FUnits.Up(amount * FUnits.PerMillimetre())
                                         : amount * FNarrow;
    }
    double DefaultHeightMm(double widthUnits) const;
    // The bars of the main symbol, its guards guardsLonger below the others, and from element
    // mainCount on those of an add-on, from FAddOnTop to FAddOnBottom.
    void AddBars(const std::vector<TElement>& elements, std::size_t mainCount, double guardsLonger);
    // The bearer bars of a symbol that wide: above and below the bars, across the whole width,
    // and in a frame beside the quiet zones.
    void AddBearers(double width);
    // The text's glyphs from x, each advance at the em size; returns the width.
    double Place(TPrintText& text, double x) const;
    // The digits of EAN and UPC, each under its bars or outside the guards of the main symbol,
    // which ends at mainRight.
    void AddEanDigits(std::string_view digits, double mainRight);
    // The baseline of an add-on's digits: their tops at the symbol's.
    double AddOnBaseline(std::string_view digits) const;
    // An add-on's digits above its bars, which start at left, each over its seven modules.
    void AddAddOnDigits(std::string_view digits, double left, double baseline);
    // One digit of the drawing, its advance from x.
    void AddDigit(TScalableFont& font, double size, double baseline, char digit, double x);
    void AddCentredLine(std::string_view line);
    // The font's em size that gives its digits the line's height.
    double EmSize(TScalableFont& font) const { return FTextHeight / font.Ink(U'0').Top; }

    const TSymbolRules& FRules;
    const TSymbolOptions& FOptions;
    TUnits FUnits;
    double FNarrow = 0;
    // Where the pattern starts, and the extent of its bars (a space may end it).
    double FBarsLeft = 0;
    double FInkLeft = 0;
    double FInkWidth = 0;
    double FTop = 0;
    double FBarHeight = 0;
    // The bearer bars' thickness, and whether they frame the quiet zones too.
    double FBearer = 0;
    bool FFrame = false;
    // From the bars' bottom edge to the top of the line's digits.
    double FBelowBars = 0;
    double FTextHeight = 0;
    double FBottom = 0;
    double FAddOnTop = 0;
    double FAddOnBottom = 0;
    TSymbol FSymbol;
};

double TLayout::DefaultHeightMm(double widthUnits) const {
    if (FRules.NominalHeight > 0) {
        const double xDrawn = FNarrow / FUnits.PerMillimetre();
        return FRules.NominalXDim > 0 ? FRules.NominalHeight * xDrawn / FRules.NominalXDim
                                      : FRules.NominalHeight;
    }
    return std::max(HeightShareOfWidth * widthUnits / FUnits.PerMillimetre(), MinimumHeight);
}

void TLayout::AddBars(const std::vector<TElement>& elements, std::size_t mainCount,
                      double guardsLonger) {
    const double reduction = FUnits.Round(FOptions.Reduction * FUnits.PerMillimetre());
    // A raster's odd dot of reduction comes off the right edge.
    const double leftCut = FUnits.Whole() ? std::floor(reduction / 2) : reduction / 2;
    const std::span<const TElementRange> guards = GuardsOf(FRules.Text);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const TElement& e = elements[i];
        if (!e.Bar()) {
            continue;
        }
        if (i >= mainCount) {
            FSymbol.Drawing.Rects.push_back(
                {e.X + leftCut, FAddOnTop, e.Width - reduction, FAddOnBottom - FAddOnTop});
            continue;
        }
        double height = e.Short()
                            ? (FUnits.Whole() ? std::floor(FBarHeight * 2 / 5) : FBarHeight * 0.4)
                            : FBarHeight;
        if (guardsLonger > 0 && std::ranges::any_of(guards, [&](TElementRange range) {
                return i >= range.first && i < range.second;
            })) {
            height += guardsLonger;
        }
        FSymbol.Drawing.Rects.push_back({e.X + leftCut, FTop, e.Width - reduction, height});
    }
}

void TLayout::AddBearers(double width) {
    std::vector<TPrintRect>& rects = FSymbol.Drawing.Rects;
    rects.push_back({0, FTop - FBearer, width, FBearer});
    rects.push_back({0, FTop + FBarHeight, width, FBearer});
    if (FFrame) {
        rects.push_back({0, FTop, FBearer, FBarHeight});
        rects.push_back({width - FBearer, FTop, FBearer, FBarHeight});
    }
}

double TLayout::Place(TPrintText& text, double x) const {
    const double start = x;
    for (const char32_t ch : text.Chars) {
        text.X.push_back(x);
        x += text.Font->Advance(ch) * text.Size;
    }
    return x - start;
}

void TLayout::AddEanDigits(std::string_view digits, double mainRight) {
    TScalableFont& font = EanFont();
    const double em = EmSize(font);
    const double baseline = FUnits.Round(FTop + FBarHeight + TextGap * FNarrow + FTextHeight);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const TDigitPlace place = DigitPlace(FRules.Text, i);
        const char32_t digit = static_cast<unsigned char>(digits[i]);
        const double size = place.Outside != 0 ? em * UpcOutsideDigitShare : em;
        const double advance = font.Advance(digit) * size;
        AddDigit(font, size, baseline, digits[i],
                 place.Outside < 0   ? FBarsLeft - FNarrow - advance
                 : place.Outside > 0 ? mainRight + FNarrow
                                     : FBarsLeft + place.Centre * FNarrow - advance / 2);
        FBottom = std::max(FBottom, baseline + font.Ink(digit).Bottom * size);
    }
}

double TLayout::AddOnBaseline(std::string_view digits) const {
    TScalableFont& font = EanFont();
    const double em = EmSize(font);
    double rise = 0;
    for (const char digit : digits) {
        rise = std::max(rise, font.Ink(static_cast<unsigned char>(digit)).Top * em);
    }
    return FUnits.Up(FTop + rise);
}

void TLayout::AddAddOnDigits(std::string_view digits, double left, double baseline) {
    TScalableFont& font = EanFont();
    const double em = EmSize(font);
    for (std::size_t k = 0; k < digits.size(); ++k) {
        const double centre = AddOnStartModules + k * AddOnDigitPitch + DigitModules / 2;
        AddDigit(font, em, baseline, digits[k],
                 left + centre * FNarrow -
                     font.Advance(static_cast<unsigned char>(digits[k])) * em / 2);
    }
}

void TLayout::AddDigit(TScalableFont& font, double size, double baseline, char digit, double x) {
    TPrintText& text = FSymbol.Drawing.Texts.emplace_back();
    text = {&font, size, baseline, std::u32string(1, static_cast<unsigned char>(digit)), {x}};
}

void TLayout::AddCentredLine(std::string_view line) {
    TScalableFont& font = TScalableFont::For(TFont{});
    TPrintText text{&font, EmSize(font), 0, {}, {}};
    for (const char32_t ch : DecodeUtf8(line)) {
        text.Chars.push_back(Printable(ch));
    }
    double height = FTextHeight;
    double width = Place(text, 0);
    // A line wider than the bars is made smaller, to stay out of the quiet zones.
    if (width > FInkWidth) {
        text.Size *= FInkWidth / width;
        height *= FInkWidth / width;
        text.X.clear();
        width = Place(text, 0);
    }
    const double left = FInkLeft + (FInkWidth - width) / 2;
    for (double& x : text.X) {
        x += left;
    }
    text.Baseline = FUnits.Round(FTop + FBarHeight + FBelowBars + height);
    for (const char32_t ch : text.Chars) {
        FBottom = std::max(FBottom, text.Baseline + font.Ink(ch).Bottom * text.Size);
    }
    FSymbol.Drawing.Texts.push_back(std::move(text));
}

TSymbol TLayout::Compose(std::string_view pattern, std::string_view printed) {
    const double x = XDimOf(FRules, FOptions);
    const double ratio = RatioOf(FRules, FOptions);
    FNarrow = FUnits.Narrow(x);
    // A raster's wide elements are whole dots too, never narrower than the least ratio allows.
    const double least = HasRatio(FRules) ? RatioMinOf(FRules, x) * FNarrow : 0;
    const auto wide = [&](double share) {
        return std::max(FUnits.Round(share * ratio * FNarrow), FUnits.Up(share * least));
    };
    const std::array<double, 4> slots = {FNarrow, wide(1), wide(1.5), wide(2)};
    if (FRules.BearerBar > 0 && FOptions.Bearer != TBearer::None) {
        FBearer = std::max(FUnits.Length(FRules.BearerBar), 2 * FNarrow);
        FFrame = FOptions.Bearer == TBearer::Frame;
    }
    const double side = FFrame ? FBearer : 0;
    FBarsLeft = side + Quiet(FRules.QuietLeft);
    const std::vector<TElement> elements = Elements(pattern, slots, FBarsLeft);
    const auto first = std::ranges::find_if(elements, &TElement::Bar);
    const auto last = std::ranges::find_if(elements.rbegin(), elements.rend(), &TElement::Bar);
    if (first != elements.end()) {
        FInkLeft = first->X;
        FInkWidth = last->X + last->Width - FInkLeft;
    }
    const double patternWidth =
        elements.empty() ? 0 : elements.back().X + elements.back().Width - FBarsLeft;
    // EAN's and UPC's main symbol ends with its last guard; the elements after it are an add-on's.
    const std::span<const TElementRange> guards = GuardsOf(FRules.Text);
    const bool ean = !guards.empty();
    const std::size_t mainCount =
        ean ? std::min(guards.back().second, elements.size()) : elements.size();
    const bool addOn = mainCount < elements.size();
    const double width =
        FBarsLeft + patternWidth + Quiet(addOn ? AddOnQuietRight : FRules.QuietRight) + side;
    FTop = Quiet(FRules.QuietVertical) + FBearer;
    FBarHeight = FUnits.Length(FOptions.Height.value_or(DefaultHeightMm(width)));
    FBelowBars = FBearer > 0 ? FBearer + std::max(TextGap * FNarrow,
                                                  FUnits.Up(BearerTextGap * FUnits.PerMillimetre()))
                             : TextGap * FNarrow;
    FTextHeight = TextHeight * FNarrow;
    FBottom = FTop + FBarHeight + FBearer;

    const bool text = FOptions.ShowText && FRules.Text != None;
    // The add-on's digits stand above its bars, which reach down as far as the guards.
    const std::size_t space = printed.find(' ');
    const std::string_view addOnDigits =
        space == std::string_view::npos ? std::string_view() : printed.substr(space + 1);
    double addOnBaseline = 0;
    FAddOnTop = FTop;
    FAddOnBottom = FTop + FBarHeight;
    if (text && ean) {
        FAddOnBottom += GuardExtension * FNarrow;
        if (addOn) {
            addOnBaseline = AddOnBaseline(addOnDigits);
            FAddOnTop = addOnBaseline + TextGap * FNarrow;
        }
    }
    AddBars(elements, mainCount, text && ean ? GuardExtension * FNarrow : 0);
    if (FBearer > 0) {
        AddBearers(width);
    }
    if (text && ean) {
        FBottom = FTop + FBarHeight + GuardExtension * FNarrow;
        const TElement& mainEnd = elements[mainCount - 1];
        AddEanDigits(printed.substr(0, space), mainEnd.X + mainEnd.Width);
        if (addOn) {
            const auto start =
                std::ranges::find_if(elements.begin() + static_cast<std::ptrdiff_t>(mainCount),
                                     elements.end(), &TElement::Bar);
            AddAddOnDigits(addOnDigits, start->X, addOnBaseline);
        }
    } else if (text && !printed.empty()) {
        AddCentredLine(printed);
    }
    FSymbol.Drawing.Millimetres = 1 / FUnits.PerMillimetre();
    FSymbol.Drawing.Width = width;
    FSymbol.Drawing.Height = FUnits.Up(FBottom + Quiet(FRules.QuietVertical));
    FSymbol.XDim = FNarrow / FUnits.PerMillimetre();
    return std::move(FSymbol);
}

bool IsVector(TImageFormat format) {
    return format == TImageFormat::Pdf || format == TImageFormat::Eps;
}

int DpiOf(const TImageFileOptions& file) {
    return file.Dpi.value_or(SymbolDpi);
}

// The file of the symbol: a vector file's bytes, or a raster in image.
std::vector<std::uint8_t> SymbolFile(const TBarcode& barcode, const TSymbolOptions& options,
                                     TImageFormat format, const TImageFileOptions& file,
                                     TBitmap& image) {
    if (file.Scale != 1) {
        throw Exception("The symbol is sized in millimetres; it takes no scale");
    }
    const std::optional<int> rasterDpi = SymbolRasterDpi(format, file);
    if (!rasterDpi) {
        const TSymbol symbol = ComposeSymbol(barcode, options);
        if (format == TImageFormat::Svg) {
            const std::string svg = PrintDrawingSvg(symbol.Drawing, DpiOf(file));
            return {svg.begin(), svg.end()};
        }
        return EncodeVector(symbol.Drawing,
                            format == TImageFormat::Pdf ? TVectorFormat::Pdf : TVectorFormat::Eps);
    }
    const int dpi = *rasterDpi;
    const TSymbol symbol = ComposeSymbol(barcode, options, dpi);
    // A PNG takes the raster's rows straight from the drawing: equal rows are worked out once.
    if (format == TImageFormat::Png) {
        return EncodePrintPng(symbol.Drawing, dpi);
    }
    RasterisePrintDrawing(symbol.Drawing, image);
    return {};
}

// The options a raster of the symbol is written with: its resolution.
TImageFileOptions RasterOptions(const TImageFileOptions& file, TImageFormat format) {
    TImageFileOptions raster = file;
    raster.Format = format;
    raster.Dpi = DpiOf(file);
    return raster;
}

void WriteSymbolFile(const std::string& name, const std::vector<std::uint8_t>& bytes,
                     const TBitmap& image, TImageFormat format, const TImageFileOptions& file) {
    if (image.Empty()) {
        const std::span<const std::uint8_t> piece(bytes);
        WriteFileAtomically(name, {&piece, 1}, file.Role);
        return;
    }
    SaveImageFile(image, name, RasterOptions(file, format));
}

// The symbol of each number, drawn when it is asked for.
class TSymbolSteps : public TBatchSteps {
public:
    TSymbolSteps(const TBarcode& barcode, const TSymbolOptions& options,
                 const TImageFileOptions& file)
        : FBarcode(barcode), FOptions(options), FFile(file) {}

    std::exception_ptr Draw(const TBatchItem& item) override {
        FBarcode.SetText(item.Data);
        try {
            FBytes = SymbolFile(FBarcode, FOptions, *FFile.Format, FFile, FImage);
        } catch (...) {
            return std::current_exception();
        }
        return nullptr;
    }
    void Write(const std::string& name) override {
        WriteSymbolFile(name, FBytes, FImage, *FFile.Format, FFile);
    }

private:
    TBarcode FBarcode;
    const TSymbolOptions& FOptions;
    const TImageFileOptions& FFile;
    std::vector<std::uint8_t> FBytes;
    TBitmap FImage;
};

} // namespace

const TSymbolRules& SymbolRules(TBarcodeType typ) {
    return Rules[static_cast<std::size_t>(typ) % std::size(Rules)];
}

std::string SymbolOptionsRefusal(const TBarcode& barcode, const TSymbolOptions& options,
                                 std::optional<int> rasterDpi) {
    const TSymbolRules& rules = SymbolRules(barcode.Typ());
    const std::string name = barcode.TypeCaption();
    const double x = XDimOf(rules, options);
    if (!(x >= MinXDim && x <= MaxXDim)) {
        return "the X-dimension is from " + Number(MinXDim) + " to " + Number(MaxXDim) +
               " mm, not " + Number(x);
    }
    if (options.Height && !(*options.Height >= MinBarHeight && *options.Height <= MaxBarHeight)) {
        return "the bar height is from " + Number(MinBarHeight) + " to " + Number(MaxBarHeight) +
               " mm, not " + Number(*options.Height);
    }
    const double ratio = RatioOf(rules, options);
    if (rules.PitchNominal > 0) {
        const double pitch = x * (1 + ratio);
        if (!(pitch >= rules.PitchMin - 1e-9 && pitch <= rules.PitchMax + 1e-9) || ratio <= 0) {
            return "the bars of " + name + " are " + Number(rules.PitchMin) + " to " +
                   Number(rules.PitchMax) + " mm apart (20 to 24 an inch), not " + Number(pitch) +
                   " (X-dimension " + Number(x) + " mm, ratio " + Number(ratio) + ")";
        }
    } else if (!HasRatio(rules) && options.Ratio) {
        return name + " has no wide-to-narrow ratio: its elements are whole modules";
    } else if (HasRatio(rules) &&
               !(ratio >= RatioMinOf(rules, x) - 1e-9 && ratio <= rules.RatioMax + 1e-9)) {
        return "the wide-to-narrow ratio of " + name + " is from " + Number(RatioMinOf(rules, x)) +
               " to " + Number(rules.RatioMax) +
               (x < SmallXDim && rules.RatioMinSmallX > rules.RatioMin
                    ? " at an X-dimension under " + Number(SmallXDim) + " mm"
                    : "") +
               ", not " + Number(ratio);
    }
    if (!(options.Reduction >= 0 && options.Reduction < x)) {
        return "the bar-width reduction is from 0 to less than the X-dimension (" + Number(x) +
               " mm), not " + Number(options.Reduction);
    }
    if (rasterDpi) {
        const double dots = *rasterDpi / Inch;
        const double narrow = std::max(1.0, std::nearbyint(x * dots));
        if (std::nearbyint(options.Reduction * dots) >= narrow) {
            return "a bar-width reduction of " + Number(options.Reduction) +
                   " mm leaves nothing of the narrow bars at " + std::to_string(*rasterDpi) +
                   " dpi";
        }
    }
    return {};
}

std::string SymbolPattern(const TBarcode& barcode) {
    TBarcode copy = barcode;
    std::string pattern = copy.BuildPattern();
    // Every symbology takes ASCII alone: the bytes of data it accepted are its characters.
    const std::size_t most = SymbolRules(barcode.Typ()).MaxData;
    if (barcode.Text().size() > most) {
        throw Exception("Cannot draw the symbol: the data of " + barcode.TypeCaption() +
                        " is at most " + Grouped(most) + " characters, not " +
                        Grouped(barcode.Text().size()));
    }
    return pattern;
}

TSymbol ComposeSymbol(const TBarcode& barcode, const TSymbolOptions& options,
                      std::optional<int> rasterDpi) {
    const std::string pattern = SymbolPattern(barcode);
    if (const std::string refusal = SymbolOptionsRefusal(barcode, options, rasterDpi);
        !refusal.empty()) {
        throw Exception("Cannot draw the symbol: " + refusal);
    }
    const TUnits units{rasterDpi.value_or(0)};
    TSymbol symbol =
        TLayout(SymbolRules(barcode.Typ()), options, units).Compose(pattern, barcode.PrintedText());
    if (rasterDpi) {
        const auto width = static_cast<long long>(std::ceil(symbol.Drawing.Width));
        const auto height = static_cast<long long>(std::ceil(symbol.Drawing.Height));
        if (width * height > MaxSymbolPixels) {
            throw Exception("The symbol needs " + Grouped(width) + " x " + Grouped(height) +
                            " dots at " + std::to_string(*rasterDpi) +
                            " dpi, more than a raster file holds (" + Grouped(MaxSymbolPixels) +
                            "); write it as PDF, EPS or SVG, or at a lower resolution");
        }
    }
    return symbol;
}

TImageFormat SymbolFormatOfName(std::string_view name) {
    const auto format = FormatNamed(ExtensionOf(name));
    return format && IsVector(*format) ? *format : FormatOfName(name);
}

void SaveSymbolFile(const TBarcode& barcode, const TSymbolOptions& options, const std::string& name,
                    const TImageFileOptions& file) {
    const TImageFormat format = file.Format.value_or(SymbolFormatOfName(name));
    TBitmap image;
    WriteSymbolFile(name, SymbolFile(barcode, options, format, file, image), image, format, file);
}

std::uint64_t SymbolFileSize(const TBarcode& barcode, const TSymbolOptions& options,
                             TImageFormat format, const TImageFileOptions& file) {
    TBitmap image;
    const std::vector<std::uint8_t> bytes = SymbolFile(barcode, options, format, file, image);
    if (image.Empty()) {
        return bytes.size();
    }
    return ImageFileSize(image, format, RasterOptions(file, format));
}

double RasterXDim(double xDim, int dpi) {
    return std::max(1.0, std::nearbyint(xDim * dpi / Inch)) * Inch / dpi;
}

std::optional<int> SymbolRasterDpi(TImageFormat format, const TImageFileOptions& file) {
    if (IsVector(format) || format == TImageFormat::Svg) {
        return std::nullopt;
    }
    return DpiOf(file);
}

std::string XDimNote(TBarcodeType typ, const TSymbolOptions& options,
                     std::optional<int> rasterDpi) {
    if (!rasterDpi) {
        return {};
    }
    const double asked = XDimOf(SymbolRules(typ), options);
    const int dpi = *rasterDpi;
    const double drawn = RasterXDim(asked, dpi);
    if (std::abs(drawn - asked) <= 0.05 * asked) {
        return {};
    }
    const auto dots = static_cast<long long>(std::nearbyint(drawn * dpi / Inch));
    return "the X-dimension drawn is " + Number(drawn) + " mm (" + std::to_string(dots) +
           (dots == 1 ? " dot" : " dots") + " at " + std::to_string(dpi) + " dpi), not " +
           Number(asked) + " mm";
}

void RunSymbolBatch(const TBarcode& barcode, const TSymbolOptions& options,
                    const TBatchRange& range, std::string_view directory,
                    const TBatchCallbacks& callbacks, const TImageFileOptions& file) {
    const TRangeBatch data(range, directory,
                           FormatExtension(file.Format.value_or(TImageFormat::Bmp)));
    RunSymbolBatch(barcode, options, data, directory, callbacks, file);
}

void RunSymbolBatch(const TBarcode& barcode, const TSymbolOptions& options, const TBatchData& data,
                    std::string_view directory, const TBatchCallbacks& callbacks,
                    const TImageFileOptions& file) {
    TImageFileOptions steady = file;
    steady.Format = file.Format.value_or(TImageFormat::Bmp);
    steady.Role = TWriteRole::Batch;
    RunBatchSteps(data, directory, callbacks,
                  [&] { return std::make_unique<TSymbolSteps>(barcode, options, steady); });
}
