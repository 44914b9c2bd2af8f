#include "AboutLinkAccessible.h"

#include "AboutDlg.h"
#include "Accessibility.h"

#include <QLabel>

bool IsAboutLink(const QLabel* label) {
    const auto* about = qobject_cast<const TAboutDlg*>(label->window());
    return about != nullptr && (label == about->EmailLabel || label == about->WWWLabel);
}

TAboutLinkAccessible::TAboutLinkAccessible(QLabel* link)
    : QAccessibleWidget(link, QAccessible::Link) {}

QLabel* TAboutLinkAccessible::Link() const {
    return static_cast<QLabel*>(widget());
}

QString TAboutLinkAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
        return Link()->text();
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State TAboutLinkAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    return state;
}

QStringList TAboutLinkAccessible::actionNames() const {
    return {pressAction()};
}

void TAboutLinkAccessible::doAction(const QString& actionName) {
    if (actionName != pressAction()) {
        return;
    }
    ActAfterTheCall(Link(), [](QLabel& link) {
        if (auto* about = qobject_cast<TAboutDlg*>(link.window())) {
            &link == about->EmailLabel ? about->EmailLabelClick() : about->WWWLabelClick();
        }
    });
}
