#include "BUImage.h"

#include "Canvas.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <cstdlib>

namespace {

constexpr int WheelNotch = 120;

QColor HintWindowColor() {
    return QToolTip::palette().color(QPalette::ToolTipBase);
}

bool IsClickButton(const QMouseEvent* event) {
    return (event->button() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton)) != 0;
}

void SetHintWindowColor(const QColor& color) {
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, color);
    QToolTip::setPalette(palette);
}

} // namespace

TBUImage::TBUImage(QWidget* parent) : QWidget(parent) {
    FPicture.OnChange = [this] { update(); };
}

TCanvas& TBUImage::Canvas() {
    if (FPicture.Bitmap() == nullptr) {
        auto image = std::make_unique<TBitmap>();
        image->SetWidth(width());
        image->SetHeight(height());
        FPicture.SetBitmap(std::move(image));
    }
    return FPicture.Bitmap()->Canvas();
}

void TBUImage::SetPictureLeave(const TPicture& v) {
    FPictureLeave.Assign(v);
    Show(FPictureLeave);
}

void TBUImage::SetPictureEnter(const TPicture& v) {
    FPictureEnter.Assign(v);
    if (FPictureLeave.Bitmap() == nullptr || FPictureLeave.Bitmap()->Empty()) {
        Show(FPictureEnter);
    }
}

bool TBUImage::AnyEffect() const {
    return FEffectDownUp || FEffectHighlight || FEffectClick1 || FEffectClick2;
}

void TBUImage::PositionChanged() {
    if (OnPositionChanged) {
        OnPositionChanged(this);
    }
}

void TBUImage::MakeDown() {
    if (FEffectDownUp) {
        Show(FPictureDown);
        PositionChanged();
    }
}

void TBUImage::MakeClick() {
    if (FState == 1 && FEffectClick2) {
        FState = 2;
        Show(FPictureClicked2);
    } else if (FState == 0 && FEffectClick1) {
        FState = 1;
        Show(FPictureClicked1);
    } else {
        FState = 0;
        // Without any effect the control is a plain display: a click must not discard what it
        // shows (the code window's barcode).
        if (AnyEffect()) {
            Show(FPictureLeave);
        }
    }
    PositionChanged();
}

void TBUImage::SetState(int state) {
    switch (state) {
    case 0:
        Show(FPictureLeave);
        break;
    case 1:
        Show(FPictureClicked1);
        break;
    case 2:
        Show(FPictureClicked2);
        break;
    default:
        Show(FPictureDown);
        break;
    }
}

bool TBUImage::WheelTurned(Qt::KeyboardModifiers shift, int delta, QPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel) {
        OnMouseWheel(this, shift, delta, mousePos, handled);
    }
    if (handled) {
        return true;
    }
    // 64 bits: a turn of any size added to any accumulator stays exact.
    long long accumulator = static_cast<long long>(FWheelAccumulator) + delta;
    while (std::llabs(accumulator) >= WheelNotch) {
        const bool down = accumulator < 0;
        accumulator += down ? WheelNotch : -WheelNotch;
        handled = false;
        const TMouseWheelUpDownEvent& notch = down ? OnMouseWheelDown : OnMouseWheelUp;
        if (notch) {
            notch(this, shift, mousePos, handled);
        }
    }
    FWheelAccumulator = static_cast<int>(accumulator);
    return handled;
}

void TBUImage::paintEvent(QPaintEvent*) {
    if (const TBitmap* image = FPicture.Bitmap(); image != nullptr && !image->Empty()) {
        QPainter painter(this);
        // The picture keeps the control's size at every device pixel ratio, each pixel drawn as
        // the device pixels nearest to it: at a whole ratio a block of them, at another one or
        // two a side. Bars keep hard edges and their two colours; smoothing would blur them into
        // greys that eye and reader take for other widths.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(0, 0, BitmapImage(*image));
    }
}

void TBUImage::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (IsClickButton(event)) {
        MakeDown();
    }
}

void TBUImage::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (IsClickButton(event)) {
        MakeClick();
    }
}

void TBUImage::enterEvent(QEnterEvent* event) {
    FSavedHintColor = HintWindowColor();
    SetHintWindowColor(ToQColor(FHintColor));
    QWidget::enterEvent(event);
    if (FEffectHighlight) {
        Show(FPictureEnter);
    }
    if (OnMouseEnter) {
        OnMouseEnter(this);
    }
    PositionChanged();
}

void TBUImage::leaveEvent(QEvent* event) {
    if (FSavedHintColor.isValid()) {
        SetHintWindowColor(FSavedHintColor);
    }
    QWidget::leaveEvent(event);
    if (FEffectHighlight) {
        Show(FPictureLeave);
    }
    if (OnMouseLeave) {
        OnMouseLeave(this);
    }
    PositionChanged();
}

void TBUImage::wheelEvent(QWheelEvent* event) {
    const QPoint position = event->position().toPoint();
    event->setAccepted(WheelTurned(event->modifiers(), event->angleDelta().y(), position));
}
