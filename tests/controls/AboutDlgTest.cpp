#include "AboutDlg.h"

#include "Bevel.h"
#include "ShellRecorder.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString Email = "joe@example.org";
const QString Web = "https://quillmark.example.org/";

void PrepareWith(TAboutDlg& dlg, const QString& additional) {
    dlg.Prepare("Quillmark", "1", "by the makers", additional, Email, Web);
}

QColor Ink(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

} // namespace

using AboutDlg = ShellRecorder;

// The texts given land in their places.
TEST_F(AboutDlg, TextsAndPaint) {
    TAboutDlg dlg;
    PrepareWith(dlg, "Generate 20 types of barcodes");
    EXPECT_EQ((QStringList{dlg.NameLabel->text(), dlg.VersionLabel->text(),
                           dlg.CopyrightLabel->text(), dlg.EmailLabel->text(), dlg.WWWLabel->text(),
                           dlg.AdditionalMemo->toPlainText()}),
              (QStringList{"Quillmark", "Verze 1", "by the makers", Email, Web,
                           "Generate 20 types of barcodes"}));
    // The form's face, the grey panel and the two etched lines (shadow row, then highlight row).
    const QImage shot = dlg.grab().toImage();
    const std::pair<QPoint, QRgb> pixels[] = {
        {{280, 20}, 0xF0F0F0}, {{5, 69}, 0xF0F0F0},    {{5, 70}, 0xA0A0A0},
        {{295, 71}, 0xFFFFFF}, {{5, 72}, 0xE0E0E0},    {{280, 273}, 0xE0E0E0},
        {{0, 274}, 0xA0A0A0},  {{294, 275}, 0xFFFFFF}, {{295, 274}, 0xA0A0A0},
        {{5, 276}, 0xF0F0F0},
    };
    for (const auto& [at, rgb] : pixels) {
        EXPECT_EQ(shot.pixel(at) & 0xFFFFFF, rgb) << at.x() << "," << at.y();
    }
}

TEST_F(AboutDlg, ShortWithoutAdditionalTextAndWithTheApplicationIcon) {
    QPixmap red(32, 32);
    red.fill(Qt::red);
    QApplication::setWindowIcon(QIcon(red));
    TAboutDlg dlg;
    PrepareWith(dlg, "");
    QApplication::setWindowIcon(QIcon());
    const QImage icon = dlg.IconImage->pixmap().toImage();
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.pixel(31, 31), QColor(Qt::red).rgb());
    EXPECT_TRUE(dlg.Label4->isHidden());
    EXPECT_TRUE(dlg.AdditionalMemo->isHidden());
}

// Each step moves the mouse onto a control; the colours are the links' afterwards. A click on a
// link opens its address.
TEST_F(AboutDlg, LinkColoursFollowTheMouseAndClicksOpenMailAndWeb) {
    TAboutDlg dlg;
    PrepareWith(dlg, "more");
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const QColor blue(0, 0, 255), red(255, 0, 0);
    struct Step {
        QWidget* Over;
        QColor Email, Web;
    };
    const Step steps[] = {
        {dlg.EmailLabel, red, blue},
        {dlg.WWWLabel, blue, red},
        {dlg.Panel1, blue, blue},
        {dlg.EmailLabel, red, blue},
        {dlg.Bevel1, red, blue},
        {dlg.WWWLabel, blue, red},
        {dlg.AdditionalMemo->viewport(), blue, blue},
    };
    for (const Step& s : steps) {
        // The panel's own centre lies under the memo; its top right corner is bare.
        const QPoint at = s.Over == dlg.Panel1 ? QPoint(285, 30) : s.Over->rect().center();
        QTest::mouseMove(s.Over, at);
        EXPECT_EQ(Ink(dlg.EmailLabel), s.Email) << s.Over->metaObject()->className();
        EXPECT_EQ(Ink(dlg.WWWLabel), s.Web) << s.Over->metaObject()->className();
    }
    QTest::mouseClick(dlg.EmailLabel, Qt::LeftButton);
    QTest::mouseClick(dlg.WWWLabel, Qt::LeftButton);
    EXPECT_EQ(Opened, (QStringList{"mailto:" + Email, Web}));
}
