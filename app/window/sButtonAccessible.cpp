#include "sButtonAccessible.h"

#include "Accessibility.h"
#include "sButton.h"

#include <QKeySequence>

TsButtonAccessible::TsButtonAccessible(TsButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

TsButton* TsButtonAccessible::Button() const {
    return static_cast<TsButton*>(widget());
}

QKeySequence TsButtonAccessible::Accelerator() const {
    return QKeySequence::mnemonic(QString::fromStdString(Button()->Caption()));
}

QString TsButtonAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
        return AccessibleCaption(Button()->Caption());
    }
    if (t == QAccessible::Accelerator) {
        return Accelerator().toString(QKeySequence::NativeText);
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State TsButtonAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.pressed = Button()->Down();
    state.defaultButton = Button()->IsActiveDefault();
    return state;
}

QStringList TsButtonAccessible::actionNames() const {
    QStringList names;
    if (widget()->isEnabled()) {
        names << pressAction();
    }
    return names + QAccessibleWidget::actionNames();
}

void TsButtonAccessible::doAction(const QString& actionName) {
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    ActAfterTheCall(Button(), [](TsButton& button) {
        if (button.isEnabled()) {
            button.Click();
        }
    });
}

QStringList TsButtonAccessible::keyBindingsForAction(const QString& actionName) const {
    const QKeySequence accelerator = Accelerator();
    if (actionName != pressAction() || accelerator.isEmpty()) {
        return {};
    }
    return {accelerator.toString(QKeySequence::NativeText)};
}
