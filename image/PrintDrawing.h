#pragma once

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

// The image becomes the drawing with one pixel per unit: white, the rectangles black from their
// rounded edges, each glyph in two colours at its rounded origin. The image is as large as the
// drawing, rounded up.
void RasterisePrintDrawing(const TPrintDrawing& drawing, TBitmap& image);
