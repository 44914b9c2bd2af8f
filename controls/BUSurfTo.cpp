#include "BUSurfTo.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

std::function<void(const QUrl&)> ShellOpenUrl = [](const QUrl& url) {
    QDesktopServices::openUrl(url);
};

void ShellOpen(const QString& target) {
    // A relative name opens as a file when one of that name exists here; anything else without
    // a scheme is taken for a web address.
    ShellOpenUrl(QUrl::fromUserInput(target, QDir::currentPath()));
}

void TBUSurfTo::SurfTo(const QString& address) {
    ShellOpen(address);
}

namespace {

// RFC 3986's unreserved characters and "@" stay as they are; every other byte of the UTF-8 text
// is percent-encoded.
QString MailEncoded(const QString& value) {
    return QString::fromLatin1(QUrl::toPercentEncoding(value, "@"));
}

} // namespace

void TBUSurfTo::MailTo(const QString& address, const QString& cc, const QString& bcc,
                       const QString& subject) {
    QString link = "mailto:" + MailEncoded(address);
    QChar separator = '?';
    for (const auto& [name, value] :
         {std::pair{"SUBJECT=", &subject}, {"BCC=", &bcc}, {"CC=", &cc}}) {
        if (!value->isEmpty()) {
            link += separator + QString::fromLatin1(name) + MailEncoded(*value);
            separator = '&';
        }
    }
    ShellOpen(link);
}
