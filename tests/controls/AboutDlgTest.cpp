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

TEST_F(AboutDlg, TextsPositionsAndPaint) {
    TAboutDlg dlg;
    PrepareWith(dlg, "Generate 15 types of barcodes");
    EXPECT_EQ(dlg.windowTitle(), "O aplikaci");
    EXPECT_EQ(dlg.size(), QSize(296, 320));
    EXPECT_EQ(dlg.font().pixelSize(), 11);

    struct Label {
        const QLabel* Control;
        QPoint Position;
        QString Text;
        bool Bold;
    };
    const Label labels[] = {
        {dlg.NameLabel, {56, 8}, "Quillmark", true},
        {dlg.VersionLabel, {56, 24}, "Verze 1", false},
        {dlg.CopyrightLabel, {56, 48}, "by the makers", false},
        {dlg.Label1, {32, 25}, "E-mail:", false},
        {dlg.Label2, {32, 41}, "WWW:", false},
        {dlg.EmailLabel, {72, 25}, Email, false},
        {dlg.WWWLabel, {72, 41}, Web, false},
        {dlg.Label3, {16, 8}, "Kontakt:", true},
        {dlg.Label4, {16, 64}, QString::fromUtf8("Dodatečné informace:"), true},
    };
    for (const Label& l : labels) {
        EXPECT_EQ(l.Control->pos(), l.Position) << l.Text.toStdString();
        EXPECT_EQ(l.Control->text(), l.Text);
        EXPECT_EQ(l.Control->font().bold(), l.Bold) << l.Text.toStdString();
        EXPECT_GE(l.Control->width(), l.Control->sizeHint().width()) << l.Text.toStdString();
    }
    for (const QLabel* link : {dlg.EmailLabel, dlg.WWWLabel}) {
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(Ink(link), QColor(0, 0, 255));
    }

    const std::pair<const QWidget*, QRect> boxes[] = {
        {dlg.IconImage, {12, 8, 33, 33}}, {dlg.OKBtn, {212, 286, 75, 25}},
        {dlg.Bevel1, {0, 62, 297, 10}},   {dlg.Panel1, {0, 72, 297, 202}},
        {dlg.Bevel2, {-1, 274, 297, 7}},  {dlg.AdditionalMemo, {32, 84, 241, 105}},
    };
    for (const auto& [control, geometry] : boxes) {
        EXPECT_EQ(control->geometry(), geometry);
    }
    EXPECT_EQ(dlg.OKBtn->text(), "OK");
    EXPECT_TRUE(dlg.OKBtn->isDefault());
    EXPECT_EQ(dlg.AdditionalMemo->toPlainText(), "Generate 15 types of barcodes");
    EXPECT_TRUE(dlg.AdditionalMemo->isReadOnly());
    EXPECT_EQ(dlg.AdditionalMemo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

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
    EXPECT_EQ(dlg.size(), QSize(296, 184));
    EXPECT_EQ(dlg.Bevel2->geometry(), QRect(-1, 138, 297, 7));
    EXPECT_EQ(dlg.Panel1->geometry(), QRect(0, 72, 297, 66));
    EXPECT_EQ(dlg.OKBtn->geometry(), QRect(212, 150, 75, 25));
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
        {dlg.Label3, red, blue},
        {dlg.Bevel1, red, blue},
        {dlg.OKBtn, blue, blue},
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

TEST_F(AboutDlg, ResultOfEachWayOut) {
    struct Case {
        const char* Way;
        std::function<void(QWidget*)> Close;
        bool Result;
    };
    const Case cases[] = {
        {"Enter", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }, true},
        {"Esc", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, true},
        {"close box", [](QWidget* w) { w->close(); }, false},
    };
    for (const Case& c : cases) {
        QTimer::singleShot(0, [&c] { c.Close(QApplication::activeModalWidget()); });
        EXPECT_EQ(ShowAboutDlg("Quillmark", "1", "n", "a", Email, Web), c.Result) << c.Way;
    }
}
