#pragma once

#include "FontFace.h"
#include "FontFiles.h"
#include "Graphics.h"

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

// How far a character's ink reaches above the baseline (Top) and below it (Bottom, downwards
// positive), in em: fractions of the font's em square.
struct TInk {
    double Top = 0;
    double Bottom = 0;
};

// Where an outline goes: moves that start contours, lines and cubic curves, in em with y
// upwards. Contours are closed by their filling.
class TOutlineSink {
public:
    virtual ~TOutlineSink() = default;
    virtual void MoveTo(double x, double y) = 0;
    virtual void LineTo(double x, double y) = 0;
    virtual void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) = 0;
};

// A font measured in em from its outlines, without hinting, so that text laid out once keeps
// its place at every size: in vector files and in rasters at any resolution, where each glyph
// is drawn at its em size in pixels.
class TScalableFont {
public:
    // The face fontconfig chooses for the font's name and bold/italic style (as TFontFace finds
    // it), kept for the life of the process.
    static TScalableFont& For(const TFont& font);

    ~TScalableFont();
    TScalableFont(const TScalableFont&) = delete;
    TScalableFont& operator=(const TScalableFont&) = delete;

    // The family of the file fontconfig chose, such as "OCR B" or "DejaVu Sans".
    const std::string& FamilyName() const { return FFamilyName; }

    double Advance(char32_t ch);
    TInk Ink(char32_t ch);
    unsigned GlyphIndex(char32_t ch);
    // The two-colour glyph with an em square of `pixels` pixels; any size from a pixel up. Kept
    // for the life of the font.
    const TGlyph& Glyph(char32_t ch, double pixels);

    // The outline of a glyph by its index in the font, quadratic curves raised to cubic ones,
    // for a vector file that embeds the glyphs it uses.
    void Outline(unsigned index, TOutlineSink& sink);

private:
    struct TMetrics {
        bool Known = false;
        unsigned Index = 0;
        double Advance = 0;
        TInk Ink;
    };
    explicit TScalableFont(FT_FaceRec_* face);
    const TMetrics& Metrics(char32_t ch);

    FT_FaceRec_* FFace;
    std::string FFamilyName;
    double FUnitsPerEm = 1;
    std::mutex FLock;
    std::array<TMetrics, 128> FAscii;
    std::unordered_map<char32_t, TMetrics> FOthers;
    // By size and character: a batch draws the same few again and again.
    std::map<std::pair<double, char32_t>, TGlyph> FGlyphs;
};
