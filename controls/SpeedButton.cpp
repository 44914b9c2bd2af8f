#include "SpeedButton.h"

#include "Canvas.h"
#include "QtBridge.h"

#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

TSpeedButton::TSpeedButton(QWidget* parent) : QToolButton(parent) {}

void TSpeedButton::paintEvent(QPaintEvent* event) {
    if (!hasFocus()) {
        QToolButton::paintEvent(event);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    FFace.SetWidth(DeviceLength(width(), ratio));
    FFace.SetHeight(DeviceLength(height(), ratio));
    {
        QImage face = PaintableImage(FFace, ratio);
        // What shows through where a flat button draws nothing.
        face.fill(palette().color(QPalette::Window));
        QStylePainter painter(&face, this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ToolButton, option);
    }
    // One dotted line a control pixel, so the frame is as thick at any ratio.
    const int inset = Scaled(FocusInset, ratio);
    FFace.Canvas().DrawFocusRect({inset, inset, FFace.Width() - inset, FFace.Height() - inset},
                                 Scaled(1, ratio));
    QPainter(this).drawImage(0, 0, BitmapImage(FFace, ratio));
}
