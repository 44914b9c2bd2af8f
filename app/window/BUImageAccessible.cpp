#include "BUImageAccessible.h"

#include "BUImage.h"

TBUImageAccessible::TBUImageAccessible(TBUImage* image)
    : QAccessibleWidget(image, QAccessible::Graphic) {}

TBUImage* TBUImageAccessible::Image() const {
    return static_cast<TBUImage*>(widget());
}

void* TBUImageAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ImageInterface) {
        return static_cast<QAccessibleImageInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(t);
}

QString TBUImageAccessible::imageDescription() const {
    return text(QAccessible::Description);
}

QSize TBUImageAccessible::imageSize() const {
    const TBitmap* image = Image()->Picture().Bitmap();
    return image != nullptr ? QSize(image->Width(), image->Height()) : QSize(0, 0);
}

// The picture is drawn at the control's top-left corner.
QPoint TBUImageAccessible::imagePosition() const {
    return widget()->mapToGlobal(QPoint(0, 0));
}
