#pragma once

#include "Color.h"
#include "Graphics.h"
#include "Types.h"

#include <cstdint>
#include <optional>
#include <string_view>

class TBitmap;
class TCanvas;

// Pixel operations of the skinned controls. Pixels are 0x00RRGGBB; every operation works on the
// three channels alike.

// n / d rounded to the nearest integer, halves to the even one (n >= 0, d > 0).
inline constexpr std::uint32_t DivRoundEven(std::uint32_t n, std::uint32_t d) {
    const std::uint32_t q = n / d;
    const std::uint32_t r2 = 2 * (n % d);
    return q + ((r2 > d || (r2 == d && (q & 1))) ? 1 : 0);
}

// Every channel of `dest` becomes S + (D - S) * weight / 256, rounded, so that dest keeps
// weight/256 of itself. Nothing happens unless both images have the same size.
void BlendBitmap(TBitmap& dest, const TBitmap& source, int weight);

// Mixes the colour into the rectangle, whose right and bottom are inclusive here and which is
// clamped to the image: v * p / 100 + colour * (1 - p / 100), rounded, per channel.
void BlendColor(TBitmap& image, TRect rect, int transparency, TColor color);

// The picture at the scale, each pixel repeated: for pictures with no shape to draw again.
TBitmap ScaledCopy(const TBitmap& picture, double scale);

// Fills the half-open rectangle, clipped to the image, with the colour.
void FillDC(TBitmap& image, const TRect& rect, TColor color);

// Tiles the picture over the rectangle from its top-left corner; the last column and row of
// tiles are cut to what is left of the rectangle.
void TileBitmap(TBitmap& image, const TRect& rect, const TBitmap& tile);

// Copies the source to (x, y), clipped to the image, leaving out the pixels of the transparent
// colour when there is one.
void CopyTransparent(TBitmap& image, int x, int y, const TBitmap& source,
                     std::optional<TColor> transparent);

// Draws a control's caption anti-aliased with the canvas's font: as it is while the control is
// enabled, embossed while it is disabled (one control pixel, `shift` device pixels, right and
// down in the button highlight colour, then in place in the button shadow colour). The canvas
// keeps its text mode.
void DrawControlText(TCanvas& canvas, std::string_view text, const TRect& rect, unsigned format,
                     bool enabled, int shift);

// The colour of the bottom-left pixel: the transparent colour of a glyph or mask.
TColor BottomLeftColor(const TBitmap& image);
