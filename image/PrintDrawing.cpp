#include "PrintDrawing.h"

#include "Bitmap.h"
#include "FontFace.h"
#include "ScalableFont.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

int Whole(double v) {
    return static_cast<int>(std::lround(v));
}

// Sets bit x of a packed row to 0, black.
void ClearBit(std::uint8_t* row, int x) {
    row[x / 8] &= static_cast<std::uint8_t>(~(0x80u >> (x % 8)));
}

// Sets bits from..to-1 to 0, whole bytes at once.
void ClearBits(std::uint8_t* row, int from, int to) {
    for (int x = from; x < to;) {
        if (x % 8 == 0 && x + 8 <= to) {
            const int bytes = (to - x) / 8;
            std::fill_n(row + x / 8, bytes, std::uint8_t{0});
            x += 8 * bytes;
        } else {
            ClearBit(row, x++);
        }
    }
}

} // namespace

TPrintRaster::TPrintRaster(const TPrintDrawing& drawing)
    : FWidth(static_cast<int>(std::ceil(drawing.Width))),
      FHeight(static_cast<int>(std::ceil(drawing.Height))),
      FFresh(static_cast<std::size_t>(std::max(FHeight, 0)), false),
      FRow(static_cast<std::size_t>(std::max(FWidth, 0) + 7) / 8) {
    const auto clampedRow = [&](int y) { return std::clamp(y, 0, FHeight); };
    const auto mark = [&](int from, int to) {
        for (int y = clampedRow(from); y < clampedRow(to); ++y) {
            FFresh[y] = true;
        }
    };
    for (const TPrintRect& r : drawing.Rects) {
        const TRun run{std::clamp(Whole(r.X), 0, FWidth), Whole(r.Y),
                       std::clamp(Whole(r.X + r.Width), 0, FWidth), Whole(r.Y + r.Height)};
        if (run.Left < run.Right && run.Top < run.Bottom) {
            FRects.push_back(run);
            mark(run.Top, run.Top + 1);
            mark(run.Bottom, run.Bottom + 1);
        }
    }
    for (const TPrintText& text : drawing.Texts) {
        for (std::size_t i = 0; i < text.Chars.size(); ++i) {
            const TGlyph& glyph = text.Font->Glyph(text.Chars[i], text.Size);
            FGlyphs.push_back(
                {&glyph, Whole(text.X[i]) + glyph.Left, Whole(text.Baseline) - glyph.Top});
            // The row below the glyph differs from its last one too.
            mark(FGlyphs.back().Y, FGlyphs.back().Y + glyph.Rows + 1);
        }
    }
    if (FHeight > 0) {
        FFresh[0] = true;
    }
}

void TPrintRaster::Paint(int y) {
    std::fill(FRow.begin(), FRow.end(), std::uint8_t{0xFF});
    for (const TRun& r : FRects) {
        if (r.Top <= y && y < r.Bottom) {
            ClearBits(FRow.data(), r.Left, r.Right);
        }
    }
    for (const TPlacedGlyph& g : FGlyphs) {
        const int row = y - g.Y;
        if (row < 0 || row >= g.Glyph->Rows) {
            continue;
        }
        const std::uint8_t* mask =
            g.Glyph->Mask.data() + static_cast<std::size_t>(row) * g.Glyph->Width;
        for (int column = 0; column < g.Glyph->Width; ++column) {
            const int x = g.X + column;
            if (mask[column] != 0 && x >= 0 && x < FWidth) {
                ClearBit(FRow.data(), x);
            }
        }
    }
}

const std::uint8_t* TPrintRaster::Row(int y) {
    if (FFresh[y] || FPainted != y - 1) {
        Paint(y);
    }
    FPainted = y;
    return FRow.data();
}

void RasterisePrintDrawing(const TPrintDrawing& drawing, TBitmap& image) {
    TPrintRaster raster(drawing);
    image.SetWidth(raster.Width());
    image.SetHeight(raster.Height());
    for (int y = 0; y < raster.Height(); ++y) {
        const std::uint8_t* bits = raster.Row(y);
        std::uint32_t* line = image.ScanLine(y);
        for (int x = 0; x < raster.Width(); ++x) {
            line[x] = (bits[x / 8] >> (7 - x % 8)) & 1 ? ColorToPixel(clWhite) : 0;
        }
    }
    image.Changed();
}
