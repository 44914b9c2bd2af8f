#include "sEditPaint.h"

#include "Bitmap.h"
#include "sGraphUtils.h"
#include "sStyleEdits.h"

#include <utility>

namespace {

// Mixes a soft line with the field colour, the more the further in.
TColor Soften(TColor side, TColor field, int line, int lines) {
    const auto a = static_cast<std::uint32_t>(ColorToRGB(side));
    const auto b = static_cast<std::uint32_t>(ColorToRGB(field));
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t va = (a >> shift) & 0xFF;
        const std::uint32_t vb = (b >> shift) & 0xFF;
        const auto n = static_cast<std::uint32_t>(lines + 1);
        const auto l = static_cast<std::uint32_t>(line);
        out |= DivRoundEven(va * (n - l) + vb * l, n) << shift;
    }
    return static_cast<TColor>(out);
}

// One frame of single lines at `inset` from the outer edge: top and left, then bottom and right.
void FrameLines(TBitmap& image, int inset, TColor topLeft, TColor bottomRight) {
    const int right = image.Width() - 1 - inset;
    const int bottom = image.Height() - 1 - inset;
    if (right < inset || bottom < inset) {
        return;
    }
    FillDC(image, {inset, inset, right + 1, inset + 1}, topLeft);
    FillDC(image, {inset, inset, inset + 1, bottom + 1}, topLeft);
    FillDC(image, {inset, bottom, right + 1, bottom + 1}, bottomRight);
    FillDC(image, {right, inset, right + 1, bottom + 1}, bottomRight);
}

void BorderLines(TBitmap& image, const TsEditorStyle& style, TsEditorBevel bevel, int width,
                 TColor field) {
    const TColor top = style.Painting().ColorBorderTop();
    const TColor bottom = style.Painting().ColorBorderBottom();
    for (int line = 0; line < width; ++line) {
        TColor topLeft = top;
        TColor bottomRight = bottom;
        switch (bevel) {
        case ebLowered:
            std::swap(topLeft, bottomRight);
            break;
        case ebAsTopBorder:
            bottomRight = top;
            break;
        case ebAsBottomBorder:
            topLeft = bottom;
            break;
        default:
            break;
        }
        if ((bevel == ebRaised || bevel == ebLowered) && style.SoftControl() && line > 0) {
            topLeft = Soften(topLeft, field, line, width);
            bottomRight = Soften(bottomRight, field, line, width);
        }
        FrameLines(image, line, topLeft, bottomRight);
    }
}

} // namespace

void PaintEditFrame(TBitmap& image, const TsEditorStyle& style) {
    const TColor field = style.FieldColor();
    FillDC(image, {0, 0, image.Width(), image.Height()}, field);
    const TsEditorStyle::TsPainting& painting = style.Painting();
    if (painting.Bevel() == ebNone) {
        return;
    }
    const TsEditorSelection& selection = style.Selection();
    if (style.IsHot() && (selection.Mode() & msBorder)) {
        const TsEditorBorder& border = selection.Border();
        BorderLines(image, style, border.Bevel(), border.Width(), field);
        if (border.Bevel() == ebLowered && border.Width() > 1) {
            FrameLines(image, 0, clBtnShadow, clWhite);
            FrameLines(image, 1, cl3DDkShadow, cl3DLight);
        }
    } else {
        BorderLines(image, style, painting.Bevel(), painting.BorderWidth(), field);
    }
}
