#pragma once

#include <QAccessibleWidget>

class TsButton;

// A skinned button as screen readers know a push button: named by its caption, pressed while
// down, the default button while Enter clicks it, and Press clicks it.
class TsButtonAccessible : public QAccessibleWidget {
public:
    explicit TsButtonAccessible(TsButton* button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    TsButton* Button() const;
    // Alt and the letter after "&" in the caption; empty without one.
    QKeySequence Accelerator() const;
};
