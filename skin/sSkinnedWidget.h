#pragma once

#include "Bitmap.h"
#include "QtBridge.h"
#include "sStyleOwner.h"

#include <QEvent>
#include <QPalette>
#include <QWidget>

class TsGenStyle;

// A Qt widget that owns a style: it answers the style's questions from Qt and hands the style
// the notifications hidden in Qt's events.
template <typename Widget> class TsSkinnedWidget : public Widget, public TsStyleOwner {
public:
    using Widget::Widget;

    int Width() const override { return this->width(); }
    int Height() const override { return this->height(); }
    bool Destroying() const override { return FDestroying; }
    bool Enabled() const override { return this->isEnabled(); }
    bool Visible() const override { return this->isVisible(); }
    bool Focused() const override { return this->hasFocus(); }
    void Repaint() override { this->update(); }
    TColor ParentColor() const override {
        const QWidget* parent = this->parentWidget();
        return parent != nullptr ? ColorOf(parent->palette().color(QPalette::Window)) : clBtnFace;
    }

    // The screen's device pixel ratio: the skin paints the face in device pixels, so that it is
    // as sharp as the text Qt draws beside it.
    double Scale() const { return this->devicePixelRatioF(); }
    // Whether the off-screen face has the control's size in device pixels.
    bool FitsScreen(const TBitmap& face) const {
        return face.Width() == DeviceLength(this->width(), Scale()) &&
               face.Height() == DeviceLength(this->height(), Scale());
    }
    // Gives the off-screen face the control's size in device pixels.
    void SizeForScreen(TBitmap& face) const {
        face.SetWidth(DeviceLength(this->width(), Scale()));
        face.SetHeight(DeviceLength(this->height(), Scale()));
    }

protected:
    // Hands the style what the event tells it (a change of the enabled state or the font
    // repaints the face); true when the style took the event (the mouse entering or leaving),
    // which then goes no further.
    template <typename Style> static bool NotifyStyle(Style& style, const QEvent& e) {
        switch (e.type()) {
        case QEvent::Enter:
            return style.Notify(TsMessage::MouseEnter);
        case QEvent::Leave:
            return style.Notify(TsMessage::MouseLeave);
        case QEvent::FocusIn:
            return style.Notify(TsMessage::SetFocus);
        case QEvent::FocusOut:
            return style.Notify(TsMessage::KillFocus);
        case QEvent::Resize:
            return style.Notify(TsMessage::Size);
        case QEvent::Move:
            return style.Notify(TsMessage::Move);
        case QEvent::EnabledChange:
        case QEvent::FontChange:
            style.Invalidate();
            return false;
        default:
            return false;
        }
    }

    // Set first thing by the destructor, so that the style's rules see a control going away.
    bool FDestroying = false;
};
