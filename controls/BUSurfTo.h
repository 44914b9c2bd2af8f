#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QUrl;

// Asks the desktop to open a web address, a "mailto:" link or a file with the program associated
// with it. A failure to open is ignored: there is nobody to tell but the user, who sees that
// nothing opened.
void ShellOpen(const QString& target);

// Where ShellOpen hands its request: the desktop (QDesktopServices, which starts the handler
// with an argument vector, never through a command interpreter). Tests put a recorder here so
// that no browser or mail program ever starts.
extern std::function<void(const QUrl&)> ShellOpenUrl;

// Opens web pages and composes e-mails with the user's default programs.
class TBUSurfTo : public QObject {
    Q_OBJECT

public:
    explicit TBUSurfTo(QObject* owner = nullptr) : QObject(owner) {}

    // Opens address as it is.
    void SurfTo(const QString& address);
    // Opens "mailto:" + address, followed by the header fields that have a value, in the order
    // SUBJECT, BCC, CC, the first after "?" and the others after "&". The address and the
    // values are percent-encoded as UTF-8, keeping letters, digits, "@", ".", "-", "_" and "~",
    // so a "?", "&", "#" or "%" inside them can neither add a header field nor cut the link
    // short.
    void MailTo(const QString& address, const QString& cc, const QString& bcc,
                const QString& subject);
};
