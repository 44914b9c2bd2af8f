#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TBevel;

// The About box: a program's name, version, notice and additional text, with its e-mail and web
// addresses as links that turn red under the mouse and open in the user's programs.
class TAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit TAboutDlg(QWidget* owner = nullptr);

    // Puts the six texts in, shortening the box when there is no additional text.
    void Prepare(const QString& name, const QString& version, const QString& notice,
                 const QString& additional, const QString& email, const QString& web);

    QLabel* NameLabel;
    QLabel* VersionLabel;
    QLabel* IconImage;
    QLabel* CopyrightLabel;
    QPushButton* OKBtn;
    TBevel* Bevel1;
    QWidget* Panel1;
    QLabel* Label1;
    QLabel* Label2;
    // Null until made, for those who ask about the labels while the box is being made.
    QLabel* EmailLabel = nullptr;
    QLabel* WWWLabel = nullptr;
    TBevel* Bevel2;
    QLabel* Label3;
    QLabel* Label4;
    QPlainTextEdit* AdditionalMemo;

    void FormMouseMove();
    void EmailLabelMouseMove();
    void WWWLabelMouseMove();
    void EmailLabelClick();
    void WWWLabelClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// Shows the About box modally; true when it was closed with OK (the button, Enter or Esc),
// false when it was closed with the window's close box.
bool ShowAboutDlg(const QString& name, const QString& version, const QString& notice,
                  const QString& additional, const QString& email, const QString& web);
