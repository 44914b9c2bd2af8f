#include "FontFace.h"

#include "Exception.h"
#include "FontFiles.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <mutex>
#include <string>
#include <tuple>

namespace {

int Ceil26Dot6(FT_Pos v) {
    return static_cast<int>((v + 63) >> 6);
}

} // namespace

struct TFontFace::Impl {
    FT_Face Face = nullptr;
    ~Impl() {
        if (Face != nullptr) {
            FT_Done_Face(Face);
        }
    }
};

TFontFace::TFontFace(std::unique_ptr<Impl> impl, int pixels)
    : FImpl(std::move(impl)), FPixels(pixels) {
    if (FImpl->Face->family_name != nullptr) {
        FFamilyName = FImpl->Face->family_name;
    }
    const FT_Size_Metrics& m = FImpl->Face->size->metrics;
    FAscent = Ceil26Dot6(m.ascender);
    FDescent = Ceil26Dot6(-m.descender);
}

TFontFace::~TFontFace() = default;

TFontFace& TFontFace::For(const TFont& font) {
    static std::map<std::tuple<std::string, int, int>, std::unique_ptr<TFontFace>> faces;
    static std::mutex lock;

    const int pixels = font.Height() < 0 ? -font.Height() : font.Height();
    const int styleKey = font.Style & (fsBold | fsItalic);
    const std::lock_guard guard(lock);
    auto& slot = faces[{font.Name, pixels, styleKey}];
    if (!slot) {
        const TFontFile file = MatchFontFile(font);
        auto impl = std::make_unique<Impl>();
        const int size = pixels > 0 ? pixels : 1;
        impl->Face = OpenFontFace(file);
        if (FT_Set_Pixel_Sizes(impl->Face, 0, static_cast<FT_UInt>(size)) != 0) {
            throw Exception("Cannot load font " + file.Path);
        }
        slot.reset(new TFontFace(std::move(impl), size));
    }
    return *slot;
}

const TGlyph& TFontFace::Glyph(char32_t ch) {
    return Cached(FTwoColour, ch, false);
}

const TGlyph& TFontFace::GreyGlyph(char32_t ch) {
    return Cached(FGrey, ch, true);
}

const TGlyph& TFontFace::Cached(TGlyphCache& cache, char32_t ch, bool grey) {
    const std::lock_guard guard(FLock);
    std::unique_ptr<TGlyph>& slot = ch < cache.Ascii.size() ? cache.Ascii[ch] : cache.Others[ch];
    if (slot) {
        return *slot;
    }
    slot = std::make_unique<TGlyph>();
    FT_Face face = FImpl->Face;
    const FT_UInt index = FT_Get_Char_Index(face, ch);
    if (FT_Load_Glyph(face, index, grey ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO) != 0 ||
        FT_Render_Glyph(face->glyph, grey ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) {
        return *slot;
    }
    TakeRenderedGlyph(face->glyph, grey, *slot);
    return *slot;
}
