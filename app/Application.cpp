#include "Application.h"

#include <QApplication>
#include <QMessageBox>

namespace Application {

namespace {

void Show(bool error, const std::string& text) {
    if (MessageHook) {
        MessageHook(error, text);
        return;
    }
    QMessageBox box(error ? QMessageBox::Critical : QMessageBox::NoIcon, Title,
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
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
    Show(false, text);
}

void HandleException(const std::exception& error) {
    Show(true, ExceptionText(error.what()));
}

} // namespace Application
