#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TBitmap;
class TScalableFont;

// A black rectangle of a print drawing: left, top, width and height in the drawing's units.
struct TPrintRect {
    double X = 0;
    double Y = 0;
    double Width = 0;
    double Height = 0;
    friend bool operator==(const TPrintRect&, const TPrintRect&) = default;
};

// A line of black text: each character's glyph origin on the baseline, the font's em square
// Size units high.
struct TPrintText {
    TScalableFont* Font = nullptr;
    double Size = 0;
    double Baseline = 0;
    std::u32string Chars;
    std::vector<double> X;
};

// What is printed: black rectangles and texts on a white page of Width × Height units, each unit
// Millimetres long. A vector file draws it as it stands; a raster draws it with one pixel per
// unit, so a drawing meant for a raster has its rectangles on whole units.
struct TPrintDrawing {
    double Millimetres = 1;
    double Width = 0;
    double Height = 0;
    std::vector<TPrintRect> Rects;
    std::vector<TPrintText> Texts;
};

struct TGlyph;

// The drawing with one pixel per unit, a row at a time: white, the rectangles black from their
// rounded edges, each glyph in two colours at its rounded origin; as large as the drawing,
// rounded up. Rows come as packed bits, the leftmost pixel in the top bit, 1 white and 0 black,
// as a 1-bit greyscale file holds them; a row that only rectangles cross, the same ones as the
// row above, is that row again, worked out once.
class TPrintRaster {
public:
    explicit TPrintRaster(const TPrintDrawing& drawing);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Row y of the rows asked for top to bottom; valid until the next one is asked for.
    const std::uint8_t* Row(int y);

private:
    struct TRun {
        int Left;
        int Top;
        int Right;
        int Bottom;
    };
    struct TPlacedGlyph {
        const TGlyph* Glyph;
        int X;
        int Y;
    };
    void Paint(int y);

    int FWidth;
    int FHeight;
    std::vector<TRun> FRects;
    std::vector<TPlacedGlyph> FGlyphs;
    // Whether a row is painted afresh: its rectangles are not those of the row above, or glyphs
    // cross it.
    std::vector<bool> FFresh;
    std::vector<std::uint8_t> FRow;
    int FPainted = -1;
};

// The image becomes the drawing as TPrintRaster draws it, black and white.
void RasterisePrintDrawing(const TPrintDrawing& drawing, TBitmap& image);
