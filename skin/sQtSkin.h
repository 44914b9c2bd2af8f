#pragma once

#include "Color.h"
#include "Graphics.h"

#include <QColor>
#include <QFont>

#include <cmath>

// What the skinned widgets translate between Qt and the canvas.

// The canvas font for a widget font: same family and style, points at 96 pixels per inch (so
// ScreenFont("MS Sans Serif", 8) is Size 8), black.
inline TFont CanvasFont(const QFont& font) {
    TFont out;
    out.Name = font.family().toStdString();
    out.Size = font.pixelSize() > 0
                   ? static_cast<int>(std::lround(font.pixelSize() * 72.0 / ScreenPixelsPerInch))
                   : static_cast<int>(std::lround(font.pointSizeF()));
    out.Style = static_cast<std::uint8_t>(
        (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
        (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0));
    out.Color = clWindowText;
    return out;
}

inline TColor ColorOf(const QColor& color) {
    return static_cast<TColor>((color.blue() << 16) | (color.green() << 8) | color.red());
}

// The classic virtual-key number of a Qt key, 0 for keys without one; KeysNextControl and
// KeysPrevControl name keys by these numbers.
inline int VirtualKey(int key) {
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) {
        return key; // the same codes
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return 112 + (key - Qt::Key_F1);
    }
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}
