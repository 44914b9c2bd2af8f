#include "ScalableFont.h"

#include "Exception.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <map>
#include <tuple>

TScalableFont& TScalableFont::For(const TFont& font) {
    static std::map<std::tuple<std::string, int>, std::unique_ptr<TScalableFont>> fonts;
    static std::mutex lock;
    const std::lock_guard guard(lock);
    auto& slot = fonts[{font.Name, font.Style & (fsBold | fsItalic)}];
    if (!slot) {
        slot.reset(new TScalableFont(OpenFontFace(MatchFontFile(font))));
    }
    return *slot;
}

TScalableFont::TScalableFont(FT_FaceRec_* face) : FFace(face) {
    if (face->family_name != nullptr) {
        FFamilyName = face->family_name;
    }
    FUnitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 1;
}

TScalableFont::~TScalableFont() {
    FT_Done_Face(FFace);
}

const TScalableFont::TMetrics& TScalableFont::Metrics(char32_t ch) {
    TMetrics& metrics = ch < FAscii.size() ? FAscii[ch] : FOthers[ch];
    if (metrics.Known) {
        return metrics;
    }
    metrics.Known = true;
    metrics.Index = FT_Get_Char_Index(FFace, ch);
    if (FT_Load_Glyph(FFace, metrics.Index, FT_LOAD_NO_SCALE) == 0) {
        const FT_Glyph_Metrics& m = FFace->glyph->metrics;
        metrics.Advance = static_cast<double>(m.horiAdvance) / FUnitsPerEm;
        if (m.width > 0 && m.height > 0) {
            metrics.Ink = {static_cast<double>(m.horiBearingY) / FUnitsPerEm,
                           static_cast<double>(m.height - m.horiBearingY) / FUnitsPerEm};
        }
    }
    return metrics;
}

double TScalableFont::Advance(char32_t ch) {
    const std::lock_guard guard(FLock);
    return Metrics(ch).Advance;
}

TInk TScalableFont::Ink(char32_t ch) {
    const std::lock_guard guard(FLock);
    return Metrics(ch).Ink;
}

unsigned TScalableFont::GlyphIndex(char32_t ch) {
    const std::lock_guard guard(FLock);
    return Metrics(ch).Index;
}

const TGlyph& TScalableFont::Glyph(char32_t ch, double pixels) {
    const std::lock_guard guard(FLock);
    auto [slot, added] = FGlyphs.try_emplace({pixels, ch});
    TGlyph& glyph = slot->second;
    if (!added) {
        return glyph;
    }
    const auto size = static_cast<FT_F26Dot6>(std::max(64.0, std::round(pixels * 64)));
    // At 72 points per inch a point is a pixel.
    if (FT_Set_Char_Size(FFace, 0, size, 72, 72) != 0 ||
        FT_Load_Glyph(FFace, Metrics(ch).Index, FT_LOAD_TARGET_MONO) != 0 ||
        FT_Render_Glyph(FFace->glyph, FT_RENDER_MODE_MONO) != 0) {
        return glyph;
    }
    TakeRenderedGlyph(FFace->glyph, false, glyph);
    return glyph;
}

namespace {

// FreeType's outline walk, handed on to the sink in em with the current point kept for raising
// quadratic curves.
struct TOutlineWalk {
    TOutlineSink& Sink;
    double Em;
    double X = 0;
    double Y = 0;

    void At(const FT_Vector* to) {
        X = static_cast<double>(to->x) / Em;
        Y = static_cast<double>(to->y) / Em;
    }
    static TOutlineWalk& Of(void* user) { return *static_cast<TOutlineWalk*>(user); }
    static int Move(const FT_Vector* to, void* user) {
        TOutlineWalk& walk = Of(user);
        walk.At(to);
        walk.Sink.MoveTo(walk.X, walk.Y);
        return 0;
    }
    static int Line(const FT_Vector* to, void* user) {
        TOutlineWalk& walk = Of(user);
        walk.At(to);
        walk.Sink.LineTo(walk.X, walk.Y);
        return 0;
    }
    // A quadratic curve as the cubic that draws it: each control point two thirds of the way
    // from an end to the quadratic's control point.
    static int Conic(const FT_Vector* control, const FT_Vector* to, void* user) {
        TOutlineWalk& walk = Of(user);
        const double x0 = walk.X;
        const double y0 = walk.Y;
        walk.At(control);
        const double cx = walk.X;
        const double cy = walk.Y;
        walk.At(to);
        walk.Sink.CurveTo(x0 + 2 * (cx - x0) / 3, y0 + 2 * (cy - y0) / 3,
                          walk.X + 2 * (cx - walk.X) / 3, walk.Y + 2 * (cy - walk.Y) / 3, walk.X,
                          walk.Y);
        return 0;
    }
    static int Cubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        TOutlineWalk& walk = Of(user);
        const double x1 = static_cast<double>(c1->x) / walk.Em;
        const double y1 = static_cast<double>(c1->y) / walk.Em;
        const double x2 = static_cast<double>(c2->x) / walk.Em;
        const double y2 = static_cast<double>(c2->y) / walk.Em;
        walk.At(to);
        walk.Sink.CurveTo(x1, y1, x2, y2, walk.X, walk.Y);
        return 0;
    }
};

} // namespace

void TScalableFont::Outline(unsigned index, TOutlineSink& sink) {
    const std::lock_guard guard(FLock);
    if (FT_Load_Glyph(FFace, index, FT_LOAD_NO_SCALE) != 0 ||
        FFace->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
        return;
    }
    TOutlineWalk walk{sink, FUnitsPerEm};
    const FT_Outline_Funcs funcs{
        TOutlineWalk::Move, TOutlineWalk::Line, TOutlineWalk::Conic, TOutlineWalk::Cubic, 0, 0};
    FT_Outline_Decompose(&FFace->glyph->outline, &funcs, &walk);
}
