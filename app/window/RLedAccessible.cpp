#include "RLedAccessible.h"

#include "RLed.h"

TRLedAccessible::TRLedAccessible(TRLed* led) : QAccessibleWidget(led, QAccessible::ProgressBar) {}

TRLed* TRLedAccessible::Led() const {
    return static_cast<TRLed*>(widget());
}

void* TRLedAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(t);
}

QVariant TRLedAccessible::currentValue() const {
    return Led()->Position();
}

// A progress bar shows; it takes no value from outside.
void TRLedAccessible::setCurrentValue(const QVariant&) {}

QVariant TRLedAccessible::maximumValue() const {
    return Led()->MaxValue();
}

QVariant TRLedAccessible::minimumValue() const {
    return 0;
}

QVariant TRLedAccessible::minimumStepSize() const {
    return 1;
}
