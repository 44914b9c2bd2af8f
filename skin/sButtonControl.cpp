#include "sButtonControl.h"

#include "QtBridge.h"
#include "sBorders.h"
#include "sConst.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>

TsButtonControl::TsButtonControl(QWidget* parent) : TsSkinnedWidget(parent) {
    // First, so that the events the set-up below sends find the style.
    FStyle = std::make_unique<TsActiveBGStyle>(this);
    FStyle->SetControlKind(ckButtonControl);
    // The face covers every pixel, so the window is never cleared before painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setFont(ScreenFont("MS Sans Serif", 8));
    resize(84, 22);
    connect(&FFadeTimer, &QTimer::timeout, this, [this] { FadeTick(); });
}

TsButtonControl::~TsButtonControl() {
    FDestroying = true;
    FFadeTimer.stop();
}

void TsButtonControl::SetBevelWidth(int v) {
    if (v != FBevelWidth) {
        FBevelWidth = v;
        FStyle->Invalidate();
    }
}

void TsButtonControl::SetMargin(int v) {
    if (v != FMargin) {
        FMargin = v;
        FStyle->Invalidate();
    }
}

void TsButtonControl::SetCaption(const std::string& v) {
    if (v != FCaption) {
        FCaption = v;
        FStyle->Invalidate();
        // The caption is the button's name to a screen reader ("Stop" while a batch runs).
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void TsButtonControl::SetShowCaption(bool v) {
    if (v != FShowCaption) {
        FShowCaption = v;
        FStyle->Invalidate();
    }
}

void TsButtonControl::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

TsButtonLook TsButtonControl::Look() const {
    TsButtonLook look;
    look.Caption = FCaption;
    look.Font = CanvasFont(font());
    look.Margin = FMargin;
    look.ShowCaption = FShowCaption;
    look.Down = FDown;
    look.Enabled = isEnabled();
    look.Scale = Scale();
    return look;
}

void TsButtonControl::Recompose() {
    SizeForScreen(FStyle->CacheBmp());
    if (const auto cut = PaintButton(*FStyle, Look())) {
        QRegion region(0, 0, width(), height());
        for (const TRect& r : ControlPixelsCut(*cut, width(), height(), Scale())) {
            region -= QRegion(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        }
        setMask(region);
    }
}

bool TsButtonControl::Fade(bool in) {
    if (!FStyle->GetFadingEnabled() || FMode != 0) {
        return false;
    }
    FSnapshot = FStyle->CacheBmp();
    Recompose();
    if (in) {
        FFader.StartIn();
        FFadeTimer.setInterval(FStyle->GetFadingIntervalIn());
    } else {
        FFader.StartOut();
        FFadeTimer.setInterval(FStyle->GetFadingIntervalOut());
    }
    FFadeTimer.start();
    return true;
}

void TsButtonControl::FadeTick() {
    const TFadeDirection direction = FFader.Direction();
    const TsFader::TStep step = FFader.Tick(FStyle->GetFadingIterations(), FDestroying);
    switch (step.Kind) {
    case TsFader::skFrame:
        FadeFrame(FFrame, FSnapshot, FStyle->CacheBmp(), direction, step.Weight);
        FShowingFrame = true;
        repaint();
        break;
    case TsFader::skFinished:
        FFadeTimer.stop();
        FShowingFrame = false;
        FStyle->SetBGChanged(true);
        repaint();
        break;
    case TsFader::skStopped:
        FFadeTimer.stop();
        FShowingFrame = false;
        break;
    }
}

void TsButtonControl::StopFade() {
    FFader.Halt(FStyle->GetFadingIterations());
    FFadeTimer.stop();
    FShowingFrame = false;
}

void TsButtonControl::PressAndClick() {
    const QPointer<TsButtonControl> self(this);
    FDown = true;
    FStyle->Invalidate();
    repaint();
    Click();
    if (self) {
        FDown = false;
        FStyle->Invalidate();
    }
}

bool TsButtonControl::event(QEvent* e) {
    return NotifyStyle(*FStyle, *e) || QWidget::event(e);
}

void TsButtonControl::paintEvent(QPaintEvent*) {
    // On a screen of another ratio the face and the region are made again at its size.
    if (!FitsScreen(FStyle->CacheBmp())) {
        FStyle->SetBGChanged(true);
        FStyle->SetRegionChanged(true);
    }
    if (FStyle->BGChanged() && !FFadeTimer.isActive()) {
        Recompose();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, BitmapImage(FShowingFrame ? FFrame : FStyle->CacheBmp(), Scale()));
    FStyle->SetBGChanged(false);
}

void TsButtonControl::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    StopFade();
    if (isEnabled() && !FDown) {
        FDown = true;
        FStyle->Invalidate();
        repaint();
    }
}

void TsButtonControl::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    StopFade();
    // A press that the space bar made is the key's to finish.
    if (!isEnabled() || FKeyDown) {
        return;
    }
    const QPointer<TsButtonControl> self(this);
    // Not down when Esc cancelled the press.
    const bool pressed = FDown;
    FStyle->Invalidate();
    FDown = false;
    if (pressed && rect().contains(e->position().toPoint())) {
        Click();
    }
    if (self) {
        repaint();
    }
}

void TsButtonControl::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && e->modifiers() == Qt::NoModifier && FStyle->Focused()) {
        if (!FDown) {
            FStyle->Invalidate();
            FDown = true;
            FKeyDown = true;
            repaint();
        }
        return;
    }
    if (e->key() == Qt::Key_Escape && FDown && !FKeyDown) {
        FDown = false;
        FStyle->Invalidate();
        repaint();
        return;
    }
    QWidget::keyPressEvent(e);
}

void TsButtonControl::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && FKeyDown && !e->isAutoRepeat()) {
        FDown = false;
        FKeyDown = false;
        FStyle->Invalidate();
        repaint();
        Click();
        return;
    }
    QWidget::keyReleaseEvent(e);
}
