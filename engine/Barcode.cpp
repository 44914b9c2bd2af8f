#include "Barcode.h"

#include "Canvas.h"
#include "Exception.h"
#include "Utf8.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr std::array<std::string_view, BarcodeTypeCount> Captions = {
    "2_5_interleaved",
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
    "EAN13",
    "Code128",
    "GS1-128",
    "UPC-A",
    "UPC-E",
    "ITF-14",
};

struct RatioRange {
    double Min;
    double Max;
};

// The wide-to-narrow range a symbology is drawn with; {0, 0} leaves Ratio as it is.
RatioRange RatioRangeOf(TBarcodeType typ) {
    using enum TBarcodeType;
    switch (typ) {
    case bcCode_2_5_interleaved:
    case bcCode_2_5_industrial:
    case bcCode39:
    case bcCode39Extended:
    case bcCodeCodabar:
    case bcCodeEAN8:
    case bcCodeEAN13:
        return {2.0, 3.0};
    case bcCode_2_5_matrix:
    case bcCodeITF14:
        return {2.25, 3.0};
    default:
        return {0.0, 0.0};
    }
}

// Keeps absurd sizes, angles and ratios far off the canvas instead of overflowing an int.
constexpr double CoordinateLimit = 1 << 28;

int ToPixel(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    return static_cast<int>(std::nearbyint(std::clamp(v, -CoordinateLimit, CoordinateLimit)));
}

struct Rotation {
    double Cos;
    double Sin;
};

Rotation RotationOf(double angle) {
    const double a = static_cast<double>(std::numbers::pi_v<long double> * angle / 180.0L);
    return {std::cos(a), std::sin(a)};
}

// Turns a point of the symbol frame about the origin corner (counter-clockwise on screen for a
// positive angle, since y points down) and moves it to the origin.
TPoint Place(double px, double py, Rotation r, int left, int top) {
    return {ToPixel(std::nearbyint(px * r.Cos + py * r.Sin) + left),
            ToPixel(std::nearbyint(-px * r.Sin + py * r.Cos) + top)};
}

// The pixels a filled quadrilateral can cover, right and bottom exclusive.
TRect QuadBounds(const std::array<TPoint, 4>& quad) {
    const auto [left, right] = std::minmax({quad[0].x, quad[1].x, quad[2].x, quad[3].x});
    const auto [top, bottom] = std::minmax({quad[0].y, quad[1].y, quad[2].y, quad[3].y});
    return {left, top, right, bottom};
}

enum class ElementKind { White, Black, BlackShort };

struct Element {
    ElementKind Kind;
    int Slot;
};

// One character of a pattern; anything outside the alphabet is the engine's own fault.
Element DecodeElement(char ch) {
    if (ch >= '0' && ch <= '3') {
        return {ElementKind::White, ch - '0'};
    }
    if (ch >= '5' && ch <= '8') {
        return {ElementKind::Black, ch - '5'};
    }
    if (ch >= 'A' && ch <= 'D') {
        return {ElementKind::BlackShort, ch - 'A'};
    }
    throw Exception("TBarcode: internal Error");
}

// Short bars are two fifths of the height, whole pixels, from the same top edge as full bars.
long long ElementHeight(const Element& element, int height) {
    return element.Kind == ElementKind::BlackShort ? static_cast<long long>(height) * 2 / 5
                                                   : height;
}

// How a refusal names a character: in quotes where it can be shown, else by its code point, or
// by its byte where the text is not UTF-8.
std::string DescribeCharacter(std::string_view text, std::size_t i) {
    const std::string_view character = text.substr(i, Utf8CharLength(text, i));
    const char32_t code = DecodeUtf8(character).front();
    char name[16];
    if (code == U'\uFFFD' && character != "\uFFFD") {
        std::snprintf(name, sizeof name, "byte 0x%02X", static_cast<unsigned char>(text[i]));
    } else if (code < 0x20 || (code >= 0x7F && code < 0xA0) || code == '"') {
        std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
    } else {
        return '"' + std::string(character) + '"';
    }
    return name;
}

// The 1-based number of the character that starts at byte i.
std::size_t CharacterNumber(std::string_view text, std::size_t i) {
    std::size_t number = 1;
    for (std::size_t at = 0; at < i; at += Utf8CharLength(text, at)) {
        ++number;
    }
    return number;
}

} // namespace

