#include "Application.h"

#include "DataList.h"
#include "Stream.h"

#include <QApplication>
#include <QMessageBox>

namespace Application {

namespace {

void Show(TMessageKind kind, const std::string& text) {
    if (MessageHook) {
        MessageHook(kind, text);
        return;
    }
    constexpr QMessageBox::Icon Icons[] = {QMessageBox::NoIcon, QMessageBox::Warning,
                                           QMessageBox::Critical};
    QMessageBox box(Icons[static_cast<int>(kind)], Title, QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

} // namespace

std::string ExceptionText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        return message + '.';
    }
    return message;
}

void ShowMessage(const std::string& text) {
    Show(TMessageKind::Notice, text);
}

void ShowWarning(const std::string& text) {
    Show(TMessageKind::Warning, text);
}

void HandleException(const std::exception& error) {
    // A message may carry the data field's text, where a paste can put control characters, or a
    // list's data, whose refused lines keep a line of the box each.
    std::string text;
    if (const auto* refused = dynamic_cast<const EListRefused*>(&error)) {
        for (const std::string& line : refused->Lines()) {
            text += text.empty() ? "" : "\n";
            text += EscapedFileName(line);
        }
    } else {
        text = EscapedFileName(error.what());
    }
    Show(TMessageKind::Error, ExceptionText(text));
}

} // namespace Application
