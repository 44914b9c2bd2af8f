#include "Canvas.h"

#include "Bitmap.h"
#include "FontFace.h"
#include "Utf8.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// ink over background, each channel weighted by coverage / 255 and rounded.
std::uint32_t BlendPixel(std::uint32_t ink, std::uint32_t background, std::uint32_t coverage) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t i = (ink >> shift) & 0xFF;
        const std::uint32_t b = (background >> shift) & 0xFF;
        out |= ((i * coverage + b * (255 - coverage) + 127) / 255) << shift;
    }
    return out;
}

// The rectangle an axis-aligned four-point polygon spans, if it is one.
bool AsRectangle(std::span<const TPoint> p, TRect& rect) {
    if (p.size() != 4) {
        return false;
    }
    const bool verticalFirst =
        p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x && p[3].y == p[0].y;
    const bool horizontalFirst =
        p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y && p[3].x == p[0].x;
    if (!verticalFirst && !horizontalFirst) {
        return false;
    }
    rect = {std::min(p[0].x, p[2].x), std::min(p[0].y, p[2].y), std::max(p[0].x, p[2].x),
            std::max(p[0].y, p[2].y)};
    return true;
}

// The rectangle that holds every pixel a recorded shape painted.
TRect Bounds(const TDrawnShape& shape) {
    if (const auto* rect = std::get_if<TDrawnRect>(&shape)) {
        return rect->Rect;
    }
    if (const auto* text = std::get_if<TDrawnText>(&shape)) {
        return text->Clip;
    }
    TRect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const TPoint& p : std::get<TDrawnPolygon>(shape).Points) {
        bounds = {std::min(bounds.Left, p.x), std::min(bounds.Top, p.y),
                  std::max(bounds.Right, p.x), std::max(bounds.Bottom, p.y)};
    }
    return bounds;
}

} // namespace

void TCanvas::FillSpan(int y, int x0, int x1, std::uint32_t pixel) {
    if (y < 0 || y >= FTarget.Height()) {
        return;
    }
    x0 = std::max(x0, 0);
    x1 = std::min(x1, FTarget.Width());
    if (x0 < x1) {
        std::fill(FTarget.ScanLine(y) + x0, FTarget.ScanLine(y) + x1, pixel);
    }
}

void TCanvas::FillClipped(TRect rect, std::uint32_t pixel) {
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    rect.Right = std::min(rect.Right, FTarget.Width());
    rect.Bottom = std::min(rect.Bottom, FTarget.Height());
    if (rect.Left >= rect.Right) {
        return;
    }
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        std::uint32_t* line = FTarget.ScanLine(y);
        std::fill(line + rect.Left, line + rect.Right, pixel);
    }
}

