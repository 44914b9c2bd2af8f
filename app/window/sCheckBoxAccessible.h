#pragma once

#include <QAccessibleWidget>

class TsCheckBox;

// A skinned check box as screen readers know a check box: named by its caption, checkable,
// checked with Checked, and Toggle clicks it.
class TsCheckBoxAccessible : public QAccessibleWidget {
public:
    explicit TsCheckBoxAccessible(TsCheckBox* box);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    TsCheckBox* Box() const;
};
