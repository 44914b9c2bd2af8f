#pragma once

#include "Color.h"

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
inline constexpr std::uint8_t DEFAULT_CHARSET = 1;

struct TFont {
    std::string Name = "MS Sans Serif";
    int Size = 8;           // points
    std::uint8_t Style = 0; // TFontStyle flags
    TColor Color = clWindowText;
    std::uint8_t Charset = DEFAULT_CHARSET;

    // Negative: selects by character height, −11 for 8 points at 96 pixels per inch.
    int Height() const {
        const int scaled = Size * ScreenPixelsPerInch;
        const int rounded = (scaled >= 0 ? scaled + 36 : scaled - 36) / 72;
        return -rounded;
    }
    friend bool operator==(const TFont&, const TFont&) = default;
};
