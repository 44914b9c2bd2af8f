#pragma once

#include <cstdint>
#include <vector>

class TBitmap;
struct TPrintDrawing;

// The PNG file of an image with pixels, each pixel repeated scale × scale, its pHYs chunk
// stating dpi. An image of black and white pixels only is written as 1-bit greyscale, any other
// as 8-bit RGB; both keep every pixel exactly.
std::vector<std::uint8_t> EncodePng(const TBitmap& image, int scale, int dpi);

// The 1-bit PNG file of a print drawing's raster (TPrintRaster), its pHYs chunk stating dpi.
std::vector<std::uint8_t> EncodePrintPng(const TPrintDrawing& drawing, int dpi);
