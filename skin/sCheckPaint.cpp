#include "sCheckPaint.h"

#include "Bitmap.h"
#include "Canvas.h"
#include "ImageList.h"
#include "sBuiltinImages.h"
#include "sGraphUtils.h"

namespace {

constexpr int GlyphGap = 4;

unsigned AlignmentFormat(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify:
        return DT_RIGHT;
    case taCenter:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

// A disabled control's glyph, greyed as its caption is: every pixel but the transparent ones
// becomes its grey level mixed half and half with the button face colour, so that the box, its
// mark and its fill fade to the pale greys of an embossed caption.
TBitmap Greyed(const TBitmap& glyph) {
    TBitmap out = glyph;
    const std::uint32_t transparent = ColorToPixel(BottomLeftColor(glyph));
    const std::uint32_t face = ColorToPixel(clBtnFace) & 0xFF;
    for (int y = 0; y < out.Height(); ++y) {
        std::uint32_t* line = out.ScanLine(y);
        for (int x = 0; x < out.Width(); ++x) {
            if (line[x] == transparent) {
                continue;
            }
            const std::uint32_t r = (line[x] >> 16) & 0xFF;
            const std::uint32_t g = (line[x] >> 8) & 0xFF;
            const std::uint32_t b = line[x] & 0xFF;
            const std::uint32_t grey = DivRoundEven(r * 299 + g * 587 + b * 114, 1000);
            line[x] = DivRoundEven(grey + face, 2) * 0x010101u;
        }
    }
    return out;
}

} // namespace

TBitmap CheckGlyphFor(const TsGlyphSources& sources, bool checked, bool hot, double scale) {
    const TBitmap* own = checked ? sources.GlyphChecked : sources.GlyphUnChecked;
    if (own != nullptr && !own->Empty()) {
        return scale == 1 ? *own : ScaledCopy(*own, scale);
    }
    if (sources.Images != nullptr) {
        const TImageList& list = *sources.Images;
        const int index = checked ? (hot ? sources.ImgCheckedHot : sources.ImgChecked)
                                  : (hot ? sources.ImgUncheckedHot : sources.ImgUnchecked);
        TBitmap glyph;
        glyph.SetWidth(list.Width());
        glyph.SetHeight(list.Height());
        FillDC(glyph, {0, 0, list.Width(), list.Height()},
               list.BkColor() == clNone ? clFuchsia : list.BkColor());
        list.Draw(glyph, 0, 0, index);
        return scale == 1 ? glyph : ScaledCopy(glyph, scale);
    }
    return CheckGlyph(sources.Kind == ckRadioButton, checked, hot, scale);
}

TRect CheckGlyphRect(int width, int height, int glyphSize, TCheckAreaLayout layout, double scale) {
    const int top = (height - glyphSize) / 2;
    if (layout == calRight) {
        return {width - glyphSize - Scaled(3, scale), top, width, top + glyphSize};
    }
    return {0, top, glyphSize, top + glyphSize};
}

TRect CheckCaptionBox(int width, int height, int glyphSize, TCheckAreaLayout layout, double scale) {
    const int pixel = Scaled(1, scale);
    const int gap = Scaled(GlyphGap, scale);
    if (layout == calRight) {
        return {pixel, pixel, width - (glyphSize + gap) - pixel, height - pixel};
    }
    return {pixel + glyphSize + gap, pixel, width - pixel, height - pixel};
}

void PaintCheckBox(TBitmap& image, const TsCheckLook& look, const TBitmap& glyph) {
    const int width = image.Width();
    const int height = image.Height();
    FillDC(image, {0, 0, width, height}, look.Color);
    const int g = glyph.Height();
    const int pixel = Scaled(1, look.Scale);
    if (!look.Caption.empty()) {
        TCanvas& canvas = image.Canvas();
        const TFont savedFont = canvas.Font();
        const TBrush savedBrush = canvas.Brush();
        canvas.Font() = look.Font;
        canvas.Font().PixelsPerInch = Scaled(ScreenPixelsPerInch, look.Scale);
        canvas.Brush().Style = TBrushStyle::bsClear;
        const TRect box = CheckCaptionBox(width, height, g, look.Layout, look.Scale);
        const unsigned align = AlignmentFormat(look.Alignment);
        unsigned format = align;
        TRect text = box;
        if (look.MultiLine) {
            format |= DT_WORDBREAK;
        } else {
            format |= DT_SINGLELINE | DT_VCENTER;
            TRect measured = box;
            canvas.DrawText(look.Caption, measured, format | DT_CALCRECT);
            const int w = measured.Right - measured.Left;
            const int h = measured.Bottom - measured.Top;
            int left = box.Left;
            if (look.Alignment == taRightJustify) {
                left = box.Right - w;
            } else if (look.Alignment == taCenter) {
                left = box.Left + (box.Right - box.Left - w) / 2;
            }
            const int top = box.Top + (box.Bottom - box.Top - h) / 2;
            text = {left - pixel, top - pixel, left + w + pixel, top + h + pixel};
        }
        DrawControlText(canvas, look.Caption, text, format, look.Enabled, pixel);
        if (look.FocusFrame) {
            // One dotted line a control pixel, so the frame is as thick at any scale.
            canvas.DrawFocusRect(
                {text.Left - pixel, text.Top - pixel, text.Right + pixel, text.Bottom + pixel},
                pixel);
        }
        canvas.Font() = savedFont;
        canvas.Brush() = savedBrush;
    }
    const TRect place = CheckGlyphRect(width, height, g, look.Layout, look.Scale);
    CopyTransparent(image, place.Left, place.Top, look.Enabled ? glyph : Greyed(glyph),
                    BottomLeftColor(glyph));
}
