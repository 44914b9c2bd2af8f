#pragma once

#include "Bitmap.h"

// The browse buttons' glyphs, 16 × 16, transparent where they show their bottom-left pixel's
// colour: a page for the file name box, a folder for the directory box.
TBitmap FileGlyph();
TBitmap FolderGlyph();