void TCanvas::FillRectsByRows(std::span<const TDrawnRect> rects) {
    std::vector<TDrawnRect> clipped;
    std::vector<int> edges;
    for (const TDrawnRect& r : rects) {
        const TRect c{std::max(r.Rect.Left, 0), std::max(r.Rect.Top, 0),
                      std::min(r.Rect.Right, FTarget.Width()),
                      std::min(r.Rect.Bottom, FTarget.Height())};
        if (c.Left < c.Right && c.Top < c.Bottom) {
            clipped.push_back({c, r.Color});
            edges.push_back(c.Top);
            edges.push_back(c.Bottom);
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    // Between two edges every row is covered by the same rectangles: the first row is painted,
    // the others copy its covered runs.
    std::vector<std::pair<int, int>> runs;
    for (std::size_t k = 0; k + 1 < edges.size(); ++k) {
        const int top = edges[k];
        std::uint32_t* first = FTarget.ScanLine(top);
        runs.clear();
        for (const TDrawnRect& r : clipped) {
            if (r.Rect.Top <= top && top < r.Rect.Bottom) {
                std::fill(first + r.Rect.Left, first + r.Rect.Right, r.Color);
                runs.emplace_back(r.Rect.Left, r.Rect.Right);
            }
        }
        std::sort(runs.begin(), runs.end());
        std::size_t merged = 0;
        for (const auto& run : runs) {
            if (merged > 0 && run.first <= runs[merged - 1].second) {
                runs[merged - 1].second = std::max(runs[merged - 1].second, run.second);
            } else {
                runs[merged++] = run;
            }
        }
        runs.resize(merged);
        for (int y = top + 1; y < edges[k + 1]; ++y) {
            std::uint32_t* line = FTarget.ScanLine(y);
            for (const auto& [left, right] : runs) {
                std::copy(first + left, first + right, line + left);
            }
        }
    }
}

bool TCanvas::Reaches(const TRect& bounds) const {
    return bounds.Right > 0 && bounds.Left < FTarget.Width() && bounds.Bottom > 0 &&
           bounds.Top < FTarget.Height();
}

void TCanvas::Record(TDrawnShape shape) {
    // A shape wholly outside the image painted nothing: a vector file of the image would only
    // grow by it.
    TDrawing* recording = FTarget.Recording();
    if (recording != nullptr && Reaches(Bounds(shape))) {
        recording->push_back(std::move(shape));
    }
}

void TCanvas::RecordText(int x, int y, const TRect& clip, std::string_view text,
                         std::u32string_view chars, TFontFace& face) {
    if (FFont.Style & (fsUnderline | fsStrikeOut)) {
        EndRecording();
        return;
    }
    if (FTarget.Recording() == nullptr) {
        return;
    }
    // The characters before the first and after the last whose glyphs can reach into the image
    // are left out, so that a line far longer than the image keeps what can be seen of it. A
    // glyph's reach holds its advance and its ink in both modes, where a vector font's outline
    // falls too.
    bool reached = false;
    std::size_t from = 0;
    std::size_t to = 0;
    long long firstPen = x;
    long long pen = x;
    std::size_t at = 0;
    for (const char32_t ch : chars) {
        const std::size_t length = Utf8CharLength(text, at);
        const TGlyph& g = face.Glyph(ch);
        const TGlyph& grey = face.GreyGlyph(ch);
        const long long left = pen + std::min({0, g.Left, grey.Left});
        const long long right =
            pen + std::max({g.Advance, g.Left + g.Width, grey.Left + grey.Width});
        if (right > 0 && left < FTarget.Width()) {
            if (!reached) {
                reached = true;
                from = at;
                firstPen = pen;
            }
            to = at + length;
        }
        pen += g.Advance;
        at += length;
    }
    // A text without characters is kept as it was drawn.
    if (reached || chars.empty()) {
        Record(TDrawnText{FFont,
                          {static_cast<int>(firstPen), y},
                          clip,
                          std::string(text.substr(from, to - from)),
                          ColorToPixel(FFont.Color)});
    }
}

void TCanvas::FillRecorded(const TRect& rect, std::uint32_t pixel) {
    FillClipped(rect, pixel);
    Record(TDrawnRect{rect, pixel});
}

void TCanvas::FillRect(const TRect& rect) {
    if (FBrush.Style == TBrushStyle::bsSolid) {
        FillRecorded(rect, ColorToPixel(FBrush.Color));
        FTarget.Changed();
    }
}

void TCanvas::Clear() {
    const TDrawnRect whole{{0, 0, FTarget.Width(), FTarget.Height()}, ColorToPixel(FBrush.Color)};
    const TDrawing* drawn = FTarget.Recording();
    if (FBrush.Style != TBrushStyle::bsSolid || drawn == nullptr || drawn->empty() ||
        drawn->front() != TDrawnShape(whole)) {
        FTarget.StartRecording();
        FillRect(whole.Rect);
        return;
    }
    // Every pixel is the fill's colour but where the shapes since painted (nothing else can have
    // changed the pixels while the recording went on). Each row is painted once, over the span
    // that the shapes cover in it, from the top down: the same memory order as a whole fill.
    // Shapes one after another over the same rows, as the bars of a symbol are, count as one.
    std::vector<TRect> bands;
    for (auto shape = drawn->begin() + 1; shape != drawn->end(); ++shape) {
        const TRect bounds = Bounds(*shape);
        if (!bands.empty() && bands.back().Top == bounds.Top &&
            bands.back().Bottom == bounds.Bottom) {
            bands.back().Left = std::min(bands.back().Left, bounds.Left);
            bands.back().Right = std::max(bands.back().Right, bounds.Right);
        } else {
            bands.push_back(bounds);
        }
    }
    const int height = FTarget.Height();
    std::vector<std::pair<int, int>> spans(static_cast<std::size_t>(height), {INT_MAX, INT_MIN});
    for (const TRect& bounds : bands) {
        for (int y = std::max(bounds.Top, 0); y < std::min(bounds.Bottom, height); ++y) {
            auto& [left, right] = spans[static_cast<std::size_t>(y)];
            left = std::min(left, bounds.Left);
            right = std::max(right, bounds.Right);
        }
    }
    for (int y = 0; y < height; ++y) {
        const auto [left, right] = spans[static_cast<std::size_t>(y)];
        FillSpan(y, left, right, whole.Color);
    }
    FTarget.StartRecording();
    Record(whole);
    FTarget.Changed();
}

void TCanvas::PlotPen(long long x, long long y, std::uint32_t pixel) {
    const long long w = std::max(FPen.Width, 1);
    const long long from = -(w - 1) / 2;
    FillClipped({SaturateToInt(x + from), SaturateToInt(y + from), SaturateToInt(x + from + w),
                 SaturateToInt(y + from + w)},
                pixel);
}

void TCanvas::DrawLine(TPoint from, TPoint to, std::uint32_t pixel) {
    // A line reaching far outside the image is first cut to a margin around it, so that drawing
    // costs what is visible, not what the coordinates span.
    const double margin = std::max(FPen.Width, 1) + 1.0;
    const double lo[2] = {-margin, -margin};
    const double hi[2] = {FTarget.Width() + margin, FTarget.Height() + margin};
    const double p0[2] = {double(from.x), double(from.y)};
    const double d[2] = {double(to.x) - from.x, double(to.y) - from.y};
    double t0 = 0;
    double t1 = 1;
    for (int axis = 0; axis < 2; ++axis) {
        if (d[axis] == 0) {
            if (p0[axis] < lo[axis] || p0[axis] > hi[axis]) {
                return;
            }
            continue;
        }
        double ta = (lo[axis] - p0[axis]) / d[axis];
        double tb = (hi[axis] - p0[axis]) / d[axis];
        if (ta > tb) {
            std::swap(ta, tb);
        }
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
    }
    if (t0 > t1) {
        return;
    }
    long long x = t0 == 0 ? from.x : std::llround(p0[0] + t0 * d[0]);
    long long y = t0 == 0 ? from.y : std::llround(p0[1] + t0 * d[1]);
    const long long xEnd = t1 == 1 ? to.x : std::llround(p0[0] + t1 * d[0]);
    const long long yEnd = t1 == 1 ? to.y : std::llround(p0[1] + t1 * d[1]);

    const long long dx = std::llabs(xEnd - x);
    const long long dy = -std::llabs(yEnd - y);
    const int sx = x < xEnd ? 1 : -1;
    const int sy = y < yEnd ? 1 : -1;
    long long err = dx + dy;
    for (;;) {
        PlotPen(x, y, pixel);
        if (x == xEnd && y == yEnd) {
            return;
        }
        const long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void TCanvas::FillPolygonInterior(std::span<const TPoint> points, std::uint32_t pixel) {
    int minY = points[0].y;
    int maxY = points[0].y;
    for (const TPoint& p : points) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    minY = std::max(minY, 0);
    maxY = std::min(maxY, FTarget.Height());
    std::vector<double> crossings;
    crossings.reserve(points.size());
    for (int y = minY; y < maxY; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const TPoint a = points[i];
            const TPoint b = points[(i + 1) % points.size()];
            if ((a.y <= yc) != (b.y <= yc)) {
                crossings.push_back(a.x + (yc - a.y) * (double(b.x) - a.x) / (double(b.y) - a.y));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        const double width = FTarget.Width();
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixel centres x + 0.5 in [left, right).
            const double x0 = std::ceil(std::clamp(crossings[i], -1.0, width + 1) - 0.5);
            const double x1 = std::ceil(std::clamp(crossings[i + 1], -1.0, width + 1) - 0.5);
            FillSpan(y, static_cast<int>(x0), static_cast<int>(x1), pixel);
        }
    }
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.empty()) {
        return;
    }
    if (FBrush.Style == TBrushStyle::bsSolid) {
        const std::uint32_t pixel = ColorToPixel(FBrush.Color);
        TRect rect;
        if (AsRectangle(points, rect)) {
            FillRecorded(rect, pixel);
        } else {
            FillPolygonInterior(points, pixel);
            if (FTarget.Recording() != nullptr) {
                Record(TDrawnPolygon{{points.begin(), points.end()}, pixel});
            }
        }
    }
    if (FPen.Style == TPenStyle::psSolid) {
        EndRecording();
        const std::uint32_t pixel = ColorToPixel(FPen.Color);
        for (std::size_t i = 0; i < points.size(); ++i) {
            DrawLine(points[i], points[(i + 1) % points.size()], pixel);
        }
    }
    FTarget.Changed();
}

void TCanvas::DrawGlyphs(int x, int y, std::u32string_view text, TFontFace& face,
                         const TRect& clip) {
    const TRect area{std::max(clip.Left, 0), std::max(clip.Top, 0),
                     std::min(clip.Right, FTarget.Width()),
                     std::min(clip.Bottom, FTarget.Height())};
    const std::uint32_t pixel = ColorToPixel(FFont.Color);
    const bool grey = FTextMode == TTextMode::tmAntialiased;
    const long long baseline = static_cast<long long>(y) + face.Ascent();
    long long penX = x;
    for (const char32_t ch : text) {
        // Both modes advance alike, so a text takes the same room either way.
        const TGlyph& g = face.Glyph(ch);
        const TGlyph& shape = grey ? face.GreyGlyph(ch) : g;
        for (int r = 0; r < shape.Rows; ++r) {
            const long long py = baseline - shape.Top + r;
            if (py < area.Top || py >= area.Bottom) {
                continue;
            }
            std::uint32_t* line = FTarget.ScanLine(static_cast<int>(py));
            const std::uint8_t* mask =
                shape.Mask.data() + static_cast<std::size_t>(r) * shape.Width;
            for (int c = 0; c < shape.Width; ++c) {
                const long long px = penX + shape.Left + c;
                if (mask[c] != 0 && px >= area.Left && px < area.Right) {
                    line[px] = mask[c] == 255 ? pixel : BlendPixel(pixel, line[px], mask[c]);
                }
            }
        }
        penX += g.Advance;
    }
    const auto rule = [&](long long row) {
        if (row >= area.Top && row < area.Bottom) {
            FillSpan(static_cast<int>(row), std::max(x, area.Left),
                     static_cast<int>(std::min<long long>(penX, area.Right)), pixel);
        }
    };
    if (FFont.Style & fsUnderline) {
        rule(baseline + 1);
    }
    if (FFont.Style & fsStrikeOut) {
        rule(baseline - face.Ascent() * 3 / 10);
    }
}

int TCanvas::TextWidth(std::string_view text) {
    return TextWidth(TFontFace::For(FFont), DecodeUtf8(text));
}

int TCanvas::TextWidth(TFontFace& face, std::u32string_view chars) {
    long long width = 0;
    for (const char32_t ch : chars) {
        width += face.Glyph(ch).Advance;
    }
    return SaturateToInt(width);
}

int TCanvas::TextHeight() {
    return TFontFace::For(FFont).LineHeight();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    TFontFace& face = TFontFace::For(FFont);
    const std::u32string chars = DecodeUtf8(text);
    const TRect cell{x, y, SaturateToInt(static_cast<long long>(x) + TextWidth(face, chars)),
                     SaturateToInt(static_cast<long long>(y) + face.LineHeight())};
    PaintText(cell, x, y, text, chars, face);
    FPenPos = {cell.Right, y};
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
    PaintText(rect, x, y, text, DecodeUtf8(text), TFontFace::For(FFont));
}

void TCanvas::PaintText(const TRect& rect, int x, int y, std::string_view text,
                        std::u32string_view chars, TFontFace& face) {
    if (FBrush.Style == TBrushStyle::bsSolid) {
        FillRecorded(rect, ColorToPixel(FBrush.Color));
    }
    DrawGlyphs(x, y, chars, face, rect);
    RecordText(x, y, rect, text, chars, face);
    FTarget.Changed();
}

int TCanvas::DrawText(std::string_view text, TRect& rect, unsigned format) {
    TFontFace& face = TFontFace::For(FFont);
    if (!(format & DT_CALCRECT)) {
        EndRecording();
    }
    const std::vector<TTextLine> lines =
        LayoutText(face, DecodeUtf8(text), rect.Right - rect.Left, format);
    const int lineHeight = face.LineHeight();
    const int height = SaturateToInt(static_cast<long long>(lines.size()) * lineHeight);
    if (format & DT_CALCRECT) {
        int width = 0;
        for (const TTextLine& line : lines) {
            width = std::max(width, line.Width);
        }
        rect.Right = SaturateToInt(static_cast<long long>(rect.Left) + width);
        rect.Bottom = SaturateToInt(static_cast<long long>(rect.Top) + height);
        return height;
    }
    long long y = rect.Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) {
            y = rect.Top + (static_cast<long long>(rect.Bottom) - rect.Top - lineHeight) / 2;
        } else if (format & DT_BOTTOM) {
            y = static_cast<long long>(rect.Bottom) - lineHeight;
        }
    }
    const TRect clip = (format & DT_NOCLIP) ? TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX} : rect;
    const std::uint32_t pixel = ColorToPixel(FFont.Color);
    for (const TTextLine& line : lines) {
        long long x = rect.Left;
        if (format & DT_CENTER) {
            x += (static_cast<long long>(rect.Right) - rect.Left - line.Width) / 2;
        } else if (format & DT_RIGHT) {
            x = static_cast<long long>(rect.Right) - line.Width;
        }
        const TRect cell{SaturateToInt(x), SaturateToInt(y), SaturateToInt(x + line.Width),
                         SaturateToInt(y + lineHeight)};
        const TRect visible{std::max(cell.Left, clip.Left), std::max(cell.Top, clip.Top),
                            std::min(cell.Right, clip.Right), std::min(cell.Bottom, clip.Bottom)};
        if (FBrush.Style == TBrushStyle::bsSolid) {
            FillClipped(visible, ColorToPixel(FBrush.Color));
        }
        DrawGlyphs(cell.Left, cell.Top, line.Chars, face, clip);
        if (line.Underline >= 0) {
            const int from = SaturateToInt(
                x + TextWidth(face, std::u32string_view(line.Chars).substr(0, line.Underline)));
            const int to = from + face.Glyph(line.Chars[line.Underline]).Advance;
            const long long row = y + face.Ascent() + 1;
            if (row >= clip.Top && row < clip.Bottom) {
                FillSpan(static_cast<int>(row), std::max(from, clip.Left), std::min(to, clip.Right),
                         pixel);
            }
        }
        y += lineHeight;
    }
    FTarget.Changed();
    return height;
}

