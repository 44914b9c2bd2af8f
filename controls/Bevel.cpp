#include "Bevel.h"

#include "Canvas.h"
#include "QtBridge.h"

#include <QPainter>

TBevel::TBevel(TBevelShape shape, QWidget* parent) : QWidget(parent), FShape(shape) {
    FLine.SetHeight(2);
}

void TBevel::resizeEvent(QResizeEvent* event) {
    FLine.SetWidth(width());
    TCanvas& canvas = FLine.Canvas();
    canvas.Brush().Color = clBtnShadow;
    canvas.FillRect({0, 0, width(), 1});
    canvas.Brush().Color = clBtnHighlight;
    canvas.FillRect({0, 1, width(), 2});
    QWidget::resizeEvent(event);
}

void TBevel::paintEvent(QPaintEvent*) {
    if (FLine.Empty()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, FShape == TBevelShape::bsTopLine ? 0 : height() - 2, BitmapImage(FLine));
}
