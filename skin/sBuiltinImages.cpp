#include "sBuiltinImages.h"

#include "Bitmap.h"
#include "sGraphUtils.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace {

constexpr std::uint32_t Magenta = 0xFF00FF; // as a pixel, 0x00RRGGBB

std::uint32_t Gray(int v) {
    return static_cast<std::uint32_t>(v) * 0x010101u;
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double t) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double va = (a >> shift) & 0xFF;
        const double vb = (b >> shift) & 0xFF;
        out |= static_cast<std::uint32_t>(std::lround(va + (vb - va) * t)) << shift;
    }
    return out;
}

TBitmap NewImage(int width, int height) {
    TBitmap image;
    image.SetWidth(width);
    image.SetHeight(height);
    return image;
}

// How one state's rim looks, line by line from the outer edge inwards.
struct TRimArt {
    std::array<std::uint32_t, 3> Light; // top and left lines
    std::array<std::uint32_t, 3> Dark;  // bottom and right lines
    std::array<int, 4> Alpha;           // deeper lines show the face alone (255)
};

struct TBorderArt {
    int CellWidth;
    int CellHeight;
    double Radius;
    std::array<TRimArt, 3> States; // normal, hot, pressed
};

// The raised frame of the normal state: a light gray outer line that sets the button off the
// window, a white highlight inside it along the top and left, and a near-black outline with a
// soft gray shadow along the bottom and right.
constexpr TRimArt Raised{
    {0xC4C4C4, 0xFFFFFF, 0xF0F0F0}, {0x202020, 0x606060, 0x9A9A9A}, {0x50, 0x98, 0xD0, 0xF0}};
// Hot: the same frame with a steel-blue outline that matches the hot face.
constexpr TRimArt RaisedHot{
    {0x6E95C0, 0xFFFFFF, 0xEEF4FA}, {0x1C3A60, 0x4C6A90, 0x98AEC8}, {0x38, 0x98, 0xD0, 0xF0}};
// Pressed: sunk, dark along the top and left and light along the bottom and right.
constexpr TRimArt Sunken{
    {0x707070, 0xF8F8F8, 0xE4E4E4}, {0x202020, 0x505050, 0x8C8C8C}, {0x40, 0x88, 0xC8, 0xF0}};
// A flat one-line frame.
constexpr TRimArt Flat{
    {0x505050, 0x505050, 0x505050}, {0x505050, 0x505050, 0x505050}, {0x40, 0xFF, 0xFF, 0xFF}};
constexpr TRimArt FlatHot{
    {0x2060A0, 0x2060A0, 0x2060A0}, {0x2060A0, 0x2060A0, 0x2060A0}, {0x30, 0xFF, 0xFF, 0xFF}};
constexpr TRimArt FlatDown{
    {0x202020, 0x202020, 0x202020}, {0x202020, 0x202020, 0x202020}, {0x20, 0xFF, 0xFF, 0xFF}};

// Paints one state's block: colour cells in the top half, alpha cells in the bottom half. A
// pixel's look depends on how deep inside the rounded outline it lies and on which side. At a
// scale the outline is the same shape, larger, and each rim line as many pixels deep.
void PaintState(TBitmap& mask, int state, const TBorderArt& art, double scale) {
    const TRimArt& rim = art.States[state];
    const int w = 3 * Scaled(art.CellWidth, scale);
    const int h = 3 * Scaled(art.CellHeight, scale);
    const int x0 = state * w;
    const double r = art.Radius * scale;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            // Depth inside the outline and the outward direction at the nearest edge.
            double depth = 0;
            double nx = 0;
            double ny = 0;
            const double cx = px < r ? r : (px > w - r ? w - r : px);
            const double cy = py < r ? r : (py > h - r ? h - r : py);
            if (cx != px && cy != py) {
                const double dist = std::hypot(px - cx, py - cy);
                depth = r - dist;
                nx = (px - cx) / dist;
                ny = (py - cy) / dist;
            } else {
                const std::array<double, 4> sides{px, py, w - px, h - py};
                const auto nearest = std::min_element(sides.begin(), sides.end()) - sides.begin();
                depth = sides[nearest];
                nx = nearest == 0 ? -1 : (nearest == 2 ? 1 : 0);
                ny = nearest == 1 ? -1 : (nearest == 3 ? 1 : 0);
            }
            std::uint32_t colour = Gray(0x80);
            int alpha = 255;
            if (depth < 0) {
                colour = Magenta;
                alpha = 0;
            } else {
                const auto line = static_cast<std::size_t>(depth / scale);
                if (line < rim.Alpha.size()) {
                    alpha = rim.Alpha[line];
                    const std::size_t tone = std::min<std::size_t>(line, 2);
                    const double light = std::clamp(0.5 - nx - ny, 0.0, 1.0);
                    colour = Mix(rim.Dark[tone], rim.Light[tone], light);
                }
            }
            mask.ScanLine(y)[x0 + x] = colour;
            mask.ScanLine(y + h)[x0 + x] = Gray(alpha);
        }
    }
}

TBitmap MakeBorder(const TBorderArt& art, double scale) {
    TBitmap mask = NewImage(9 * Scaled(art.CellWidth, scale), 6 * Scaled(art.CellHeight, scale));
    for (int state = 0; state < 3; ++state) {
        PaintState(mask, state, art, scale);
    }
    return mask;
}