void TCanvas::InvertPixel(int x, int y) {
    if (x >= 0 && y >= 0 && x < FTarget.Width() && y < FTarget.Height()) {
        FTarget.ScanLine(y)[x] ^= 0xFFFFFF;
    }
}

void TCanvas::DrawFocusRect(const TRect& rect, int lines) {
    for (int line = 0; line < lines; ++line) {
        DrawFocusRect({rect.Left + line, rect.Top + line, rect.Right - line, rect.Bottom - line});
    }
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) {
        return;
    }
    EndRecording();
    const int right = rect.Right - 1;
    const int bottom = rect.Bottom - 1;
    const auto dotted = [](int x, int y) { return ((x + y) & 1) == 0; };
    for (int x = rect.Left; x <= right; ++x) {
        if (dotted(x - rect.Left, 0)) {
            InvertPixel(x, rect.Top);
        }
        if (bottom != rect.Top && dotted(x - rect.Left, bottom - rect.Top)) {
            InvertPixel(x, bottom);
        }
    }
    for (int y = rect.Top + 1; y < bottom; ++y) {
        if (dotted(0, y - rect.Top)) {
            InvertPixel(rect.Left, y);
        }
        if (right != rect.Left && dotted(right - rect.Left, y - rect.Top)) {
            InvertPixel(right, y);
        }
    }
    FTarget.Changed();
}

