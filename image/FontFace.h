#pragma once

#include "Graphics.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// One rasterised glyph: a coverage mask, one byte a pixel from 0 (background) to 255 (ink),
// placed relative to the pen on the baseline. A two-colour glyph holds only 0 and 255.
struct TGlyph {
    int Left = 0; // columns from the pen to the mask's first column
    int Top = 0;  // rows from the mask's first row up to the baseline
    int Width = 0;
    int Rows = 0;
    int Advance = 0; // pixels the pen moves on
    std::vector<std::uint8_t> Mask;
};

// A font at one pixel size and style, resolved through fontconfig and rasterised by FreeType,
// in two colours or in grey levels. Faces and their glyphs are cached for the life of the process
// and may be used from several threads at once.
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
    // The two-colour glyph; its Advance is the one text is laid out with in either mode.
    const TGlyph& Glyph(char32_t ch);
    // The same character in grey levels (FreeType's anti-aliased rendering).
    const TGlyph& GreyGlyph(char32_t ch);

private:
    struct Impl;
    struct TGlyphCache {
        std::array<std::unique_ptr<TGlyph>, 128> Ascii;
        std::unordered_map<char32_t, std::unique_ptr<TGlyph>> Others;
    };
    TFontFace(std::unique_ptr<Impl> impl, int pixels);
    const TGlyph& Cached(TGlyphCache& cache, char32_t ch, bool grey);

    std::unique_ptr<Impl> FImpl;
    std::string FFamilyName;
    int FPixels = 0;
    int FAscent = 0;
    int FDescent = 0;
    // Guards the caches and FreeType's face, which renders one glyph at a time.
    std::mutex FLock;
    TGlyphCache FTwoColour;
    TGlyphCache FGrey;
};
