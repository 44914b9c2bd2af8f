#pragma once

#include "Drawing.h"

#include <string>

// The SVG 1.1 document of a recorded drawing over an image of width × height pixels. One user
// unit is one pixel of the raster; the document's width and height state the image's physical
// size, scale times its pixels at dpi, in millimetres. Rectangles and polygons are the ones the
// raster filled; a text is the font's family and pixel size with each character placed where
// the raster put its glyph, clipped as the raster clipped it.
std::string SvgDocument(const TDrawing& drawing, int width, int height, int scale, int dpi);
