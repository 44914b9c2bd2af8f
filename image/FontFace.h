#pragma once

#include "Graphics.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// One rasterised glyph: a one-bit coverage mask (one byte a pixel, 0 or 1) placed relative to
// the pen on the baseline.
struct TGlyph {
    int Left = 0; // columns from the pen to the mask's first column
    int Top = 0;  // rows from the mask's first row up to the baseline
    int Width = 0;
    int Rows = 0;
    int Advance = 0; // pixels the pen moves on
    std::vector<std::uint8_t> Mask;
};

// A font at one pixel size and style, resolved through fontconfig and rasterised by FreeType
// without anti-aliasing. Faces and their glyphs are cached for the life of the process.
class TFontFace {
public:
    // The face for a font's name, height and bold/italic style.
    static TFontFace& For(const TFont& font);

    ~TFontFace();
    TFontFace(const TFontFace&) = delete;
    TFontFace& operator=(const TFontFace&) = delete;

    int Ascent() const { return FAscent; }
    int Descent() const { return FDescent; }
    int LineHeight() const { return FAscent + FDescent; }
    // The family of the font file fontconfig chose, such as "DejaVu Sans".
    const std::string& FamilyName() const { return FFamilyName; }
    // The pixel height of the em square: a vector font of this size draws the same glyphs.
    int Pixels() const { return FPixels; }
    const TGlyph& Glyph(char32_t ch);

private:
    struct Impl;
    TFontFace(std::unique_ptr<Impl> impl, int pixels);

    std::unique_ptr<Impl> FImpl;
    std::string FFamilyName;
    int FPixels = 0;
    int FAscent = 0;
    int FDescent = 0;
    std::array<std::unique_ptr<TGlyph>, 128> FAscii;
    std::unordered_map<char32_t, std::unique_ptr<TGlyph>> FOthers;
};
