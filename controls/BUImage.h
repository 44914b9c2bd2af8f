#pragma once

#include "Color.h"
#include "Picture.h"
#include "QtBridge.h"

#include <QColor>
#include <QPoint>
#include <QWidget>

class TCanvas;

// An image control that can swap its picture as the mouse enters, leaves, presses and clicks it,
// cycle through two clicked pictures, colour the hint window while the mouse is over it, and
// report wheel turns as notches.
class TBUImage : public QWidget {
public:
    using TMouseWheelEvent = std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift,
                                                int WheelDelta, QPoint MousePos, bool& Handled)>;
    using TMouseWheelUpDownEvent = std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift,
                                                      QPoint MousePos, bool& Handled)>;

    explicit TBUImage(QWidget* parent = nullptr);

    // The shown picture.
    TPicture& Picture() { return FPicture; }
    // The canvas of the shown picture's image; the first request while the picture is empty
    // creates a white image of the control's size.
    TCanvas& Canvas();

    bool EffectDownUp() const { return FEffectDownUp; }
    void SetEffectDownUp(bool v) { FEffectDownUp = v; }
    bool EffectHighlight() const { return FEffectHighlight; }
    void SetEffectHighlight(bool v) { FEffectHighlight = v; }
    bool EffectClick1() const { return FEffectClick1; }
    void SetEffectClick1(bool v) { FEffectClick1 = v; }
    bool EffectClick2() const { return FEffectClick2; }
    void SetEffectClick2(bool v) { FEffectClick2 = v; }

    const TPicture& PictureDown() const { return FPictureDown; }
    void SetPictureDown(const TPicture& v) { FPictureDown.Assign(v); }
    const TPicture& PictureLeave() const { return FPictureLeave; }
    // Also shows the picture.
    void SetPictureLeave(const TPicture& v);
    const TPicture& PictureEnter() const { return FPictureEnter; }
    // Also shows the picture while the leave picture holds no image.
    void SetPictureEnter(const TPicture& v);
    const TPicture& PictureClicked1() const { return FPictureClicked1; }
    void SetPictureClicked1(const TPicture& v) { FPictureClicked1.Assign(v); }
    const TPicture& PictureClicked2() const { return FPictureClicked2; }
    void SetPictureClicked2(const TPicture& v) { FPictureClicked2.Assign(v); }

    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor v) { FHintColor = v; }
    int WheelAccumulator() const { return FWheelAccumulator; }
    void SetWheelAccumulator(int v) { FWheelAccumulator = v; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnPositionChanged;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;

    // With EffectDownUp: shows the pressed picture.
    void MakeDown();
    // Advances the click state 0 -> 1 -> 2 -> 0 as far as the click effects allow.
    void MakeClick();
    int GetState() const { return FState; }
    // Shows the picture of a state without recording it: 0 leave, 1 and 2 clicked, else down.
    void SetState(int state);

    // What the wheel handling does with one turn: true when it was handled here.
    bool WheelTurned(Qt::KeyboardModifiers shift, int delta, QPoint mousePos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Show(const TPicture& picture) { FPicture.Assign(picture); }
    void PositionChanged();
    bool AnyEffect() const;

    TPicture FPicture;
    bool FEffectDownUp = false;
    bool FEffectHighlight = false;
    bool FEffectClick1 = false;
    bool FEffectClick2 = false;
    TPicture FPictureDown;
    TPicture FPictureLeave;
    TPicture FPictureEnter;
    TPicture FPictureClicked1;
    TPicture FPictureClicked2;
    TColor FHintColor = clInfoBk;
    int FWheelAccumulator = 0;
    int FState = 0;
    QColor FSavedHintColor;
};