std::string_view BarcodeTypeCaption(TBarcodeType typ) {
    const auto ordinal = static_cast<std::size_t>(typ);
    return ordinal < Captions.size() ? Captions[ordinal] : std::string_view{};
}

void TBarcode::SetModul(int v) {
    if (v >= 1 && v <= 49) {
        FModul = v;
    }
}

std::string TBarcode::TypeCaption() const {
    return std::string(BarcodeTypeCaption(FTyp));
}

std::string TBarcode::PrintedText() const {
    using enum TBarcodeType;
    switch (FTyp) {
    case bcCodeEAN13:
        return EanCode(13) + AddOnText();
    case bcCodeEAN8:
        return EanCode(8) + AddOnText();
    case bcCodeUPCA:
        return UpcACode() + AddOnText();
    case bcCodeUPCE:
        return UpcECode() + AddOnText();
    case bcCodeMSI:
        return FText + static_cast<char>('0' + MsiCheckDigit(FText));
    case bcCode128C:
    case bcCode_2_5_interleaved:
        return FText.size() % 2 == 1 ? '0' + FText : FText;
    case bcCodeITF14:
        return Itf14Digits();
    default:
        return FText;
    }
}

void TBarcode::RaiseBadData(std::string_view reason) const {
    std::string message = "TBarcode:" + TypeCaption() + " bad Data <" + FText + ">";
    if (!reason.empty()) {
        message += ": ";
        message += reason;
    }
    throw Exception(message);
}

void TBarcode::RaiseBadCharacter(std::size_t i, std::string_view what) const {
    RaiseBadData(NameCharacter(i) + " " + std::string(what));
}

std::string TBarcode::NameCharacter(std::size_t i) const {
    return "character " + std::to_string(CharacterNumber(FText, i)) + " " +
           DescribeCharacter(FText, i);
}

void TBarcode::RequireDigits(std::size_t from, std::size_t to) const {
    const std::size_t end = std::min(to, FText.size());
    for (std::size_t i = from; i < end; ++i) {
        if (FText[i] < '0' || FText[i] > '9') {
            RaiseBadCharacter(i, "is not a digit");
        }
    }
}

void TBarcode::ComputeElementWidths() {
    const RatioRange range = RatioRangeOf(FTyp);
    if (range.Max > 0) {
        FRatio = std::clamp(FRatio, range.Min, range.Max);
    }
    const int wide = ToPixel(FModul * FRatio);
    FWidths = {FModul, wide, wide * 3 / 2, wide * 2};
}

std::string TBarcode::EncodeFullAscii(const TFullAsciiTable& table,
                                      std::string (TBarcode::*encode)() const) {
    std::string expansion;
    for (std::size_t i = 0; i < FText.size(); ++i) {
        const auto code = static_cast<unsigned char>(FText[i]);
        if (code >= table.size()) {
            RaiseBadCharacter(i, "is not ASCII");
        }
        expansion += table[code];
    }
    std::swap(FText, expansion);
    struct Restore {
        std::string& Text;
        std::string& Kept;
        ~Restore() { std::swap(Text, Kept); }
    } restore{FText, expansion};
    return (this->*encode)();
}

std::string TBarcode::WidthsToPattern(std::string_view widths) {
    std::string pattern;
    AppendWidths(pattern, widths);
    return pattern;
}

void TBarcode::AppendWidths(std::string& pattern, std::string_view widths) {
    const std::size_t at = pattern.size();
    pattern.resize(at + widths.size());
    for (std::size_t i = 0; i < widths.size(); ++i) {
        // Position i + 1 is a bar when odd, a space when even.
        pattern[at + i] = static_cast<char>(widths[i] - 1 + (i % 2 == 0 ? 5 : 0));
    }
}

