#include "LengthLimit.h"

#include "Application.h"
#include "Exception.h"

#include <QLineEdit>
#include <QTimer>

TLengthLimit::TLengthLimit(QLineEdit* edit, int limit) : QValidator(edit), FLimit(limit) {
    // The line edit cuts an insertion at its own maximum before this validator sees it: one
    // character more than the limit is enough to refuse, and a huge paste costs no more than a
    // short one.
    edit->setMaxLength(limit + 1);
    edit->setValidator(this);
}

QValidator::State TLengthLimit::validate(QString& text, int&) const {
    if (text.size() <= FLimit) {
        return Acceptable;
    }
    QTimer::singleShot(0, this, [limit = FLimit] {
        Application::HandleException(
            Exception("The text was not changed: this field holds at most " +
                      std::to_string(limit) + " characters"));
    });
    return Invalid;
}
