#include "sCheckedControl.h"

#include "QtBridge.h"
#include "sConst.h"
#include "sQtSkin.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

TsCheckedControl::TsCheckedControl(QWidget* parent) : TsSkinnedWidget(parent) {
    // First, so that the events the set-up below sends find the style.
    FStyle = std::make_unique<TsStyle>(this);
    FStyle->SetControlKind(ckCheckedControl);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setFont(ScreenFont("MS Sans Serif", 8));
    resize(100, 18);
    // The painting colour of a checked control always follows its parent's.
    FStyle->Painting().SetParentColor(true);
}

TsCheckedControl::~TsCheckedControl() {
    FDestroying = true;
}

void TsCheckedControl::SetAlignment(TAlignment v) {
    FStyle->Change(FAlignment, v);
}
void TsCheckedControl::SetShowFocus(bool v) {
    FStyle->Change(FShowFocus, v);
}
void TsCheckedControl::SetCaption(const std::string& v) {
    if (v != FCaption) {
        FStyle->Change(FCaption, v);
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}
void TsCheckedControl::SetChecked(bool v) {
    if (v != FChecked) {
        FStyle->Change(FChecked, v);
        AnnounceChecked();
    }
}
void TsCheckedControl::SetImgChecked(int v) {
    FStyle->Change(FImgChecked, v);
}
void TsCheckedControl::SetImgUnchecked(int v) {
    FStyle->Change(FImgUnchecked, v);
}
void TsCheckedControl::SetImgCheckedHot(int v) {
    FStyle->Change(FImgCheckedHot, v);
}
void TsCheckedControl::SetImgUncheckedHot(int v) {
    FStyle->Change(FImgUncheckedHot, v);
}
void TsCheckedControl::SetImages(const TImageList* v) {
    FStyle->Change(FImages, v);
}
void TsCheckedControl::SetLayout(TCheckAreaLayout v) {
    FStyle->Change(FLayout, v);
}
void TsCheckedControl::SetMultiLine(bool v) {
    FStyle->Change(FMultiLine, v);
}

TBitmap TsCheckedControl::CurrentGlyph(double scale) const {
    const TsGlyphSources sources{&FGlyphChecked,   &FGlyphUnChecked,     FImages,
                                 FImgChecked,      FImgUnchecked,        FImgCheckedHot,
                                 FImgUncheckedHot, FStyle->ControlKind()};
    return CheckGlyphFor(sources, FChecked, FStyle->IsHot(), scale);
}

TRect TsCheckedControl::GlyphRect() const {
    return CheckGlyphRect(width(), height(), CurrentGlyph(1).Height(), FLayout);
}

void TsCheckedControl::AnnounceChecked() {
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void TsCheckedControl::Toggle() {
    FChecked = !FChecked;
    AnnounceChecked();
    if (OnChange) {
        OnChange(this);
    }
}

bool TsCheckedControl::event(QEvent* e) {
    if ((e->type() == QEvent::ParentChange || e->type() == QEvent::PaletteChange) &&
        FStyle->Painting().ParentColor()) {
        FStyle->Painting().SetParentColor(true);
    }
    return NotifyStyle(*FStyle, *e) || QWidget::event(e);
}

void TsCheckedControl::paintEvent(QPaintEvent*) {
    TBitmap& cache = FStyle->CacheBmp();
    SizeForScreen(cache);
    TsCheckLook look;
    look.Caption = FCaption;
    look.Font = CanvasFont(font());
    look.Alignment = FAlignment;
    look.MultiLine = FMultiLine;
    look.Layout = FLayout;
    look.Enabled = isEnabled();
    look.FocusFrame = hasFocus() && FShowFocus;
    look.Color = FStyle->Painting().Color();
    look.Scale = Scale();
    PaintCheckBox(cache, look, CurrentGlyph(look.Scale));
    FStyle->SetBGChanged(false);
    QPainter painter(this);
    painter.drawImage(0, 0, BitmapImage(cache, look.Scale));
}

void TsCheckedControl::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && isEnabled() && !FPressed) {
        FPressed = true;
        FStyle->Invalidate();
        repaint();
        if (!hasFocus()) {
            setFocus(Qt::MouseFocusReason);
        }
    }
    QWidget::mousePressEvent(e);
}

void TsCheckedControl::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !FPressed) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    // The flag always goes off, ReadOnly or not, so the next press is taken.
    FPressed = false;
    Release(rect().contains(e->position().toPoint()));
}

void TsCheckedControl::Click() {
    Release(true);
}

void TsCheckedControl::Release(bool clicked) {
    const QPointer<TsCheckedControl> self(this);
    if (isEnabled() && !FReadOnly) {
        Toggle();
    }
    if (self) {
        FStyle->Invalidate();
    }
    if (self && clicked && OnClick) {
        OnClick(this);
    }
}

void TsCheckedControl::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space) {
        if (isEnabled() && !FPressed && !e->isAutoRepeat()) {
            FPressed = true;
            FStyle->Invalidate();
            repaint();
        }
        return;
    }
    if (e->modifiers() == Qt::NoModifier || e->modifiers() == Qt::KeypadModifier) {
        const TsNavigation move = FStyle->Navigation(VirtualKey(e->key()));
        if (move != snNone) {
            focusNextPrevChild(move == snNext);
            return;
        }
    }
    QWidget::keyPressEvent(e);
}

void TsCheckedControl::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && FPressed && !e->isAutoRepeat()) {
        FPressed = false;
        const QPointer<TsCheckedControl> self(this);
        if (!FReadOnly) {
            Toggle();
        }
        if (self) {
            FStyle->Invalidate();
        }
        return;
    }
    QWidget::keyReleaseEvent(e);
}
