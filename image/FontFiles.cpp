#include "FontFiles.h"

#include "Exception.h"
#include "FontCache.h"
#include "LoadedLibrary.h"

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

// The fontconfig functions the lookup calls, found in the library when a font is looked up that
// the cache does not hold. Its own caches are released when the process ends.
struct TFontConfig {
    decltype(&FcInit) Init;
    decltype(&FcFini) Fini;
    decltype(&FcPatternCreate) PatternCreate;
    decltype(&FcPatternAddString) AddString;
    decltype(&FcPatternAddInteger) AddInteger;
    decltype(&FcPatternAddBool) AddBool;
    decltype(&FcConfigSubstitute) Substitute;
    decltype(&FcDefaultSubstitute) DefaultSubstitute;
    decltype(&FcFontMatch) Match;
    decltype(&FcPatternGetString) GetString;
    decltype(&FcPatternGetInteger) GetInteger;
    decltype(&FcPatternDestroy) PatternDestroy;

    TFontConfig() {
        const TLoadedLibrary library("libfontconfig.so.1", "Cannot look fonts up");
        library.Find(Init, "FcInit");
        library.Find(Fini, "FcFini");
        library.Find(PatternCreate, "FcPatternCreate");
        library.Find(AddString, "FcPatternAddString");
        library.Find(AddInteger, "FcPatternAddInteger");
        library.Find(AddBool, "FcPatternAddBool");
        library.Find(Substitute, "FcConfigSubstitute");
        library.Find(DefaultSubstitute, "FcDefaultSubstitute");
        library.Find(Match, "FcFontMatch");
        library.Find(GetString, "FcPatternGetString");
        library.Find(GetInteger, "FcPatternGetInteger");
        library.Find(PatternDestroy, "FcPatternDestroy");
        Init();
    }
    ~TFontConfig() { Fini(); }
    TFontConfig(const TFontConfig&) = delete;
    TFontConfig& operator=(const TFontConfig&) = delete;
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
    static const TFontConfig fc;
    FcPattern* pattern = fc.PatternCreate();
    fc.AddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    fc.AddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    fc.AddInteger(pattern, FC_WEIGHT, weight);
    fc.AddInteger(pattern, FC_SLANT, slant);
    fc.AddBool(pattern, FC_SCALABLE, FcTrue);
    fc.Substitute(nullptr, pattern, FcMatchPattern);
    fc.DefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = fc.Match(nullptr, pattern, &result);
    fc.PatternDestroy(pattern);
    TFontFile file;
    FcChar8* path = nullptr;
    if (match != nullptr && fc.GetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        file.Path = reinterpret_cast<const char*>(path);
        fc.GetInteger(match, FC_INDEX, 0, &file.Index);
    }
    if (match != nullptr) {
        fc.PatternDestroy(match);
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