std::string TBarcode::BuildPattern() {
    using enum TBarcodeType;
    switch (FTyp) {
    case bcCode_2_5_interleaved:
        return EncodeInterleaved2of5();
    case bcCode_2_5_industrial:
        return EncodeIndustrial2of5();
    case bcCode_2_5_matrix:
        return EncodeMatrix2of5();
    case bcCode39:
        return EncodeCode39();
    case bcCode39Extended:
        return EncodeCode39Extended();
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
        return EncodeCode128();
    case bcCode93:
        return EncodeCode93();
    case bcCode93Extended:
        return EncodeCode93Extended();
    case bcCodeMSI:
        return EncodeMsi();
    case bcCodePostNet:
        return EncodePostNet();
    case bcCodeCodabar:
        return EncodeCodabar();
    case bcCodeEAN8:
        return EncodeEan8();
    case bcCodeEAN13:
        return EncodeEan13();
    case bcCode128:
        return EncodeCode128Auto();
    case bcCodeGS1_128:
        return EncodeGs1_128();
    case bcCodeUPCA:
        return EncodeUpcA();
    case bcCodeUPCE:
        return EncodeUpcE();
    case bcCodeITF14:
        return EncodeItf14();
    }
    throw Exception("TBarcode: wrong BarcodeType");
}

TPoint TBarcode::PlacePoint(double px, double py) const {
    return Place(px, py, RotationOf(FAngle), FLeft, FTop);
}

void TBarcode::PaintElements(std::string_view pattern, TCanvas& canvas) const {
    const Rotation rotation = RotationOf(FAngle);
    const auto place = [&](double px, double py) { return Place(px, py, rotation, FLeft, FTop); };
    // Elements are filled exactly to their slot width and height: an outline would widen every
    // bar by a column and a row, which readers take for a wider bar.
    canvas.Pen().Width = 1;
    canvas.Pen().Style = TPenStyle::psClear;
    // Only the elements that reach into the image are handed on: a symbol far longer than the
    // image costs what can be seen of it.
    std::vector<std::array<TPoint, 4>> quads;
    std::vector<TColor> colours;
    double x = 0;
    try {
        for (const char ch : pattern) {
            const Element element = DecodeElement(ch);
            const auto h = static_cast<double>(ElementHeight(element, FHeight));
            const double w = FWidths[element.Slot];
            const std::array<TPoint, 4> quad{place(x, 0), place(x, h), place(x + w, h),
                                             place(x + w, 0)};
            x += w;
            if (canvas.Reaches(QuadBounds(quad))) {
                quads.push_back(quad);
                colours.push_back(element.Kind == ElementKind::White ? clWhite : clBlack);
            }
        }
    } catch (const Exception&) {
        // The elements before a character outside the alphabet are painted all the same.
        canvas.Polygons(quads, colours);
        throw;
    }
    canvas.Polygons(quads, colours);
}

TRect TBarcode::BarsExtent(std::string_view pattern) const {
    TRect bars{INT_MAX, 0, INT_MIN, 0};
    long long x = 0;
    for (const char ch : pattern) {
        const Element element = DecodeElement(ch);
        const int width = FWidths[element.Slot];
        if (element.Kind != ElementKind::White) {
            bars.Left = std::min(bars.Left, SaturateToInt(x));
            bars.Right = std::max(bars.Right, SaturateToInt(x + width));
            bars.Bottom = std::max(bars.Bottom, SaturateToInt(ElementHeight(element, FHeight)));
        }
        x += width;
    }
    return bars.Left == INT_MAX ? TRect{} : bars;
}

void TBarcode::PaintCaption(TCanvas& canvas) const {
    canvas.Font().Size = 4;
    canvas.Pen().Color = clBlack;
    canvas.Brush().Color = clWhite;
    canvas.TextOut(FLeft, FTop, FText);
    canvas.TextOut(FLeft, SaturateToInt(FTop + 14LL), TypeCaption());
}

void TBarcode::Render(TCanvas& canvas) {
    ComputeElementWidths();
    const std::string pattern = BuildPattern();
    // Put the caller's attributes back however painting ends, so a failure never leaves the
    // canvas drawing in a bar colour.
    struct Holders {
        TCanvas& Canvas;
        TFont Font;
        TPen Pen;
        TBrush Brush;
        ~Holders() {
            Canvas.Font() = Font;
            Canvas.Pen() = Pen;
            Canvas.Brush() = Brush;
        }
    } holders{canvas, canvas.Font(), canvas.Pen(), canvas.Brush()};
    PaintElements(pattern, canvas);
    if (FShowText) {
        PaintCaption(canvas);
    }
}
