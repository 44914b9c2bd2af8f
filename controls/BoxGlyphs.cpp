#include "BoxGlyphs.h"

#include <array>
#include <string_view>

namespace {

using TGlyphArt = std::array<std::string_view, 16>;

// Drawn here, one character a pixel, so the program carries no image files.
constexpr TGlyphArt PageArt = {
    "................", //
    "..#########.....", //
    "..#wwwwwww##....", //
    "..#wwwwwww#w#...", //
    "..#wwwwwww#ww#..", //
    "..#wwwwwww#####.", //
    "..#wwwwwwwwwww#.", //
    "..#wkkkkkkkkww#.", //
    "..#wwwwwwwwwww#.", //
    "..#wkkkkkkkkww#.", //
    "..#wwwwwwwwwww#.", //
    "..#wkkkkkkkkww#.", //
    "..#wwwwwwwwwww#.", //
    "..#wkkkkkwwwww#.", //
    "..#wwwwwwwwwww#.", //
    "..#############.", //
};

constexpr TGlyphArt FolderArt = {
    "................", //
    "................", //
    "................", //
    ".#####..........", //
    "#lllll#.........", //
    "#lyyyyy#######..", //
    "#lyyyyyyyyyyyy#.", //
    "#lyyyyyyyyyyyy#o", //
    "#lyyyyyyyyyyyy#o", //
    "#lyyyyyyyyyyyy#o", //
    "#lyyyyyyyyyyyy#o", //
    "#lyyyyyyyyyyyy#o", //
    "#lyyyyyyyyyyyy#o", //
    "###############o", //
    ".oooooooooooooo.", //
    "................", //
};

TColor ArtColor(char ch) {
    switch (ch) {
    case '#':
        return clBlack;
    case 'w':
        return clWhite;
    case 'k':
        return clGray;
    case 'l':
        return 0x80FFFF; // light yellow
    case 'y':
        return 0x00C8F0; // folder yellow
    case 'o':
        return clSilver;
    default:
        return clFuchsia; // transparent
    }
}

TBitmap GlyphFromArt(const TGlyphArt& art) {
    TBitmap glyph;
    glyph.SetWidth(16);
    glyph.SetHeight(16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            glyph.ScanLine(y)[x] = ColorToPixel(ArtColor(art[y][x]));
        }
    }
    return glyph;
}

} // namespace

TBitmap FileGlyph() {
    return GlyphFromArt(PageArt);
}

TBitmap FolderGlyph() {
    return GlyphFromArt(FolderArt);
}