void TCanvas::Polygons(std::span<const std::array<TPoint, 4>> quads,
                       std::span<const TColor> colours) {
    std::vector<TDrawnRect> rects;
    bool byRows = FPen.Style != TPenStyle::psSolid && FBrush.Style == TBrushStyle::bsSolid;
    for (std::size_t i = 0; byRows && i < quads.size(); ++i) {
        TRect rect;
        byRows = AsRectangle(quads[i], rect);
        rects.push_back({rect, ColorToPixel(colours[i])});
    }
    if (!byRows) {
        for (std::size_t i = 0; i < quads.size(); ++i) {
            FPen.Color = colours[i];
            FBrush.Color = colours[i];
            Polygon(quads[i]);
        }
        return;
    }
    if (quads.empty()) {
        return;
    }
    FillRectsByRows(rects);
    for (const TDrawnRect& rect : rects) {
        Record(rect);
    }
    FPen.Color = colours.back();
    FBrush.Color = colours.back();
    FTarget.Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    const long long dw = dest.Right - dest.Left;
    const long long dh = dest.Bottom - dest.Top;
    const long long sw = sourceRect.Right - sourceRect.Left;
    const long long sh = sourceRect.Bottom - sourceRect.Top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    EndRecording();
    const TBitmap& from = source.FTarget;
    const int top = std::max(dest.Top, 0);
    const int bottom = std::min(dest.Bottom, FTarget.Height());
    const int left = std::max(dest.Left, 0);
    const int right = std::min(dest.Right, FTarget.Width());
    for (int y = top; y < bottom; ++y) {
        const long long sy = sourceRect.Top + (y - dest.Top) * sh / dh;
        if (sy < 0 || sy >= from.Height()) {
            continue;
        }
        const std::uint32_t* in = from.ScanLine(static_cast<int>(sy));
        std::uint32_t* out = FTarget.ScanLine(y);
        for (int x = left; x < right; ++x) {
            const long long sx = sourceRect.Left + (x - dest.Left) * sw / dw;
            if (sx >= 0 && sx < from.Width()) {
                out[x] = in[sx];
            }
        }
    }
    FTarget.Changed();
}
