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

} // namespace

TBitmap CheckGlyphFor(const TsGlyphSources& sources, bool checked, bool hot) {
    const TBitmap* own = checked ? sources.GlyphChecked : sources.GlyphUnChecked;
    if (own != nullptr && !own->Empty()) {
        return *own;
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
        return glyph;
    }
    return CheckGlyph(sources.Kind == ckRadioButton, checked, hot);
}

TRect CheckGlyphRect(int width, int height, int glyphSize, TCheckAreaLayout layout) {
    const int top = (height - glyphSize) / 2;
    if (layout == calRight) {
        return {width - glyphSize - 3, top, width, top + glyphSize};
    }
    return {0, top, glyphSize, top + glyphSize};
}

TRect CheckCaptionBox(int width, int height, int glyphSize, TCheckAreaLayout layout) {
    if (layout == calRight) {
        return {1, 1, width - (glyphSize + GlyphGap) - 1, height - 1};
    }
    return {1 + glyphSize + GlyphGap, 1, width - 1, height - 1};
}

void PaintCheckBox(TBitmap& image, const TsCheckLook& look, const TBitmap& glyph) {
    const int width = image.Width();
    const int height = image.Height();
    FillDC(image, {0, 0, width, height}, look.Color);
    const int g = glyph.Height();
    if (!look.Caption.empty()) {
        TCanvas& canvas = image.Canvas();
        const TFont savedFont = canvas.Font();
        const TBrush savedBrush = canvas.Brush();
        canvas.Font() = look.Font;
        canvas.Brush().Style = TBrushStyle::bsClear;
        const TRect box = CheckCaptionBox(width, height, g, look.Layout);
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
            text = {left - 1, top - 1, left + w + 1, top + h + 1};
        }
        DrawControlText(canvas, look.Caption, text, format, look.Enabled, 1);
        if (look.FocusFrame) {
            canvas.DrawFocusRect({text.Left - 1, text.Top - 1, text.Right + 1, text.Bottom + 1});
        }
        canvas.Font() = savedFont;
        canvas.Brush() = savedBrush;
    }
    const TRect place = CheckGlyphRect(width, height, g, look.Layout);
    CopyTransparent(image, place.Left, place.Top, glyph, BottomLeftColor(glyph));
}
