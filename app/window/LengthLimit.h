#pragma once

#include <QValidator>

class QLineEdit;

// Keeps a text field within a number of characters. An edit that would make the text longer (a
// paste, a drop, one more key) is refused as a whole, never cut short, and an error box says why
// once the edit has returned (a modal box cannot open inside the field's own change).
class TLengthLimit : public QValidator {
public:
    // Installs itself on edit.
    TLengthLimit(QLineEdit* edit, int limit);
    State validate(QString& text, int& cursor) const override;

private:
    int FLimit;
};