const std::array<TBorderArt, 6> BorderArts{{
    {10, 10, 5.0, {Raised, RaisedHot, Sunken}}, // BORD1: the raised, rounded frame
    {10, 10, 0.0, {Raised, RaisedHot, Sunken}}, // BORD2: the same with square corners
    {10, 10, 9.5, {Raised, RaisedHot, Sunken}}, // BORD3: round ends
    {10, 10, 2.5, {Flat, FlatHot, FlatDown}},   // BORD4: a flat line
    {6, 6, 3.0, {Raised, RaisedHot, Sunken}},   // BORD5: small cells, small corners
    {50, 16, 8.0, {Raised, RaisedHot, Sunken}}, // BORD6: wide cells, wide corners
}};

// Check marks and dots are dark; the hot box has a blue frame and a pale blue fill.
constexpr std::uint32_t MarkColour = 0x1E1E1E;

struct TGlyphArt {
    std::uint32_t Frame;
    std::uint32_t FillTop;
    std::uint32_t FillBottom;
};
constexpr TGlyphArt NormalBox{0x6A6A6A, 0xDCDCDC, 0xFFFFFF};
constexpr TGlyphArt HotBox{0x3C7FB1, 0xD6E8F7, 0xFFFFFF};

// The check mark, a V of two strokes three pixels thick, at a point of the 16 × 16 glyph: the
// short stroke from (3, 7) down to the tip at (6.5, 12), the long one up to (13, 4).
bool InCheckMark(double u, double v) {
    const bool outline = u > v - 5.5 && u < 18.5 - v && u > 3 && u < 13 && v > 4;
    // Between the strokes, and above the short one.
    const bool notch = u < 15.5 - v && (u > v - 2.5 || v < 7);
    return outline && !notch;
}

// The glyphs are drawn from shapes in the units of their 16 × 16 (14 × 14) artwork, each pixel
// by where its centre falls, so a larger scale draws the same shapes with finer edges.
TBitmap MakeCheckBox(bool checked, const TGlyphArt& art, double scale) {
    const int size = Scaled(16, scale);
    TBitmap glyph = NewImage(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = (x + 0.5) / scale;
            const double v = (y + 0.5) / scale;
            std::uint32_t colour = Magenta;
            const bool inBox = u >= 1 && u < 15 && v >= 1 && v < 15;
            const bool column = u < 2 || u >= 14;
            const bool row = v < 2 || v >= 14;
            if (inBox && column && row) {
                colour = Mix(art.Frame, Gray(0xF0), 0.45);
            } else if (inBox && (column || row)) {
                colour = art.Frame;
            } else if (inBox) {
                colour = Mix(art.FillTop, art.FillBottom, (v - 2.5) / 11.0);
            }
            if (checked && InCheckMark(u, v)) {
                colour = MarkColour;
            }
            glyph.ScanLine(y)[x] = colour;
        }
    }
    return glyph;
}

TBitmap MakeRadio(bool checked, const TGlyphArt& art, double scale) {
    const int size = Scaled(14, scale);
    TBitmap glyph = NewImage(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double v = (y + 0.5) / scale;
            const double r = std::hypot((x + 0.5) / scale - 7.0, v - 7.0);
            std::uint32_t colour = Magenta;
            if (checked && r <= 2.6) {
                colour = MarkColour;
            } else if (r <= 5.6) {
                colour = Mix(art.FillTop, art.FillBottom, (v - 0.5) / 13.0);
            } else if (r <= 6.6) {
                colour = art.Frame;
            } else if (r <= 7.1) {
                colour = Mix(art.Frame, Gray(0xF0), 0.6);
            }
            glyph.ScanLine(y)[x] = colour;
        }
    }
    return glyph;
}

struct TBuiltins {
    std::array<TBitmap, 6> Borders;
    std::array<TBitmap, 8> Glyphs; // index: radio * 4 + checked * 2 + hot

    explicit TBuiltins(double scale) {
        for (std::size_t i = 0; i < Borders.size(); ++i) {
            Borders[i] = MakeBorder(BorderArts[i], scale);
        }
        for (int i = 0; i < 8; ++i) {
            const bool radio = i & 4;
            const bool checked = i & 2;
            const TGlyphArt& art = (i & 1) ? HotBox : NormalBox;
            Glyphs[i] = radio ? MakeRadio(checked, art, scale) : MakeCheckBox(checked, art, scale);
        }
    }
};

// A screen has one ratio, seldom a few, so every set made is kept.
const TBuiltins& Builtins(double scale) {
    static std::map<double, TBuiltins> sets;
    static std::mutex lock;
    const std::lock_guard guard(lock);
    return sets.try_emplace(scale, scale).first->second;
}

} // namespace

const TBitmap& BorderMask(TsPredefinedBorders which, double scale) {
    return Builtins(scale).Borders[std::min<std::size_t>(which, pdBorder6)];
}

const TBitmap& CheckGlyph(bool radio, bool checked, bool hot, double scale) {
    return Builtins(scale).Glyphs[(radio ? 4 : 0) + (checked ? 2 : 0) + (hot ? 1 : 0)];
}

const TBitmap* BuiltinImage(std::string_view name) {
    static constexpr std::array<std::string_view, 8> glyphNames{"CUC", "CUH", "CCC", "CCH",
                                                                "RUC", "RUH", "RCC", "RCH"};
    for (int i = 0; i < 6; ++i) {
        if (name == "BORD" + std::to_string(i + 1)) {
            return &Builtins(1).Borders[i];
        }
    }
    for (std::size_t i = 0; i < glyphNames.size(); ++i) {
        if (name == glyphNames[i]) {
            return &Builtins(1).Glyphs[i];
        }
    }
    return nullptr;
}
