#pragma once

#include "FontFace.h"
#include "Graphics.h"

#include <string>

struct FT_FaceRec_;
struct FT_GlyphSlotRec_;

// Where a font lives: a file and the index of the face in it.
struct TFontFile {
    std::string Path;
    int Index = 0;
};

// The scalable face fontconfig chooses for a font's name and bold/italic style. The classic
// dialog fonts ("MS Sans Serif", "Tahoma") stand for DejaVu Sans, the desktop's plain sans face;
// a family that is not installed falls back to the sans-serif face.
TFontFile MatchFontFile(const TFont& font);

// Opens a face of the file with the process's one FreeType library, or raises "Cannot load font
// %s". Faces may be opened from several threads; each face is then used by one at a time.
FT_FaceRec_* OpenFontFace(const TFontFile& file);

// The glyph FreeType rendered into the slot, in two colours (mono) or grey levels, as a TGlyph.
void TakeRenderedGlyph(const FT_GlyphSlotRec_* slot, bool grey, TGlyph& glyph);
