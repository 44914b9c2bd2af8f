#pragma once

#include "Drawing.h"
#include "PrintDrawing.h"

#include <string>

// The SVG 1.1 document of a recorded drawing over an image of width × height pixels. One user
// unit is one pixel of the raster; the document's width and height state the image's physical
// size, scale times its pixels at dpi, in millimetres. Rectangles and polygons are the ones the
// raster filled; a text is the font's family and pixel size with each character placed where
// the raster put its glyph, clipped as the raster clipped it.
std::string SvgDocument(const TDrawing& drawing, int width, int height, int scale, int dpi);

// The SVG 1.1 document of a print drawing, one user unit being one unit of the drawing. Its width
// and height are in millimetres, the page grown by less than a pixel to whole pixels at dpi, so
// that a renderer at that resolution draws it into whole pixels; the rectangles and glyphs keep
// their exact places, each glyph where the drawing puts it.
std::string PrintDrawingSvg(const TPrintDrawing& drawing, int dpi);
