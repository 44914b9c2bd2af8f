#pragma once

#include <QIcon>
#include <QImage>

// The program's icon (PaintAppIcon) as a square image of the given side.
QImage AppIconImage(int size);

// The icon for the program's windows, in the sizes the desktop installs: give it to
// QApplication::setWindowIcon once the application object exists.
QIcon AppWindowIcon();
