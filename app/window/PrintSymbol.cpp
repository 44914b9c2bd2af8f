#include "PrintSymbol.h"

#include "Exception.h"
#include "ScalableFont.h"

#include <QPainter>
#include <QPainterPath>
#include <QPrinter>

namespace {

// A glyph's outline as a painter path at its place: em units scaled to the size, y downwards.
class TGlyphPath : public TOutlineSink {
public:
    TGlyphPath(QPainterPath& path, double x, double baseline, double size)
        : FPath(path), FX(x), FBaseline(baseline), FSize(size) {}
    void MoveTo(double x, double y) override { FPath.moveTo(At(x, y)); }
    void LineTo(double x, double y) override { FPath.lineTo(At(x, y)); }
    void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) override {
        FPath.cubicTo(At(x1, y1), At(x2, y2), At(x3, y3));
    }

private:
    QPointF At(double x, double y) const { return {FX + x * FSize, FBaseline - y * FSize}; }

    QPainterPath& FPath;
    double FX;
    double FBaseline;
    double FSize;
};

} // namespace

void PrintSymbol(QPrinter& printer, const TBarcode& barcode, const TSymbolOptions& options) {
    const TPrintDrawing drawing = ComposeSymbol(barcode, options, printer.resolution()).Drawing;
    const auto failed = [&](const char* reason) {
        return Exception("Cannot print to " + printer.printerName().toStdString() + ": " + reason);
    };
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw failed("the printer did not start");
    }
    // The painter's units are the printer's dots.
    for (const TPrintRect& r : drawing.Rects) {
        painter.fillRect(QRectF(r.X, r.Y, r.Width, r.Height), Qt::black);
    }
    QPainterPath glyphs;
    glyphs.setFillRule(Qt::WindingFill);
    for (const TPrintText& text : drawing.Texts) {
        for (std::size_t i = 0; i < text.Chars.size(); ++i) {
            TGlyphPath path(glyphs, text.X[i], text.Baseline, text.Size);
            text.Font->Outline(text.Font->GlyphIndex(text.Chars[i]), path);
        }
    }
    painter.fillPath(glyphs, Qt::black);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        throw failed("the printer failed");
    }
    if (printer.printerState() == QPrinter::Aborted) {
        throw failed("the job was cancelled");
    }
}
