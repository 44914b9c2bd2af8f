#include "FontFiles.h"

#include "Exception.h"
#include "FontCache.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>
#include <optional>
#include <string>

namespace {

bool IsDialogFontName(const std::string& name) {
    return name == "MS Sans Serif" || name == "Microsoft Sans Serif" || name == "Tahoma";
}

// Releases fontconfig's own caches when the process ends.
struct FontConfigSession {
    FontConfigSession() { FcInit(); }
    ~FontConfigSession() { FcFini(); }
};

// Never released: the caches of faces close their faces when the process ends, which needs the
// library still there, whatever the order in which static objects go.
FT_Library FreeType() {
    static const FT_Library library = [] {
        FT_Library created = nullptr;
        if (FT_Init_FreeType(&created) != 0) {
            throw Exception("Cannot initialise the font rasteriser");
        }
        return created;
    }();
    return library;
}

} // namespace

TFontFile MatchFontFile(const TFont& font) {
    static std::mutex lock;
    const std::lock_guard guard(lock);
    const std::string family = IsDialogFontName(font.Name) ? "DejaVu Sans" : font.Name;
    const int weight = (font.Style & fsBold) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
    const int slant = (font.Style & fsItalic) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN;
    // Reading fontconfig's configuration takes most of a short run: its answer from an earlier
    // run is taken while nothing it depends on has changed.
    static TFontCache cache(TFontCache::DefaultFile(), TFontCache::CurrentStamp());
    std::string request = family;
    request += ':';
    request += std::to_string(weight);
    request += ':';
    request += std::to_string(slant);
    if (const std::optional<TFontFile> found = cache.Find(request)) {
        return *found;
    }
    static FontConfigSession fontconfig;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight);
    FcPatternAddInteger(pattern, FC_SLANT, slant);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    TFontFile file;
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
    cache.Keep(request, file);
    return file;
}

FT_FaceRec_* OpenFontFace(const TFontFile& file) {
    // FreeType's library object is not safe for faces opened at the same time.
    static std::mutex lock;
    const std::lock_guard guard(lock);
    FT_Face face = nullptr;
    if (FT_New_Face(FreeType(), file.Path.c_str(), file.Index, &face) != 0) {
        throw Exception("Cannot load font " + file.Path);
    }
    return face;
}

void TakeRenderedGlyph(const FT_GlyphSlotRec_* slot, bool grey, TGlyph& glyph) {
    const FT_Bitmap& bm = slot->bitmap;
    glyph.Left = slot->bitmap_left;
    glyph.Top = slot->bitmap_top;
    glyph.Width = static_cast<int>(bm.width);
    glyph.Rows = static_cast<int>(bm.rows);
    glyph.Advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.Mask.resize(static_cast<std::size_t>(glyph.Width) * glyph.Rows);
    for (int y = 0; y < glyph.Rows; ++y) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        std::uint8_t* out = glyph.Mask.data() + static_cast<std::size_t>(y) * glyph.Width;
        for (int x = 0; x < glyph.Width; ++x) {
            out[x] = grey ? row[x] : (((row[x >> 3] >> (7 - (x & 7))) & 1) != 0 ? 255 : 0);
        }
    }
}
