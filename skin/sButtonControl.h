#pragma once

#include "Bitmap.h"
#include "QtBridge.h"
#include "sButtonPaint.h"
#include "sFade.h"
#include "sSkinnedWidget.h"
#include "sStyleSimply.h"

#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>

// A push button painted entirely from its style: the face is composed into the style's cache
// only when the background changed, shaped by the border mask (which also cuts the window's
// corners) and cross-faded to and from the hot face by a timer. The widget hands its events to
// the style and copies the cache to the screen.
class TsButtonControl : public TsSkinnedWidget<QWidget> {
public:
    explicit TsButtonControl(QWidget* parent = nullptr);
    ~TsButtonControl() override;

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v) { FAutoSize = v; }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v);
    TsActiveBGStyle& sStyle() { return *FStyle; }
    int Margin() const { return FMargin; }
    void SetMargin(int v);
    const std::string& Caption() const { return FCaption; }
    virtual void SetCaption(const std::string& v);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool v);
    bool Down() const { return FDown; }
    const TsFader& Fader() const { return FFader; }
    TNotifyEvent OnClick;

    // Raises OnClick.
    virtual void Click();

    bool ButtonDown() const override { return FDown; }
    void SetOwnColor(TColor color) override { FColor = color; }
    std::string ClassName() const override { return "TsButtonControl"; }
    bool Fade(bool in) override;

protected:
    // The look of the face apart from the style; TsButton adds the focus frame.
    virtual TsButtonLook Look() const;
    void SetDown(bool v) { FDown = v; }
    // Shows the pressed face at once and clicks, as Enter, Escape and accelerators do.
    void PressAndClick();

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    void Recompose();
    void FadeTick();
    void StopFade();

    std::unique_ptr<TsActiveBGStyle> FStyle;
    std::string FCaption;
    bool FAutoSize = false;
    int FBevelWidth = 2;
    int FMargin = 0;
    bool FShowCaption = true;
    bool FDown = false;
    // Down because the space bar went down; only its release clicks then.
    bool FKeyDown = false;
    int FMode = 0; // push button, the only mode
    TBitmap FSnapshot;
    TBitmap FFrame;
    bool FShowingFrame = false;
    QTimer FFadeTimer;
    TsFader FFader;
    TColor FColor = clBtnFace;
};
