#include "sCheckBoxAccessible.h"

#include "Accessibility.h"
#include "sCheckbox.h"

TsCheckBoxAccessible::TsCheckBoxAccessible(TsCheckBox* box)
    : QAccessibleWidget(box, QAccessible::CheckBox) {}

TsCheckBox* TsCheckBoxAccessible::Box() const {
    return static_cast<TsCheckBox*>(widget());
}

QString TsCheckBoxAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
        return AccessibleCaption(Box()->Caption());
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State TsCheckBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = Box()->Checked();
    state.pressed = Box()->Pressed();
    state.readOnly = Box()->ReadOnly();
    return state;
}

QStringList TsCheckBoxAccessible::actionNames() const {
    QStringList names;
    if (widget()->isEnabled()) {
        names << toggleAction();
    }
    return names + QAccessibleWidget::actionNames();
}

void TsCheckBoxAccessible::doAction(const QString& actionName) {
    if (actionName != toggleAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    ActAfterTheCall(Box(), [](TsCheckBox& box) { box.Click(); });
}
