#pragma once

#include "Bitmap.h"

#include <QToolButton>

// The glyph button of a path box: Qt's tool button, which shows its focus only as a faint tint,
// with the dotted focus frame inside its face while it has the focus. Unfocused it is exactly
// Qt's button; focused, Qt draws the button into a TBitmap, the canvas adds the frame, and the
// bitmap is copied to the screen.
class TSpeedButton : public QToolButton {
public:
    explicit TSpeedButton(QWidget* parent = nullptr);

    // The frame's distance from the edges, in control pixels: round the 16 × 16 glyph of a
    // 20 × 20 button, not over it.
    static constexpr int FocusInset = 1;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TBitmap FFace;
};
