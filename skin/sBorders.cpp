#include "sBorders.h"

#include "Bitmap.h"

#include <algorithm>

namespace {

struct TPiece {
    TBitmap& Face;
    const TBitmap& Mask;
    int AlphaOffset; // rows from a colour cell down to its alpha cell
    std::uint32_t Transparent;
    std::vector<TRect>* Cut;
};

// Draws the mask area starting at (sx, sy), w × h pixels, at (dx, dy) of the face.
void DrawPiece(const TPiece& p, int dx, int dy, int sx, int sy, int w, int h, bool edge) {
    for (int row = 0; row < h; ++row) {
        const std::uint32_t* colour = p.Mask.ScanLine(sy + row) + sx;
        const std::uint32_t* alpha = p.Mask.ScanLine(sy + row + p.AlphaOffset) + sx;
        std::uint32_t* out = p.Face.ScanLine(dy + row) + dx;
        int runStart = -1;
        for (int col = 0; col <= w; ++col) {
            const bool cut = col < w && edge && colour[col] == p.Transparent;
            if (cut && runStart < 0) {
                runStart = col;
            }
            if (!cut && runStart >= 0) {
                if (p.Cut != nullptr) {
                    p.Cut->push_back({dx + runStart, dy + row, dx + col, dy + row + 1});
                }
                runStart = -1;
            }
            if (col == w || cut) {
                continue;
            }
            std::uint32_t mixed = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const std::uint32_t m = (colour[col] >> shift) & 0xFF;
                const std::uint32_t a = (alpha[col] >> shift) & 0xFF;
                const std::uint32_t b = (out[col] >> shift) & 0xFF;
                mixed |= ((m * (256 - a) + b * a) >> 8) << shift;
            }
            out[col] = mixed;
        }
    }
}

// Tiles a cell along [from, to) in steps of `step`; the last piece is the cell's leading part.
template <class Draw> void Tile(int from, int to, int step, Draw draw) {
    for (int at = from; at < to; at += step) {
        draw(at, std::min(step, to - at));
    }
}

} // namespace

void ApplyBorderMask(TBitmap& face, const TBitmap& mask, int state, TColor transparent,
                     std::vector<TRect>* cut) {
    const int width = face.Width();
    const int height = face.Height();
    const int cw = mask.Width() / 9;
    const int ch = mask.Height() / 6;
    if (width < 3 || height < 3 || cw == 0 || ch == 0) {
        return;
    }
    const TPiece piece{face, mask, 3 * ch, ColorToPixel(transparent), cut};
    const int bx = 3 * cw * std::clamp(state, 0, 2);
    // Corners of a small face share it: the right and bottom ones take the odd pixel.
    int left = cw;
    int right = cw;
    if (width < 2 * cw) {
        left = width / 2;
        right = width / 2 + width % 2;
    }
    int top = ch;
    int bottom = ch;
    if (height < 2 * ch) {
        top = height / 2;
        bottom = height / 2 + height % 2;
    }
    // Corner pieces keep the outer part of their cells.
    DrawPiece(piece, 0, 0, bx, 0, left, top, true);
    DrawPiece(piece, width - right, 0, bx + 3 * cw - right, 0, right, top, true);
    DrawPiece(piece, 0, height - bottom, bx, 3 * ch - bottom, left, bottom, true);
    DrawPiece(piece, width - right, height - bottom, bx + 3 * cw - right, 3 * ch - bottom, right,
              bottom, true);
    Tile(left, width - right, cw, [&](int x, int w) {
        DrawPiece(piece, x, 0, bx + cw, 0, w, top, true);
        DrawPiece(piece, x, height - bottom, bx + cw, 3 * ch - bottom, w, bottom, true);
    });
    Tile(top, height - bottom, ch, [&](int y, int h) {
        DrawPiece(piece, 0, y, bx, ch, left, h, true);
        DrawPiece(piece, width - right, y, bx + 3 * cw - right, ch, right, h, true);
    });
    Tile(top, height - bottom, ch, [&](int y, int h) {
        Tile(left, width - right, cw,
             [&](int x, int w) { DrawPiece(piece, x, y, bx + cw, ch, w, h, false); });
    });
}
