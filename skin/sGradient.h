#pragma once

#include "Color.h"
#include "Types.h"

#include <cstdint>
#include <string_view>
#include <vector>

class TBitmap;

// One band of a gradient.
struct TsGradientSegment {
    TColor Color1 = 0;
    TColor Color2 = 0;
    std::uint8_t Percent = 0;   // band length in percent of the painted height (width)
    std::int32_t Direction = 0; // 0 top to bottom, 1 left to right; the first band's counts
    std::uint32_t Spare = 0;
    friend bool operator==(const TsGradientSegment&, const TsGradientSegment&) = default;
};

using TsGradArray = std::vector<TsGradientSegment>;

// Parses a gradient data string: ';'-separated decimal numbers, five a band (first colour,
// second colour, percent, direction, and one that nobody reads); empty words are skipped and an
// incomplete last group is ignored. A word that is not an integer raises
// "'%s' is not a valid integer value"; `into` then already has its new length and the fields
// converted so far, the others zero.
void ParseGradientData(std::string_view data, TsGradArray& into);

// Paints the bands into the rectangle of the image, clipped to the image: top to bottom
// (direction 0) or left to right (direction 1), each band from its first to its second colour,
// the last one always reaching the far edge. Nothing for no bands or another direction.
void PaintGrad(TBitmap& image, TRect rect, const TsGradArray& segments);
