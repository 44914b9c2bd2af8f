#include "Unit3.h"

#include "BUImage.h"
#include "Color.h"
#include "QtBridge.h"

#include <QApplication>

// A tool window: Qt does not wait for it, so closing the main window ends the program even while
// this one is open.
TForm3::TForm3(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Image1(new TBUImage(this)) {
    setWindowTitle("Code window");
    setFont(ScreenFont("MS Sans Serif", 8));
    SetPaletteColor(this, QPalette::Window, clBtnFace);
    setFixedSize(525, 276);
    move(200, 332);
    Image1->setGeometry(rect());
}

void TForm3::ShowInFront() {
    // A tool window has no taskbar entry: minimized, it would stay out of reach. A window
    // manager may hand the keyboard to a window it restores; the window it was in keeps it.
    QWidget* const active = QApplication::activeWindow();
    const bool minimized = isMinimized();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    if (minimized && active != nullptr && active != this) {
        active->activateWindow();
    }
    raise();
}

TBitmap& TForm3::CodeImage() {
    Image1->Canvas();
    return *Image1->Picture().Bitmap();
}
