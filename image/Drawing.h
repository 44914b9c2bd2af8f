#pragma once

#include "Graphics.h"
#include "Types.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// What a canvas was asked to draw, kept as shapes in the order they were painted, so that a
// vector file comes from the very operations that made the pixels. Colours are the pixel values
// the raster got (0x00RRGGBB).

// Fills left <= x < right, top <= y < bottom.
struct TDrawnRect {
    TRect Rect;
    std::uint32_t Color = 0;
    friend bool operator==(const TDrawnRect&, const TDrawnRect&) = default;
};

// Fills the closed polygon, alternate rule.
struct TDrawnPolygon {
    std::vector<TPoint> Points;
    std::uint32_t Color = 0;
    friend bool operator==(const TDrawnPolygon&, const TDrawnPolygon&) = default;
};

// Glyphs of the font, the text cell's top-left corner at Origin, clipped to Clip.
struct TDrawnText {
    TFont Font;
    TPoint Origin;
    TRect Clip;
    std::string Text;
    std::uint32_t Color = 0;
    friend bool operator==(const TDrawnText&, const TDrawnText&) = default;
};

using TDrawnShape = std::variant<TDrawnRect, TDrawnPolygon, TDrawnText>;
using TDrawing = std::vector<TDrawnShape>;
