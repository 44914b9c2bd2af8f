#pragma once

#include "sButtonControl.h"

#include <QMetaObject>
#include <QPointer>

class QShortcut;

// The dialog push button: clicks on a release inside it, on Enter while it is the active default
// button, on Escape when it is the Cancel button and on its accelerator ("&" in the caption),
// and hands a non-zero ModalResult to the QDialog it sits in.
class TsButton : public TsButtonControl {
public:
    explicit TsButton(QWidget* parent = nullptr);
    ~TsButton() override;

    bool Cancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    int FocusMargin() const { return FFocusMargin; }
    void SetFocusMargin(int v);
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int v) { FModalResult = v; }
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool v);
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void SetTabStop(bool v) { setFocusPolicy(v ? Qt::StrongFocus : Qt::ClickFocus); }
    // The focused TsButton of the window, or, while none is, a Default one.
    bool IsActiveDefault() const { return FActiveDefault; }

    void SetCaption(const std::string& v) override;
    void Click() override;

    bool ActiveDefault() const override { return FDefault && FActiveDefault; }
    std::string ClassName() const override { return "TsButton"; }

protected:
    TsButtonLook Look() const override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void UpdateActiveDefault(QWidget* focused);
    void WatchWindow();
    // Enter for the active default button, Escape for the Cancel button.
    bool DialogKey(QKeyEvent* e);

    bool FCancel = false;
    bool FDefault = false;
    int FFocusMargin = 1;
    int FModalResult = 0;
    bool FShowFocus = true;
    bool FActiveDefault = false;
    QShortcut* FAccelerator = nullptr;
    QPointer<QWidget> FWindow;
    QMetaObject::Connection FFocusConnection;
};
