#include "BUCustomBox.h"

#include "SpeedButton.h"

#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QToolButton>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

// The glyph as an icon: pixels of the bottom-left pixel's colour become transparent.
QIcon GlyphIcon(const TBitmap& glyph) {
    if (glyph.Empty()) {
        return {};
    }
    QImage image = BitmapImage(glyph).convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == transparent) {
                line[x] = 0;
            }
        }
    }
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

TBUCustomBox::TBUCustomBox(QWidget* parent)
    : QWidget(parent), FEdit(new QLineEdit(this)), FButton(new TSpeedButton(this)) {
    FButton->setFocusPolicy(Qt::TabFocus);
    setFocusProxy(FEdit);
    setTabOrder(FEdit, FButton);
    setFocusPolicy(Qt::StrongFocus);
    connect(FButton, &QToolButton::clicked, this, [this] { ButtonClick(); });
    connect(FEdit, &QLineEdit::textChanged, this, [this] { UpdateEditTip(); });
    resize(150, 20);
}

void TBUCustomBox::SetHintEdit(const std::string& v) {
    FHintEdit = v;
    UpdateEditTip();
}

void TBUCustomBox::UpdateEditTip() {
    QStringList lines;
    for (const QString& line : {QString::fromStdString(FHintEdit), FEdit->text()}) {
        if (!line.isEmpty()) {
            lines += line;
        }
    }
    FEdit->setToolTip(lines.join('\n'));
}

std::string TBUCustomBox::HintButton() const {
    return FButton->toolTip().toStdString();
}

void TBUCustomBox::SetHintButton(const std::string& v) {
    FButton->setToolTip(QString::fromStdString(v));
}

bool TBUCustomBox::ReadOnly() const {
    return FEdit->isReadOnly();
}

void TBUCustomBox::SetReadOnly(bool v) {
    FEdit->setReadOnly(v);
}

void TBUCustomBox::SetEditFont(const TFont& v) {
    FEditFont = v;
    FEdit->setFont(ToQFont(v));
    SetPaletteColor(FEdit, QPalette::Text, v.Color);
}

void TBUCustomBox::SetButtonPosition(TPosition v) {
    FButtonPosition = v;
    ArrangeParts();
}

bool TBUCustomBox::ButtonIsFlat() const {
    return FButton->autoRaise();
}

void TBUCustomBox::SetButtonIsFlat(bool v) {
    FButton->setAutoRaise(v);
}

void TBUCustomBox::SetPicture(const TBitmap& v) {
    FPicture = v;
    FButton->setIcon(GlyphIcon(FPicture));
    FButton->setIconSize(QSize(FPicture.Width(), FPicture.Height()));
}

std::string TBUCustomBox::Text() const {
    return FEdit->text().toStdString();
}

void TBUCustomBox::SetText(const std::string& v) {
    FEdit->setText(QString::fromStdString(v));
}

std::string TBUCustomBox::HomeDirectory() {
#ifndef _WIN32
    if (qEnvironmentVariableIsEmpty("HOME")) {
        if (const passwd* user = getpwuid(getuid())) {
            return QDir::cleanPath(QString::fromLocal8Bit(user->pw_dir)).toStdString();
        }
    }
#endif
    return QDir::homePath().toStdString();
}

std::string TBUCustomBox::Path() const {
    const std::string text = Text();
    if (text == "~" || text.starts_with("~/")) {
        return HomeDirectory() + text.substr(1);
    }
    return text;
}

void TBUCustomBox::resizeEvent(QResizeEvent*) {
    ArrangeParts();
}

void TBUCustomBox::ArrangeParts() {
    const int button = std::min(ButtonWidth, width());
    const int edit = width() - button;
    const bool left = FButtonPosition == TPosition::onLeft;
    FButton->setGeometry(left ? 0 : edit, 0, button, height());
    FEdit->setGeometry(left ? button : 0, 0, edit, height());
}
