#pragma once

#include "Bitmap.h"
#include "Drawing.h"
#include "Graphics.h"
#include "TextLayout.h"
#include "Types.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

class TFontFace;

// How text is drawn. Two-colour text sets whole pixels to the font colour, so an image holds only
// the colours drawn into it (the code image); anti-aliased text blends the font colour over
// what lies beneath by FreeType's grey levels, as a desktop draws its labels.
enum class TTextMode : std::uint8_t { tmTwoColour, tmAntialiased };

// Draws into the pixels of one TBitmap. Coordinates are pixels, x to the right and y downwards
// from the top-left pixel; everything is clipped to the image. While the image records, the
// fills, polygons and texts are also kept as shapes, exactly as they were painted, but for those
// wholly outside the image and a text's characters whose glyphs cannot reach into it; the other
// operations, a polygon's outline and underlined or struck-out text end the recording.
class TCanvas {
public:
    explicit TCanvas(TBitmap& target) : FTarget(target) {}

    TPen& Pen() { return FPen; }
    TBrush& Brush() { return FBrush; }
    TFont& Font() { return FFont; }
    TPoint PenPos() const { return FPenPos; }
    TTextMode TextMode() const { return FTextMode; }
    void SetTextMode(TTextMode v) { FTextMode = v; }
    void MoveTo(int x, int y) { FPenPos = {x, y}; }
    // Whether a fill within bounds (right and bottom exclusive) can paint a pixel of the image.
    bool Reaches(const TRect& bounds) const;
    // Takes over all of other's attributes: pen, brush, font, pen position and text mode.
    void TakeAttributes(const TCanvas& other) {
        FPen = other.FPen;
        FBrush = other.FBrush;
        FFont = other.FFont;
        FPenPos = other.FPenPos;
        FTextMode = other.FTextMode;
    }

    // Paints left <= x < right, top <= y < bottom with the brush; a clear brush paints nothing.
    void FillRect(const TRect& rect);
    // Starts the image's recording and paints the whole image as FillRect does. When the
    // recording until now began with that very fill, only what its shapes cover is painted
    // over: the same pixels for a fraction of the work.
    void Clear();
    // Paints the rectangle with the brush unless it is clear, then the text clipped to it.
    void TextRect(const TRect& rect, int x, int y, std::string_view text);
    // Draws text with its top-left corner at (x, y), over a brush-coloured cell when the brush is
    // solid; the pen position moves to the text's end.
    void TextOut(int x, int y, std::string_view text);
    int TextWidth(std::string_view text);
    int TextHeight();
    // Lays the text out in the rectangle by the TTextFormat flags and draws it line by line,
    // each line placed by DT_LEFT, DT_CENTER or DT_RIGHT; a single line is placed vertically by
    // DT_VCENTER or DT_BOTTOM, more lines start at the top. The text is clipped to the rectangle
    // unless DT_NOCLIP; a solid brush paints each line's cell first. With DT_CALCRECT nothing is
    // drawn and the rectangle's right and bottom become those of the laid-out text. Returns the
    // height of the text.
    int DrawText(std::string_view text, TRect& rect, unsigned format);
    // The dotted focus frame: every other pixel of the rectangle's outline is inverted, starting
    // with the top-left corner, so drawing it twice restores the image.
    void DrawFocusRect(const TRect& rect);
    // The same frame `lines` pixels thick, each line inside the one before: one line of a control
    // drawn in device pixels.
    void DrawFocusRect(const TRect& rect, int lines);

    // Fills the closed polygon with the brush (alternate rule, pixel centres inside, so an
    // axis-aligned polygon from x1 to x2 and y1 to y2 fills columns x1..x2-1 and rows y1..y2-1),
    // then, with a solid pen, outlines it one pixel wide including the right and bottom edges.
    void Polygon(std::span<const TPoint> points);
    // Polygon for each quadrilateral in turn, with the pen and the brush in its colour, and the
    // pen and the brush left in the last one's colour. When the pen is clear, the brush solid and
    // every quadrilateral an axis-aligned rectangle, the same pixels are painted row by row, each
    // row once, and a row that the same rectangles cover as the row above is copied from it.
    void Polygons(std::span<const std::array<TPoint, 4>> quads, std::span<const TColor> colours);

    // Copies the source rectangle of another canvas into dest, stretching by nearest pixel.
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

private:
    void FillSpan(int y, int x0, int x1, std::uint32_t pixel);
    void FillClipped(TRect rect, std::uint32_t pixel);
    // FillClipped, kept as a shape while the image records.
    void FillRecorded(const TRect& rect, std::uint32_t pixel);
    // The rectangles, clipped, painted over each other in order, row by row.
    void FillRectsByRows(std::span<const TDrawnRect> rects);
    void PlotPen(long long x, long long y, std::uint32_t pixel);
    void DrawLine(TPoint from, TPoint to, std::uint32_t pixel);
    void FillPolygonInterior(std::span<const TPoint> points, std::uint32_t pixel);
    static int TextWidth(TFontFace& face, std::u32string_view chars);
    void DrawGlyphs(int x, int y, std::u32string_view text, TFontFace& face, const TRect& clip);
    // TextRect's work, for text already decoded into chars and its face.
    void PaintText(const TRect& rect, int x, int y, std::string_view text,
                   std::u32string_view chars, TFontFace& face);
    void InvertPixel(int x, int y);
    void Record(TDrawnShape shape);
    // The text's cell at (x, y) clipped to clip, as DrawGlyphs paints it, from the first to the
    // last character whose glyph can reach into the image.
    void RecordText(int x, int y, const TRect& clip, std::string_view text,
                    std::u32string_view chars, TFontFace& face);
    void EndRecording() { FTarget.StopRecording(); }

    TBitmap& FTarget;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    TPoint FPenPos;
    TTextMode FTextMode = TTextMode::tmTwoColour;
};
