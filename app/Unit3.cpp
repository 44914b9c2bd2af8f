#include "Unit3.h"

#include "BUImage.h"
#include "Color.h"
#include "QtBridge.h"

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
    // A tool window has no taskbar entry: minimized, it would stay out of reach.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
}

TBitmap& TForm3::CodeImage() {
    Image1->Canvas();
    return *Image1->Picture().Bitmap();
}
