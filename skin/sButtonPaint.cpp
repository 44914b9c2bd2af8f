#include "sButtonPaint.h"

#include "Bitmap.h"
#include "Canvas.h"
#include "sBorders.h"
#include "sGraphUtils.h"
#include "sStyleOwner.h"
#include "sStyleSimply.h"

#include <algorithm>

namespace {

constexpr unsigned CaptionFormat = DT_WORDBREAK | DT_EXPANDTABS;

void Dot(TBitmap& image, int x, int y, int size, std::uint32_t pixel) {
    for (int row = std::max(y, 0); row < std::min(y + size, image.Height()); ++row) {
        for (int col = std::max(x, 0); col < std::min(x + size, image.Width()); ++col) {
            image.ScanLine(row)[col] = pixel;
        }
    }
}

} // namespace

std::optional<std::vector<TRect>> PaintButton(TsActiveBGStyle& style, const TsButtonLook& look) {
    TBitmap& cache = style.CacheBmp();
    const bool hot = style.IsHot();
    const double scale = look.Scale;
    style.PaintBG(cache, {0, 0, cache.Width(), cache.Height()});
    std::optional<std::vector<TRect>> cut;
    const TsMaskedBorders& borders = style.BtnEffects().MaskedBorders();
    if (borders.Enabled()) {
        const bool newRegion = style.RegionChanged();
        if (newRegion) {
            cut.emplace();
        }
        const int state = look.Down ? 2 : (hot ? 1 : 0);
        std::optional<TColor> outside;
        if (scale != 1) {
            outside = style.Owner() != nullptr ? style.Owner()->ParentColor() : clBtnFace;
        }
        ApplyBorderMask(cache, borders.CurrentMask(scale), state, borders.TransparentColor(),
                        newRegion ? &*cut : nullptr, outside);
        if (newRegion && cache.Width() >= 3 && cache.Height() >= 3) {
            style.SetRegionChanged(false);
        } else {
            cut.reset();
        }
    }
    PaintButtonCaption(cache, look, hot, style.GetFontColor(),
                       style.HotStyle().HotPainting().FontStyle());
    return cut;
}

void PaintButtonCaption(TBitmap& image, const TsButtonLook& look, bool hot, TColor hotFontColor,
                        std::uint8_t hotFontStyle) {
    if (!look.ShowCaption || look.Caption.empty()) {
        return;
    }
    TCanvas& canvas = image.Canvas();
    const TFont savedFont = canvas.Font();
    const TBrush savedBrush = canvas.Brush();
    canvas.Font() = look.Font;
    canvas.Font().PixelsPerInch = Scaled(ScreenPixelsPerInch, look.Scale);
    canvas.Brush().Style = TBrushStyle::bsClear;
    const int width = image.Width();
    const int height = image.Height();
    const int margin = Scaled(look.Margin, look.Scale);
    const int pixel = Scaled(1, look.Scale);

    TRect measured{0, 0, width - 2 * margin, 0};
    canvas.DrawText(look.Caption, measured, CaptionFormat | DT_CALCRECT);
    const int offset = (width - measured.Right) / 2 - margin;
    TRect box{margin + offset, margin, width - margin - offset, height - margin};
    if (look.Down) {
        box = {box.Left + pixel, box.Top + pixel, box.Right + pixel, box.Bottom + pixel};
    }
    TRect text = box;
    const int textHeight = canvas.DrawText(look.Caption, text, CaptionFormat | DT_CALCRECT);
    const unsigned align =
        textHeight > canvas.TextHeight() + Scaled(6, look.Scale) ? DT_CENTER : DT_LEFT;
    const int down = (box.Bottom - box.Top - textHeight) / 2;
    text.Top += down;
    text.Bottom += down;

    if (look.Enabled && hot) {
        canvas.Font().Color = hotFontColor;
        canvas.Font().Style = hotFontStyle;
    }
    DrawControlText(canvas, look.Caption, text, CaptionFormat | align, look.Enabled, pixel);
    if (look.FocusFrame) {
        const int m = Scaled(look.FocusMargin, look.Scale);
        const int side = Scaled(2, look.Scale);
        DrawDottedFrame(
            image,
            {text.Left - side - m, text.Top - m, text.Right + side + m, text.Top + textHeight + m},
            pixel);
    }
    canvas.Font() = savedFont;
    canvas.Brush() = savedBrush;
}

void DrawDottedFrame(TBitmap& image, const TRect& rect, int dot) {
    const int w = rect.Right - rect.Left;
    const int h = rect.Bottom - rect.Top;
    if (w < 0 || h < 0 || dot < 1) {
        return;
    }
    constexpr std::uint32_t black = 0x000000;
    constexpr std::uint32_t white = 0xFFFFFF;
    const int step = 3 * dot;
    for (int i = 0; i <= w / step; ++i) {
        const int x = rect.Left + step * i;
        for (const int y : {rect.Top, rect.Bottom}) {
            Dot(image, x - dot, y - dot, dot, white);
            Dot(image, x, y, dot, black);
        }
    }
    for (int j = 0; j <= h / step; ++j) {
        const int y = rect.Top + step * j;
        for (const int x : {rect.Left, rect.Right}) {
            Dot(image, x - dot, y - dot, dot, white);
            Dot(image, x, y, dot, black);
        }
    }
}
