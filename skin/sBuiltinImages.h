#pragma once

#include "sConst.h"

#include <string_view>

class TBitmap;

// The images built into the program: the border masks "BORD1" to "BORD6" (a 9 × 6 grid of
// cells: normal, hot and pressed blocks of three columns; colour rows above, alpha rows below)
// and the check and radio glyphs "CCC", "CUC", "CCH", "CUH", "RCC", "RUC", "RCH", "RUH". They
// are drawn here by code on first use rather than loaded from resource files, so the artwork
// is readable and versioned as source; each is made once and kept for the life of the process.
// The transparent colour of every image is its bottom-left pixel (magenta). At a scale (a
// screen's device pixel ratio) the same shapes are drawn that much larger, with the finer edges
// the pixels allow.

const TBitmap& BorderMask(TsPredefinedBorders which, double scale = 1); // pdBorder1..pdBorder6
// Check box glyphs are 16 × 16, radio glyphs 14 × 14, times the scale.
const TBitmap& CheckGlyph(bool radio, bool checked, bool hot, double scale = 1);
// One of the images above by its resource name, or null.
const TBitmap* BuiltinImage(std::string_view name);
