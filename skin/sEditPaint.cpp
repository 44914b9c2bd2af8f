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

// One frame of lines `thick` pixels thick at `inset` from the outer edge: top and left, then
// bottom and right.
void FrameLines(TBitmap& image, int inset, int thick, TColor topLeft, TColor bottomRight) {
    const int right = image.Width() - inset;
    const int bottom = image.Height() - inset;
    if (right - thick < inset || bottom - thick < inset) {
        return;
    }
    FillDC(image, {inset, inset, right, inset + thick}, topLeft);
    FillDC(image, {inset, inset, inset + thick, bottom}, topLeft);
    FillDC(image, {inset, bottom - thick, right, bottom}, bottomRight);
    FillDC(image, {right - thick, inset, right, bottom}, bottomRight);
}

void BorderLines(TBitmap& image, const TsEditorStyle& style, TsEditorBevel bevel, int width,
                 TColor field, int thick) {
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
        FrameLines(image, line * thick, thick, topLeft, bottomRight);
    }
}

} // namespace

void PaintEditFrame(TBitmap& image, const TsEditorStyle& style, double scale) {
    const int thick = Scaled(1, scale);
    const TColor field = style.FieldColor();
    FillDC(image, {0, 0, image.Width(), image.Height()}, field);
    const TsEditorStyle::TsPainting& painting = style.Painting();
    if (painting.Bevel() == ebNone) {
        return;
    }
    const TsEditorSelection& selection = style.Selection();
    if (style.IsHot() && (selection.Mode() & msBorder)) {
        const TsEditorBorder& border = selection.Border();
        BorderLines(image, style, border.Bevel(), border.Width(), field, thick);
        if (border.Bevel() == ebLowered && border.Width() > 1) {
            FrameLines(image, 0, thick, clBtnShadow, clWhite);
            FrameLines(image, thick, thick, cl3DDkShadow, cl3DLight);
        }
    } else {
        BorderLines(image, style, painting.Bevel(), painting.BorderWidth(), field, thick);
    }
}
