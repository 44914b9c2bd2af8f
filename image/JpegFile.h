#pragma once

#include <cstdint>
#include <vector>

class TBitmap;

// The JPEG (JFIF) file of an image with pixels, each pixel repeated scale × scale: quality 100,
// no chroma subsampling, the density stated as dpi dots per inch.
std::vector<std::uint8_t> EncodeJpeg(const TBitmap& image, int scale, int dpi);
