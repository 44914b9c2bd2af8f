#include "sEdit.h"

#include "QtBridge.h"
#include "sConst.h"
#include "sEditPaint.h"
#include "sQtSkin.h"

#include <QKeyEvent>
#include <QPainter>

TsEdit::TsEdit(QWidget* parent) : TsSkinnedWidget(parent) {
    // First, so that the events the set-up below sends find the style.
    FStyle = std::make_unique<TsStyle>(this);
    FStyle->SetControlKind(ckEdit);
    setFrame(false);
    setTextMargins(EditFrameWidth, EditFrameWidth, EditFrameWidth, EditFrameWidth);
    // The field colour is painted underneath, so the line edit draws no panel of its own, not
    // even where a parent's style sheet (a group box's) hands its painting to Qt's style sheet
    // style, which would paint the palette's base over the face.
    setStyleSheet("QLineEdit { background: transparent; border: none; }");
    setFont(ScreenFont("MS Sans Serif", 8));
    resize(width(), 21);
}

TsEdit::~TsEdit() {
    FDestroying = true;
}

bool TsEdit::event(QEvent* e) {
    return NotifyStyle(*FStyle, *e) || QLineEdit::event(e);
}

void TsEdit::paintEvent(QPaintEvent* e) {
    SizeForScreen(FFace);
    PaintEditFrame(FFace, *FStyle, Scale());
    FStyle->SetBGChanged(false);
    {
        QPainter painter(this);
        painter.drawImage(0, 0, BitmapImage(FFace, Scale()));
    }
    QLineEdit::paintEvent(e);
}

void TsEdit::keyPressEvent(QKeyEvent* e) {
    if (e->modifiers() == Qt::NoModifier || e->modifiers() == Qt::KeypadModifier) {
        const TsNavigation move = FStyle->Navigation(VirtualKey(e->key()));
        if (move != snNone) {
            focusNextPrevChild(move == snNext);
            return;
        }
    }
    QLineEdit::keyPressEvent(e);
}
