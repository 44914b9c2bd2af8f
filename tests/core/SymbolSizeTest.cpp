#include "Symbol.h"

#include "RenderedPage.h"

#include <cmath>

// A PDF printed at 1,200 dpi measures what it says: the page is the symbol with its quiet zones,
// and along a row through the bars every bar begins and ends within a dot of its place.
TEST(SymbolSize, PdfBarsWithinADotAt1200Dpi) {
    constexpr int Dpi = 1200;
    const struct {
        TBarcodeType Typ;
        std::string Data;
        TSymbolOptions Options;
    } rows[] = {
        {TBarcodeType::bcCodeEAN13, "1234567890128", {}},
        {TBarcodeType::bcCode128B, std::string(80, 'w'), {.XDim = 0.25}},
        {TBarcodeType::bcCode39, "SIZE-39", {.XDim = 0.19, .Ratio = 2.5, .Reduction = 0.03}},
    };
    const ScratchDir dir;
    for (const auto& row : rows) {
        SCOPED_TRACE(BarcodeTypeCaption(row.Typ));
        TBarcode barcode;
        barcode.SetTyp(row.Typ);
        barcode.SetText(row.Data);
        barcode.SetChecksum(true);
        SaveSymbolFile(barcode, row.Options, dir / "symbol.pdf", {});
        const TRenderedPage page = RenderedPage(dir / "symbol.pdf", Dpi);
        const TPrintDrawing drawing = ComposeSymbol(barcode, row.Options).Drawing;
        const auto dots = [](double mm) { return mm * Dpi / 25.4; };
        EXPECT_NEAR(page.Width, dots(drawing.Width), 1);
        EXPECT_NEAR(page.Height, dots(drawing.Height), 1);
        // Halfway down the shortest bar every bar is crossed.
        const auto shortest = std::ranges::min(drawing.Rects, {}, &TPrintRect::Height);
        const int y = static_cast<int>(dots(shortest.Y + shortest.Height / 2));
        std::vector<std::pair<int, int>> bars;
        for (int x = 0; x < page.Width; ++x) {
            if (page.Dark(x, y) && (x == 0 || !page.Dark(x - 1, y))) {
                bars.emplace_back(x, x);
            }
            if (page.Dark(x, y)) {
                bars.back().second = x + 1;
            }
        }
        ASSERT_EQ(bars.size(), drawing.Rects.size());
        for (std::size_t i = 0; i < bars.size(); ++i) {
            const TPrintRect& bar = drawing.Rects[i];
            EXPECT_NEAR(bars[i].first, dots(bar.X), 1) << i;
            EXPECT_NEAR(bars[i].second, dots(bar.X + bar.Width), 1) << i;
        }
    }
}
