#pragma once

#include <QAccessibleWidget>

class QLabel;

// Whether the label is one of the About box's two links, the e-mail and the web address.
bool IsAboutLink(const QLabel* label);

// A link of the About box as screen readers know a link: named by the address it shows, and
// Press opens it as a click does.
class TAboutLinkAccessible : public QAccessibleWidget {
public:
    explicit TAboutLinkAccessible(QLabel* link);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QLabel* Link() const;
};
