#include "sBorders.h"

#include "Bitmap.h"
#include "Graphics.h"

#include <algorithm>
#include <cmath>

namespace {

struct TPiece {
    TBitmap& Face;
    const TBitmap& Mask;
    int AlphaOffset; // rows from a colour cell down to its alpha cell
    std::uint32_t Transparent;
    std::vector<TRect>* Cut;
    std::optional<std::uint32_t> Outside;
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
            if (cut && p.Outside) {
                out[col] = *p.Outside;
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
                     std::vector<TRect>* cut, std::optional<TColor> outside) {
    const int width = face.Width();
    const int height = face.Height();
    const int cw = mask.Width() / 9;
    const int ch = mask.Height() / 6;
    if (width < 3 || height < 3 || cw == 0 || ch == 0) {
        return;
    }
    std::optional<std::uint32_t> outsidePixel;
    if (outside) {
        outsidePixel = ColorToPixel(*outside);
    }
    const TPiece piece{face, mask, 3 * ch, ColorToPixel(transparent), cut, outsidePixel};
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

std::vector<TRect> ControlPixelsCut(const std::vector<TRect>& deviceCut, int width, int height,
                                    double scale) {
    const int deviceWidth = DeviceLength(width, scale);
    const int deviceHeight = DeviceLength(height, scale);
    std::vector<bool> isCut(static_cast<std::size_t>(deviceWidth) * deviceHeight, false);
    for (const TRect& r : deviceCut) {
        for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, deviceHeight); ++y) {
            for (int x = std::max(r.Left, 0); x < std::min(r.Right, deviceWidth); ++x) {
                isCut[static_cast<std::size_t>(y) * deviceWidth + x] = true;
            }
        }
    }
    // The device pixels a control pixel's square touches.
    const auto first = [scale](int at) { return static_cast<int>(std::floor(at * scale)); };
    const auto last = [scale](int at, int limit) {
        return std::min(static_cast<int>(std::ceil((at + 1) * scale)), limit) - 1;
    };
    std::vector<TRect> runs;
    for (int y = 0; y < height; ++y) {
        int runStart = -1;
        for (int x = 0; x <= width; ++x) {
            bool whole = x < width;
            for (int dy = first(y); whole && dy <= last(y, deviceHeight); ++dy) {
                for (int dx = first(x); whole && dx <= last(x, deviceWidth); ++dx) {
                    whole = isCut[static_cast<std::size_t>(dy) * deviceWidth + dx];
                }
            }
            if (whole && runStart < 0) {
                runStart = x;
            }
            if (!whole && runStart >= 0) {
                runs.push_back({runStart, y, x, y + 1});
                runStart = -1;
            }
        }
    }
    return runs;
}
