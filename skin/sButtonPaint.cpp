#include "sButtonPaint.h"

#include "Bitmap.h"
#include "Canvas.h"
#include "sBorders.h"
#include "sGraphUtils.h"
#include "sStyleSimply.h"

namespace {

constexpr unsigned CaptionFormat = DT_WORDBREAK | DT_EXPANDTABS;

void Dot(TBitmap& image, int x, int y, std::uint32_t pixel) {
    if (x >= 0 && y >= 0 && x < image.Width() && y < image.Height()) {
        image.ScanLine(y)[x] = pixel;
    }
}

} // namespace

std::optional<std::vector<TRect>> PaintButton(TsActiveBGStyle& style, const TsButtonLook& look) {
    TBitmap& cache = style.CacheBmp();
    const bool hot = style.IsHot();
    style.PaintBG(cache, {0, 0, cache.Width(), cache.Height()});
    std::optional<std::vector<TRect>> cut;
    const TsMaskedBorders& borders = style.BtnEffects().MaskedBorders();
    if (borders.Enabled()) {
        const bool newRegion = style.RegionChanged();
        if (newRegion) {
            cut.emplace();
        }
        const int state = look.Down ? 2 : (hot ? 1 : 0);
        ApplyBorderMask(cache, borders.CurrentMask(), state, borders.TransparentColor(),
                        newRegion ? &*cut : nullptr);
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
    canvas.Brush().Style = TBrushStyle::bsClear;
    const int width = image.Width();
    const int height = image.Height();

    TRect measured{0, 0, width - 2 * look.Margin, 0};
    canvas.DrawText(look.Caption, measured, CaptionFormat | DT_CALCRECT);
    const int offset = (width - measured.Right) / 2 - look.Margin;
    TRect box{look.Margin + offset, look.Margin, width - look.Margin - offset,
              height - look.Margin};
    if (look.Down) {
        box = {box.Left + 1, box.Top + 1, box.Right + 1, box.Bottom + 1};
    }
    TRect text = box;
    const int textHeight = canvas.DrawText(look.Caption, text, CaptionFormat | DT_CALCRECT);
    const unsigned align = textHeight > canvas.TextHeight() + 6 ? DT_CENTER : DT_LEFT;
    const int down = (box.Bottom - box.Top - textHeight) / 2;
    text.Top += down;
    text.Bottom += down;

    if (look.Enabled && hot) {
        canvas.Font().Color = hotFontColor;
        canvas.Font().Style = hotFontStyle;
    }
    DrawControlText(canvas, look.Caption, text, CaptionFormat | align, look.Enabled);
    if (look.FocusFrame) {
        const int m = look.FocusMargin;
        DrawDottedFrame(image, {text.Left - 2 - m, text.Top - m, text.Right + 2 + m,
                                text.Top + textHeight + m});
    }
    canvas.Font() = savedFont;
    canvas.Brush() = savedBrush;
}

void DrawDottedFrame(TBitmap& image, const TRect& rect) {
    const int w = rect.Right - rect.Left;
    const int h = rect.Bottom - rect.Top;
    if (w < 0 || h < 0) {
        return;
    }
    constexpr std::uint32_t black = 0x000000;
    constexpr std::uint32_t white = 0xFFFFFF;
    for (int i = 0; i <= w / 3; ++i) {
        const int x = rect.Left + 3 * i;
        for (const int y : {rect.Top, rect.Bottom}) {
            Dot(image, x - 1, y - 1, white);
            Dot(image, x, y, black);
        }
    }
    for (int j = 0; j <= h / 3; ++j) {
        const int y = rect.Top + 3 * j;
        for (const int x : {rect.Left, rect.Right}) {
            Dot(image, x - 1, y - 1, white);
            Dot(image, x, y, black);
        }
    }
}
