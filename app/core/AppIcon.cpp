#include "AppIcon.h"

#include "Barcode.h"
#include "Bitmap.h"
#include "Canvas.h"

#include <algorithm>

namespace {

constexpr TColor InkBlue = 0x9A4E1F;
// Start B, "Q", check character and stop: 11 + 11 + 11 + 13 modules.
constexpr int SymbolModules = 46;

} // namespace

void PaintAppIcon(TBitmap& icon) {
    const int size = icon.Width();
    TCanvas& canvas = icon.Canvas();
    canvas.Brush().Color = clWhite;
    canvas.FillRect({0, 0, size, size});
    canvas.Brush().Color = InkBlue;
    canvas.FillRect({0, 0, size, size / 8});

    TBarcode symbol;
    symbol.SetTyp(TBarcodeType::bcCode128B);
    symbol.SetText("Q");
    symbol.SetModul(std::max(1, size / 64));
    symbol.SetHeight(size / 2);
    symbol.SetLeft((size - SymbolModules * symbol.Modul()) / 2);
    symbol.SetTop(size * 5 / 16);
    symbol.Render(canvas);
}
