#include "AboutDlg.h"

#include "BUSurfTo.h"
#include "Bevel.h"
#include "Color.h"
#include "QtBridge.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

QLabel* MakeLabel(QWidget* parent, int left, int top, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

void SetText(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}

} // namespace

TAboutDlg::TAboutDlg(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle("O aplikaci");
    setFixedSize(296, 320);
    setFont(ScreenFont("Tahoma", 8));
    SetPaletteColor(this, QPalette::Window, clBtnFace);

    NameLabel = MakeLabel(this, 56, 8);
    NameLabel->setFont(ScreenFont("Tahoma", 8, true));
    VersionLabel = MakeLabel(this, 56, 24);
    IconImage = new QLabel(this);
    IconImage->setGeometry(12, 8, 33, 33);
    IconImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CopyrightLabel = MakeLabel(this, 56, 48);
    OKBtn = new QPushButton("OK", this);
    OKBtn->setGeometry(212, 286, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    Bevel1 = new TBevel(TBevelShape::bsBottomLine, this);
    Bevel1->setGeometry(0, 62, 297, 10);

    Panel1 = new QWidget(this);
    Panel1->setGeometry(0, 72, 297, 202);
    Panel1->setAutoFillBackground(true);
    SetPaletteColor(Panel1, QPalette::Window, 0xE0E0E0);
    Label1 = MakeLabel(Panel1, 32, 25, "E-mail:");
    Label2 = MakeLabel(Panel1, 32, 41, "WWW:");
    EmailLabel = MakeLabel(Panel1, 72, 25);
    WWWLabel = MakeLabel(Panel1, 72, 41);
    for (QLabel* link : {EmailLabel, WWWLabel}) {
        QFont font = link->font();
        font.setUnderline(true);
        link->setFont(font);
        link->setCursor(Qt::PointingHandCursor);
        SetPaletteColor(link, QPalette::WindowText, clBlue);
    }
    Bevel2 = new TBevel(TBevelShape::bsTopLine, this);
    Bevel2->setGeometry(-1, 274, 297, 7);
    Label3 = MakeLabel(Panel1, 16, 8, "Kontakt:");
    Label4 = MakeLabel(Panel1, 16, 64, QString::fromUtf8("Dodatečné informace:"));
    for (QLabel* heading : {Label3, Label4}) {
        heading->setFont(ScreenFont("Tahoma", 8, true));
        heading->adjustSize();
    }
    AdditionalMemo = new QPlainTextEdit(Panel1);
    AdditionalMemo->setGeometry(32, 84, 241, 105);
    AdditionalMemo->setReadOnly(true);
    AdditionalMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    // Every control but the links, the "Kontakt:" heading and the bevels resets the links when
    // the mouse moves over it. The heading and the bevels track nothing, and Qt drops a move over
    // a control that does not track, so they leave the colours as they are.
    setMouseTracking(true);
    for (QWidget* wired : std::initializer_list<QWidget*>{
             NameLabel, VersionLabel, IconImage, CopyrightLabel, OKBtn, Panel1, Label1, Label2,
             Label4, AdditionalMemo, AdditionalMemo->viewport(),
             AdditionalMemo->verticalScrollBar(), EmailLabel, WWWLabel}) {
        wired->setMouseTracking(true);
        wired->installEventFilter(this);
    }
}

void TAboutDlg::Prepare(const QString& name, const QString& version, const QString& notice,
                        const QString& additional, const QString& email, const QString& web) {
    SetText(NameLabel, name);
    SetText(VersionLabel, "Verze " + version);
    SetText(CopyrightLabel, notice);
    IconImage->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    SetText(EmailLabel, email);
    SetText(WWWLabel, web);
    if (additional.isEmpty()) {
        setFixedSize(296, 184);
        Bevel2->move(Bevel2->x(), 138);
        Panel1->resize(Panel1->width(), 66);
        OKBtn->move(OKBtn->x(), 150);
        // Cut off by the panel, the heading would still show the tops of its accents and the
        // memo would still take the focus on Tab, so both go.
        Label4->hide();
        AdditionalMemo->hide();
    } else {
        AdditionalMemo->setPlainText(additional);
    }
}

void TAboutDlg::FormMouseMove() {
    SetPaletteColor(EmailLabel, QPalette::WindowText, clBlue);
    SetPaletteColor(WWWLabel, QPalette::WindowText, clBlue);
}

void TAboutDlg::EmailLabelMouseMove() {
    SetPaletteColor(EmailLabel, QPalette::WindowText, clRed);
    SetPaletteColor(WWWLabel, QPalette::WindowText, clBlue);
}

void TAboutDlg::WWWLabelMouseMove() {
    SetPaletteColor(EmailLabel, QPalette::WindowText, clBlue);
    SetPaletteColor(WWWLabel, QPalette::WindowText, clRed);
}

void TAboutDlg::EmailLabelClick() {
    ShellOpen("mailto:" + EmailLabel->text());
}

void TAboutDlg::WWWLabelClick() {
    ShellOpen(WWWLabel->text());
}

bool TAboutDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        // A link keeps its own moves, so that they do not go on to the panel as well.
        if (watched == EmailLabel) {
            EmailLabelMouseMove();
            return true;
        }
        if (watched == WWWLabel) {
            WWWLabelMouseMove();
            return true;
        }
        FormMouseMove();
    } else if (event->type() == QEvent::MouseButtonRelease &&
               (watched == EmailLabel || watched == WWWLabel)) {
        // A click is a left release over the link that was pressed.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* link = static_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            link->rect().contains(mouse->position().toPoint())) {
            link == EmailLabel ? EmailLabelClick() : WWWLabelClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutDlg::mouseMoveEvent(QMouseEvent* event) {
    FormMouseMove();
    QDialog::mouseMoveEvent(event);
}

void TAboutDlg::keyPressEvent(QKeyEvent* event) {
    // OK is the cancel button too: Esc closes with OK, and only the close box means "cancel".
    if (event->matches(QKeySequence::Cancel)) {
        OKBtn->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool ShowAboutDlg(const QString& name, const QString& version, const QString& notice,
                  const QString& additional, const QString& email, const QString& web) {
    TAboutDlg dialog;
    dialog.Prepare(name, version, notice, additional, email, web);
    return dialog.exec() == QDialog::Accepted;
}
