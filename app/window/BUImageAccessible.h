#pragma once

#include <QAccessibleWidget>

class TBUImage;

// An image control as screen readers know an image: its owner names it after what it shows
// (QWidget::setAccessibleName, which tells them of the change), and its picture gives the size.
class TBUImageAccessible : public QAccessibleWidget, public QAccessibleImageInterface {
public:
    explicit TBUImageAccessible(TBUImage* image);

    void* interface_cast(QAccessible::InterfaceType t) override;

    QString imageDescription() const override;
    QSize imageSize() const override;
    QPoint imagePosition() const override;

private:
    TBUImage* Image() const;
};
