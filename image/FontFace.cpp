#include "FontFace.h"

#include "Exception.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <mutex>
#include <string>
#include <tuple>

namespace {

// The classic dialog fonts do not exist here; they stand for the desktop's plain sans face.
bool IsDialogFontName(const std::string& name) {
    return name == "MS Sans Serif" || name == "Microsoft Sans Serif" || name == "Tahoma";
}

// Releases fontconfig's own caches when the process ends.
struct FontConfigSession {
    FontConfigSession() { FcInit(); }
    ~FontConfigSession() { FcFini(); }
};

class FreeTypeLibrary {
public:
    FreeTypeLibrary() {
        if (FT_Init_FreeType(&FLibrary) != 0) {
            throw Exception("Cannot initialise the font rasteriser");
        }
    }
    ~FreeTypeLibrary() { FT_Done_FreeType(FLibrary); }
    FT_Library Get() const { return FLibrary; }

private:
    FT_Library FLibrary = nullptr;
};

struct FontFile {
    std::string Path;
    int Index = 0;
};

FontFile MatchFontFile(const TFont& font) {
    FcPattern* pattern = FcPatternCreate();
    if (IsDialogFontName(font.Name)) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("DejaVu Sans"));
    } else {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(font.Name.c_str()));
    }
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddInteger(pattern, FC_WEIGHT,
                        (font.Style & fsBold) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT,
                        (font.Style & fsItalic) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FontFile file;
    FcChar8* path = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        file.Path = reinterpret_cast<const char*>(path);
        FcPatternGetInteger(match, FC_INDEX, 0, &file.Index);
    }
    if (match != nullptr) {
        FcPatternDestroy(match);
    }
    if (file.Path.empty()) {
        throw Exception("No font found for " + font.Name);
    }
    return file;
}

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
    static FontConfigSession fontconfig;
    static FreeTypeLibrary library;
    static std::map<std::tuple<std::string, int, int>, std::unique_ptr<TFontFace>> faces;
    static std::mutex lock;

    const int pixels = font.Height() < 0 ? -font.Height() : font.Height();
    const int styleKey = font.Style & (fsBold | fsItalic);
    const std::lock_guard guard(lock);
    auto& slot = faces[{font.Name, pixels, styleKey}];
    if (!slot) {
        const FontFile file = MatchFontFile(font);
        auto impl = std::make_unique<Impl>();
        const int size = pixels > 0 ? pixels : 1;
        if (FT_New_Face(library.Get(), file.Path.c_str(), file.Index, &impl->Face) != 0 ||
            FT_Set_Pixel_Sizes(impl->Face, 0, static_cast<FT_UInt>(size)) != 0) {
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
    const FT_GlyphSlot g = face->glyph;
    const FT_Bitmap& bm = g->bitmap;
    TGlyph& glyph = *slot;
    glyph.Left = g->bitmap_left;
    glyph.Top = g->bitmap_top;
    glyph.Width = static_cast<int>(bm.width);
    glyph.Rows = static_cast<int>(bm.rows);
    glyph.Advance = static_cast<int>((g->advance.x + 32) >> 6);
    glyph.Mask.resize(static_cast<std::size_t>(glyph.Width) * glyph.Rows);
    for (int y = 0; y < glyph.Rows; ++y) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        std::uint8_t* out = glyph.Mask.data() + static_cast<std::size_t>(y) * glyph.Width;
        for (int x = 0; x < glyph.Width; ++x) {
            out[x] = grey ? row[x] : (((row[x >> 3] >> (7 - (x & 7))) & 1) != 0 ? 255 : 0);
        }
    }
    return glyph;
}
