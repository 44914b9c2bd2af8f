#include "RLed.h"

#include "QtBridge.h"

#include <QAccessible>
#include <QPainter>
#include <QResizeEvent>

TRLed::TRLed(QWidget* parent) : QWidget(parent) {
    // Every pixel is the bar's own; nothing of the parent needs to be painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(FBar.Width(), FBar.Height());
    FBar.OnPaint = [this] { repaint(); };
}

void TRLed::SetOrientation(TTrackBarOrientation value) {
    FBar.SetOrientation(value);
    resize(FBar.Width(), FBar.Height());
}

void TRLed::SetMaxValue(std::int32_t value) {
    const std::int32_t old = FBar.MaxValue();
    FBar.SetMaxValue(value);
    if (FBar.MaxValue() != old) {
        AnnounceValue();
    }
}

void TRLed::SetPosition(std::int32_t value) {
    const std::int32_t old = FBar.Position();
    FBar.SetPosition(value);
    if (FBar.Position() != old) {
        AnnounceValue();
    }
}

void TRLed::AnnounceValue() {
    QAccessibleValueChangeEvent event(this, FBar.Position());
    QAccessible::updateAccessibility(&event);
}

void TRLed::Load(const TLedBarStored& stored) {
    FBar.Load(stored);
    resize(FBar.Width(), FBar.Height());
}

void TRLed::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, BitmapImage(FBar.Image()));
}

void TRLed::resizeEvent(QResizeEvent* event) {
    FBar.SetSize(event->size().width(), event->size().height());
}
