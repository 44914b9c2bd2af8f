#pragma once

#include <QAccessibleWidget>

class TRLed;

// The LED bar as screen readers know a progress bar: its value is Position, from 0 to
// MaxValue, and no one but the program sets it.
class TRLedAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TRLedAccessible(TRLed* led);

    void* interface_cast(QAccessible::InterfaceType t) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    TRLed* Led() const;
};
