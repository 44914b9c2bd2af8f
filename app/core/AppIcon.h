#pragma once

class TBitmap;

// The program's icon, drawn with its own engine rather than copied from any artwork: a Code 128
// symbol of "Q" on a white label under an ink-blue band.
//
// Paints the whole of a square bitmap. From 64 pixels up the symbol fits with its quiet zones;
// its module is one pixel per 64 of the side.
void PaintAppIcon(TBitmap& icon);
