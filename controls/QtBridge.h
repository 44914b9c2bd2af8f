#pragma once

#include "Bitmap.h"
#include "Graphics.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QWidget>

#include <cmath>
#include <functional>

class QObject;

// An event handler that is told which control raised it.
using TNotifyEvent = std::function<void(QObject* Sender)>;

// The bitmap's pixels seen as a QImage, without a copy: 0x00RRGGBB rows are what Qt calls RGB32.
// The image is valid while the bitmap keeps its size. A bitmap painted in device pixels says so
// by its ratio, and a painter then draws it pixel for pixel.
inline QImage BitmapImage(const TBitmap& bitmap, qreal ratio = 1) {
    QImage image(reinterpret_cast<const uchar*>(bitmap.ScanLine(0)), bitmap.Width(),
                 bitmap.Height(), bitmap.Width() * 4, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

// The bitmap's pixels as a QImage that a QPainter paints into, in place. Qt sets each pixel's
// top byte, which a TBitmap ignores.
inline QImage PaintableImage(TBitmap& bitmap, qreal ratio) {
    QImage image(reinterpret_cast<uchar*>(bitmap.ScanLine(0)), bitmap.Width(), bitmap.Height(),
                 bitmap.Width() * 4, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

// A colour as Qt draws it; a system colour takes its value from the program's fixed table.
inline QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

// A Qt colour as a direct colour.
inline TColor ColorOf(const QColor& color) {
    return static_cast<TColor>((color.blue() << 16) | (color.green() << 8) | color.red());
}

// Gives one role of the widget's palette a colour.
inline void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, TColor color) {
    QPalette palette = widget->palette();
    palette.setColor(role, ToQColor(color));
    widget->setPalette(palette);
}

// A font sized like the program's own text: points at 96 pixels per inch, whatever the screen
// says, so that text fits the pixel positions of the windows.
inline QFont ScreenFont(const char* family, int points, bool bold = false) {
    QFont font(QString::fromUtf8(family));
    font.setPixelSize((points * 96 + 36) / 72);
    font.setBold(bold);
    return font;
}

// The Qt font of a TFont (its colour is not part of a QFont).
inline QFont ToQFont(const TFont& font) {
    QFont result = ScreenFont(font.Name.c_str(), font.Size, (font.Style & fsBold) != 0);
    result.setItalic((font.Style & fsItalic) != 0);
    result.setUnderline((font.Style & fsUnderline) != 0);
    result.setStrikeOut((font.Style & fsStrikeOut) != 0);
    return result;
}

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
