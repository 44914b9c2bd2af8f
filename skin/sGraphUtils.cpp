#include "sGraphUtils.h"

#include "Bitmap.h"
#include "Canvas.h"

#include <algorithm>

void BlendBitmap(TBitmap& dest, const TBitmap& source, int weight) {
    if (dest.Width() != source.Width() || dest.Height() != source.Height()) {
        return;
    }
    const auto t = static_cast<std::uint32_t>(std::clamp(weight, 0, 255));
    for (int y = 0; y < dest.Height(); ++y) {
        std::uint32_t* d = dest.ScanLine(y);
        const std::uint32_t* s = source.ScanLine(y);
        for (int x = 0; x < dest.Width(); ++x) {
            std::uint32_t out = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const std::uint32_t dv = (d[x] >> shift) & 0xFF;
                const std::uint32_t sv = (s[x] >> shift) & 0xFF;
                // S * 256 + (D - S) * t == S * (256 - t) + D * t, never negative.
                out |= DivRoundEven(sv * (256 - t) + dv * t, 256) << shift;
            }
            d[x] = out;
        }
    }
}

void BlendColor(TBitmap& image, TRect rect, int transparency, TColor color) {
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    rect.Right = std::min(rect.Right, image.Width() - 1);
    rect.Bottom = std::min(rect.Bottom, image.Height() - 1);
    const auto p = static_cast<std::uint32_t>(std::clamp(transparency, 0, 100));
    const std::uint32_t k = ColorToPixel(color);
    for (int y = rect.Top; y <= rect.Bottom; ++y) {
        std::uint32_t* line = image.ScanLine(y);
        for (int x = rect.Left; x <= rect.Right; ++x) {
            std::uint32_t out = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const std::uint32_t v = (line[x] >> shift) & 0xFF;
                const std::uint32_t kv = (k >> shift) & 0xFF;
                out |= DivRoundEven(v * p + kv * (100 - p), 100) << shift;
            }
            line[x] = out;
        }
    }
}

TBitmap ScaledCopy(const TBitmap& picture, double scale) {
    TBitmap out;
    out.SetWidth(Scaled(picture.Width(), scale));
    out.SetHeight(Scaled(picture.Height(), scale));
    for (int y = 0; y < out.Height(); ++y) {
        const std::uint32_t* in =
            picture.ScanLine(std::min(static_cast<int>(y / scale), picture.Height() - 1));
        std::uint32_t* line = out.ScanLine(y);
        for (int x = 0; x < out.Width(); ++x) {
            line[x] = in[std::min(static_cast<int>(x / scale), picture.Width() - 1)];
        }
    }
    return out;
}

void FillDC(TBitmap& image, const TRect& rect, TColor color) {
    const int left = std::max(rect.Left, 0);
    const int right = std::min(rect.Right, image.Width());
    const std::uint32_t pixel = ColorToPixel(color);
    for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, image.Height()); ++y) {
        if (left < right) {
            std::fill(image.ScanLine(y) + left, image.ScanLine(y) + right, pixel);
        }
    }
}

void TileBitmap(TBitmap& image, const TRect& rect, const TBitmap& tile) {
    if (tile.Empty()) {
        return;
    }
    const int left = std::max(rect.Left, 0);
    const int right = std::min(rect.Right, image.Width());
    for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, image.Height()); ++y) {
        const std::uint32_t* in = tile.ScanLine((y - rect.Top) % tile.Height());
        std::uint32_t* out = image.ScanLine(y);
        for (int x = left; x < right; ++x) {
            out[x] = in[(x - rect.Left) % tile.Width()];
        }
    }
}

void CopyTransparent(TBitmap& image, int x, int y, const TBitmap& source,
                     std::optional<TColor> transparent) {
    const std::uint32_t skip = transparent ? ColorToPixel(*transparent) : 0xFFFFFFFFu;
    for (int sy = 0; sy < source.Height(); ++sy) {
        const int ty = y + sy;
        if (ty < 0 || ty >= image.Height()) {
            continue;
        }
        const std::uint32_t* in = source.ScanLine(sy);
        std::uint32_t* out = image.ScanLine(ty);
        for (int sx = 0; sx < source.Width(); ++sx) {
            const int tx = x + sx;
            if (tx >= 0 && tx < image.Width() && in[sx] != skip) {
                out[tx] = in[sx];
            }
        }
    }
}

void DrawControlText(TCanvas& canvas, std::string_view text, const TRect& rect, unsigned format,
                     bool enabled, int shift) {
    const TTextMode mode = canvas.TextMode();
    canvas.SetTextMode(TTextMode::tmAntialiased);
    TRect place = rect;
    if (!enabled) {
        TRect raised{rect.Left + shift, rect.Top + shift, rect.Right + shift, rect.Bottom + shift};
        canvas.Font().Color = clBtnHighlight;
        canvas.DrawText(text, raised, format);
        canvas.Font().Color = clBtnShadow;
    }
    canvas.DrawText(text, place, format);
    canvas.SetTextMode(mode);
}

TColor BottomLeftColor(const TBitmap& image) {
    return image.Empty() ? clFuchsia : image.Pixel(0, image.Height() - 1);
}
