#include "WindowIcon.h"

#include "AppIcon.h"
#include "Bitmap.h"
#include "QtBridge.h"

#include <QPixmap>

QImage AppIconImage(int size) {
    TBitmap bitmap;
    bitmap.SetWidth(size);
    bitmap.SetHeight(size);
    PaintAppIcon(bitmap);
    return BitmapImage(bitmap).copy();
}

QIcon AppWindowIcon() {
    QIcon icon;
    for (int size : {64, 128, 256}) {
        icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
    }
    return icon;
}
