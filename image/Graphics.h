#pragma once

#include "Color.h"

#include <cmath>
#include <cstdint>
#include <string>

// Drawing attributes of a canvas. Each is a plain value: assigning one to another copies every
// attribute, which is how a caller saves a canvas's attributes and puts them back.

enum class TPenStyle : std::uint8_t { psSolid, psClear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    friend bool operator==(const TPen&, const TPen&) = default;
};

enum class TBrushStyle : std::uint8_t { bsSolid, bsClear };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};

enum TFontStyle : std::uint8_t {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};

inline constexpr int ScreenPixelsPerInch = 96;

// A length of a control, in its pixels, in device pixels at the scale (the screen's device pixel
// ratio), rounded to the nearest.
inline int Scaled(int length, double scale) {
    return static_cast<int>(std::lround(length * scale));
}

// A control's width or height in device pixels at the scale, rounded up so that the pixels cover
// it.
inline int DeviceLength(int length, double scale) {
    return static_cast<int>(std::ceil(length * scale));
}
inline constexpr std::uint8_t DEFAULT_CHARSET = 1;

struct TFont {
    std::string Name = "MS Sans Serif";
    int Size = 8;           // points
    std::uint8_t Style = 0; // TFontStyle flags
    TColor Color = clWindowText;
    std::uint8_t Charset = DEFAULT_CHARSET;
    // The resolution the text is drawn at: 192 on a screen of device pixel ratio 2.
    int PixelsPerInch = ScreenPixelsPerInch;

    // Negative: selects by character height, −11 for 8 points at 96 pixels per inch. At another
    // resolution it is the 96-dpi height scaled, as the window system scales its own fonts
    // sized in pixels: −22 at 192, −17 at 144.
    int Height() const {
        const auto rounded = [](int n, int d) { return (n >= 0 ? n + d / 2 : n - d / 2) / d; };
        const int at96 = rounded(Size * ScreenPixelsPerInch, 72);
        return -rounded(at96 * PixelsPerInch, ScreenPixelsPerInch);
    }
    friend bool operator==(const TFont&, const TFont&) = default;
};
