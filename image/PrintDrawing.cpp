#include "PrintDrawing.h"

#include "Bitmap.h"
#include "Canvas.h"
#include "ScalableFont.h"

#include <cmath>

namespace {

int Whole(double v) {
    return static_cast<int>(std::lround(v));
}

void DrawGlyph(TBitmap& image, const TGlyph& glyph, int x, int y) {
    for (int row = 0; row < glyph.Rows; ++row) {
        const int py = y - glyph.Top + row;
        if (py < 0 || py >= image.Height()) {
            continue;
        }
        std::uint32_t* line = image.ScanLine(py);
        for (int column = 0; column < glyph.Width; ++column) {
            const int px = x + glyph.Left + column;
            if (px >= 0 && px < image.Width() &&
                glyph.Mask[static_cast<std::size_t>(row) * glyph.Width + column] != 0) {
                line[px] = 0;
            }
        }
    }
}

} // namespace

void RasterisePrintDrawing(const TPrintDrawing& drawing, TBitmap& image) {
    TCanvas& canvas = image.Canvas();
    // New pixels take the brush's colour: white, allocated once.
    canvas.Brush() = TBrush{};
    image.SetWidth(0);
    image.SetHeight(static_cast<int>(std::ceil(drawing.Height)));
    image.SetWidth(static_cast<int>(std::ceil(drawing.Width)));
    canvas.Brush().Color = clBlack;
    for (const TPrintRect& r : drawing.Rects) {
        canvas.FillRect({Whole(r.X), Whole(r.Y), Whole(r.X + r.Width), Whole(r.Y + r.Height)});
    }
    for (const TPrintText& text : drawing.Texts) {
        for (std::size_t i = 0; i < text.Chars.size(); ++i) {
            DrawGlyph(image, text.Font->Glyph(text.Chars[i], text.Size), Whole(text.X[i]),
                      Whole(text.Baseline));
        }
    }
}
