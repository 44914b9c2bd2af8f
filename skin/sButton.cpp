#include "sButton.h"

#include "sConst.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QShortcut>

TsButton::TsButton(QWidget* parent) : TsButtonControl(parent) {
    sStyle().SetControlKind(ckButton);
    setFocusPolicy(Qt::StrongFocus);
    resize(75, 25);
    FAccelerator = new QShortcut(this);
    connect(FAccelerator, &QShortcut::activated, this, [this] {
        if (isEnabled() && isVisible()) {
            PressAndClick();
        }
    });
    FFocusConnection = connect(qApp, &QApplication::focusChanged, this,
                               [this](QWidget*, QWidget* now) { UpdateActiveDefault(now); });
    WatchWindow();
}

TsButton::~TsButton() {
    disconnect(FFocusConnection);
    if (FWindow) {
        FWindow->removeEventFilter(this);
    }
}

void TsButton::SetDefault(bool v) {
    if (v == FDefault) {
        return;
    }
    FDefault = v;
    UpdateActiveDefault(QApplication::focusWidget());
    sStyle().Invalidate();
}

void TsButton::SetFocusMargin(int v) {
    if (v != FFocusMargin) {
        FFocusMargin = v;
        sStyle().Invalidate();
    }
}

void TsButton::SetShowFocus(bool v) {
    if (v != FShowFocus) {
        FShowFocus = v;
        sStyle().Invalidate();
    }
}

void TsButton::SetCaption(const std::string& v) {
    TsButtonControl::SetCaption(v);
    FAccelerator->setKey(QKeySequence::mnemonic(QString::fromStdString(v)));
}

void TsButton::Click() {
    if (auto* dialog = dynamic_cast<QDialog*>(window()); dialog != nullptr && FModalResult != 0) {
        dialog->done(FModalResult);
    }
    TsButtonControl::Click();
}

TsButtonLook TsButton::Look() const {
    TsButtonLook look = TsButtonControl::Look();
    look.FocusFrame = hasFocus() && FShowFocus;
    look.FocusMargin = FFocusMargin;
    return look;
}

void TsButton::UpdateActiveDefault(QWidget* focused) {
    auto* button = dynamic_cast<TsButton*>(focused);
    const bool active =
        button != nullptr && button->window() == window() ? button == this : FDefault;
    if (active != FActiveDefault) {
        FActiveDefault = active;
        sStyle().Invalidate();
    }
}

void TsButton::WatchWindow() {
    QWidget* now = window();
    if (now == FWindow) {
        return;
    }
    if (FWindow) {
        FWindow->removeEventFilter(this);
    }
    FWindow = now;
    if (now != this) {
        now->installEventFilter(this);
    }
}

bool TsButton::DialogKey(QKeyEvent* e) {
    const Qt::KeyboardModifiers held =
        e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    const bool escape = e->key() == Qt::Key_Escape;
    if (held != Qt::NoModifier || !((enter && FActiveDefault) || (escape && FCancel)) ||
        !isEnabled() || !isVisible()) {
        return false;
    }
    PressAndClick();
    return true;
}

bool TsButton::event(QEvent* e) {
    if (e->type() == QEvent::ParentChange) {
        WatchWindow();
    }
    return TsButtonControl::event(e);
}

bool TsButton::eventFilter(QObject* watched, QEvent* e) {
    // Keys that the focused control left alone travel up to the window.
    if (watched == FWindow && e->type() == QEvent::KeyPress &&
        DialogKey(static_cast<QKeyEvent*>(e))) {
        return true;
    }
    return TsButtonControl::eventFilter(watched, e);
}

void TsButton::mousePressEvent(QMouseEvent* e) {
    TsButtonControl::mousePressEvent(e);
    if (e->button() == Qt::LeftButton && isEnabled() && !hasFocus()) {
        setFocus(Qt::MouseFocusReason);
    }
}

void TsButton::keyPressEvent(QKeyEvent* e) {
    if (!DialogKey(e)) {
        TsButtonControl::keyPressEvent(e);
    }
}
