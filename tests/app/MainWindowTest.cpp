#include "ProgramFixture.h"

#include "BUDirectoryBox.h"
#include "BUFileNameBox.h"
#include "BUImage.h"
#include "RLed.h"
#include "SymbologyNames.h"
#include "sCheckbox.h"
#include "sEdit.h"

#include "QtPrint.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include <array>

#include <pwd.h>
#include <unistd.h>

namespace {

TEST_F(MainWindowTest, StartsWithEveryDefaultAndTheDefaultCode) {
    EXPECT_EQ(Form1.windowTitle().left(17), "Quillmark ver 2.0");
    EXPECT_EQ(Form1.pos(), QPoint(198, 102));
    EXPECT_EQ(Form1.ClientArea->size(), QSize(523, 182));
    EXPECT_EQ(Form3.windowTitle(), "Code window");
    EXPECT_EQ(Form3.pos(), QPoint(200, 332));
    EXPECT_EQ(Form3.size(), QSize(525, 276));
    EXPECT_EQ(Form3.Image1->geometry(), QRect(0, 0, 525, 276));
    EXPECT_TRUE(Form1.isVisible());
    EXPECT_TRUE(Form3.isVisible());

    const struct {
        QWidget* Control;
        QRect Place;
        QString Caption;
    } controls[] = {
        {Form1.GroupBox1, {0, 0, 523, 49}, " Code information input: "},
        {Form1.GroupBox2, {0, 49, 523, 50}, " Generate only one code: "},
        {Form1.GroupBox3, {0, 99, 523, 62}, " Multiple code generator: "},
        {Form1.typkodu, {8, 17, 145, 22}, "Code EAN13"},
        {Form1.DualCode, {160, 16, 100, 18}, "Dual Code"},
        {Form1.ShowText, {280, 16, 100, 18}, "Show Text"},
        {Form1.kod, {8, 16, 145, 21}, "1234567890128"},
        {Form1.GenerateBut, {160, 14, 83, 33}, "Generate"},
        {Form1.BUFileNameBox1, {248, 19, 185, 20}, QDir::homePath() + "/output.bmp"},
        {Form1.SaveToBut, {440, 14, 75, 25}, "Save"},
        {Form1.fromnumber, {8, 32, 97, 21}, "0"},
        {Form1.tonumber, {120, 32, 97, 21}, "10"},
        {Form1.BUDirectoryBox1, {224, 32, 150, 20}, QDir::homePath() + "/qmk output"},
        {Form1.sButton1, {384, 16, 129, 33}, "Generate and save"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.Caption.toStdString());
        EXPECT_EQ(c.Control->geometry(), c.Place);
        QString caption;
        if (auto* box = qobject_cast<QGroupBox*>(c.Control)) {
            caption = box->title();
        } else if (auto* list = qobject_cast<QComboBox*>(c.Control)) {
            caption = list->currentText();
        } else if (auto* button = dynamic_cast<TsButton*>(c.Control)) {
            caption = QString::fromStdString(button->Caption());
        } else if (auto* box = dynamic_cast<TsCheckBox*>(c.Control)) {
            caption = QString::fromStdString(box->Caption());
        } else if (auto* edit = qobject_cast<QLineEdit*>(c.Control)) {
            caption = edit->text();
        } else {
            caption = c.Control->findChild<QLineEdit*>()->text();
        }
        EXPECT_EQ(caption, c.Caption);
    }
    const std::pair<QLabel*, QString> labels[] = {{Form1.Label1, "From number:"},
                                                  {Form1.Label2, "To number:"},
                                                  {Form1.Label3, "Destination:"}};
    for (const auto& [label, caption] : labels) {
        EXPECT_EQ(label->text(), caption);
        EXPECT_TRUE(label->font().bold());
    }
    EXPECT_EQ(Form1.Label1->pos(), QPoint(11, 16));
    EXPECT_EQ(Form1.kod->font().pixelSize(), 13);
    EXPECT_TRUE(Form1.kod->font().bold());
    EXPECT_EQ(Form1.font().pixelSize(), 11);

    // The list's texts and their order are app/core's, pinned by the CLI's --list.
    ASSERT_EQ(Form1.typkodu->count(), static_cast<int>(SymbologyNames.size()));
    for (int i = 0; i < Form1.typkodu->count(); ++i) {
        EXPECT_EQ(Form1.typkodu->itemText(i).toStdString(), SymbologyNames[i].ListText);
    }
    EXPECT_TRUE(Form1.DualCode->Checked());
    EXPECT_TRUE(Form1.ShowText->Checked());
    EXPECT_TRUE(Form1.SaveToBut->isEnabled());
    EXPECT_EQ(Form1.RLed1->geometry(), QRect(0, 165, 523, 17));
    EXPECT_EQ(Form1.RLed1->MaxValue(), 100);
    EXPECT_EQ(Form1.RLed1->Position(), 0);
    EXPECT_EQ(Form1.RLed1->BreakPos(), 5);
    EXPECT_EQ(Form1.BUFileNameBox1->DialogTitle(), "Uložit Kód so souboru");
    EXPECT_EQ(Form1.BUFileNameBox1->DialogInitialDir(), QDir::homePath().toStdString());
    EXPECT_EQ(Form1.BUFileNameBox1->DialogKind(), TDialogKind::dkSave);
    EXPECT_EQ(Form1.BUFileNameBox1->DialogFilter(),
              "BMP image|*.bmp|PNG image|*.png|SVG image|*.svg|"
              "JPEG image|*.jpg;*.jpeg|All files|*");
    EXPECT_EQ(Form1.BUFileNameBox1->DefaultExtension(), "bmp");
    EXPECT_EQ(Form1.BUFileNameBox1->DialogOptions(),
              (TOpenOptions{TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing,
                            TOpenOption::ofOverwritePrompt}));
    EXPECT_TRUE(Form1.BUFileNameBox1->ButtonIsFlat());
    EXPECT_FALSE(Form1.BUDirectoryBox1->ButtonIsFlat());
    // The folder dialog has a button for a new folder.
    EXPECT_EQ(Form1.BUDirectoryBox1->DialogOptions(), TSelectDirOpts{TSelectDirOpt::sdAllowCreate});

    EXPECT_EQ(CodeImage(), CliImage({}));
    EXPECT_EQ(messages, "");
}

TEST_F(MainWindowTest, TabGoesThroughTheGroupsFromTheBottomUp) {
    Activate(Form1);
    const QWidget* expected[] = {Form1.fromnumber,
                                 Form1.tonumber,
                                 Form1.BUDirectoryBox1->Edit(),
                                 Form1.BUDirectoryBox1->Button(),
                                 Form1.sButton1,
                                 Form1.BUFileNameBox1->Edit(),
                                 Form1.BUFileNameBox1->Button(),
                                 Form1.SaveToBut,
                                 Form1.GenerateBut,
                                 Form1.kod,
                                 Form1.ShowText,
                                 Form1.DualCode,
                                 Form1.typkodu};
    for (const QWidget* control : expected) {
        EXPECT_EQ(QApplication::focusWidget(), control);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

// The three edits as the window shows them, group box and all: the pale field without lines while
// idle, the window colour inside two lines of 0x7E756B while hot (under the mouse or focused).
TEST_F(MainWindowTest, TheEditsWearTheirSkinInTheWindow) {
    Activate(Form1);
    constexpr QRgb pale = 0xFFFFEC;
    constexpr QRgb line = 0x6B757E;
    constexpr QRgb white = 0xFFFFFF;
    enum State { Idle, Hovered, Focused };
    const std::pair<State, std::array<QRgb, 3>> rows[] = {
        {Idle, {pale, pale, pale}}, {Hovered, {line, line, white}}, {Focused, {line, line, white}}};
    for (TsEdit* edit : {Form1.kod, Form1.fromnumber, Form1.tonumber}) {
        for (const auto& [state, diagonal] : rows) {
            SCOPED_TRACE(edit->text().toStdString() + " " + std::to_string(state));
            Form1.typkodu->setFocus();
            if (state == Hovered) {
                QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
                QApplication::sendEvent(edit, &enter);
            } else if (state == Focused) {
                edit->setFocus();
            }
            const QImage window = Form1.grab().toImage();
            const QPoint origin = edit->mapTo(&Form1, QPoint(0, 0));
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(window.pixel(origin + QPoint(i, i)) & 0xFFFFFF, diagonal[i]) << i;
            }
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(edit, &leave);
        }
    }
}

TEST_F(MainWindowTest, GenerateDrawsWhatTheInputsSay) {
    Form1.typkodu->setCurrentText("Code 128B");
    Form1.kod->setText("Hello");
    Form1.ShowText->SetChecked(false);
    Generate();
    EXPECT_EQ(CodeImage(), CliImage({"--type", "Code 128B", "--data", "Hello", "--no-text"}));
    Form1.ShowText->SetChecked(true);
    Form1.DualCode->SetChecked(false);
    Generate();
    EXPECT_EQ(CodeImage(), CliImage({"--type", "Code 128B", "--data", "Hello", "--single"}));
}

// A refusal is an error box and the next Generate draws on white; a symbol the image cuts off is
// drawn all the same, with a warning box.
TEST_F(MainWindowTest, GenerateReportsRefusalsAndCutOffSymbols) {
    Form1.typkodu->setCurrentText("Code 93");
    Form1.kod->setText("ab");
    Generate();
    EXPECT_EQ(messages, "error: TBarcode:Code93 bad Data <ab>: character 1 \"a\" is not in Code "
                        "93; Code 93 Extended encodes it.\n");
    Form1.kod->setText("AB");
    Generate();
    EXPECT_EQ(CodeImage(), CliImage({"--type", "Code 93", "--data", "AB"}));
    messages.clear();
    Form1.typkodu->setCurrentText("Code 39 Extended");
    Form1.kod->setText("abcdefghijklmnop");
    Generate();
    EXPECT_EQ(messages, "warning: Warning: the symbol is cut off: its bars need 913 x 225 pixels, "
                        "the code image has 525 x 276, so it may not scan.\n");
    EXPECT_EQ(CodeImage(), CliImage({"--type", "Code 39 Extended", "--data", "abcdefghijklmnop"}));
}

TEST_F(MainWindowTest, SaveWritesTheCodeImageAndSaysWhere) {
    const std::string name = (dir / "code.png").string();
    Form1.BUFileNameBox1->SetFileName("");
    QTest::mouseClick(Form1.SaveToBut, Qt::LeftButton);
    Form1.BUFileNameBox1->SetFileName(name);
    Form1.Saveto1Click(&Form1);
    const std::string missing = (dir / "missing" / "code.bmp").string();
    Form1.BUFileNameBox1->SetFileName(missing);
    QTest::mouseClick(Form1.SaveToBut, Qt::LeftButton);
    EXPECT_EQ(messages, "Vyberte cíl pro uložení!\n"
                        "Uloženo do " +
                            name +
                            "\n"
                            "error: Cannot create file " +
                            missing + ": No such file or directory.\n");
    EXPECT_EQ(ReadFile(name), CliImage({}, "cli.png"));
}

// Closed or minimized, the next generation brings it back restored, where it was.
TEST_F(MainWindowTest, TheCodeWindowClosesToHidingAndReturnsWhereItWas) {
    Form3.move(300, 400);
    Form3.close();
    EXPECT_FALSE(Form3.isVisible());
    EXPECT_TRUE(Form1.isVisible());
    Generate();
    EXPECT_TRUE(Form3.isVisible());
    EXPECT_EQ(Form3.pos(), QPoint(300, 400));
    Form3.showMinimized();
    Generate();
    EXPECT_FALSE(Form3.isMinimized());
    EXPECT_TRUE(Form3.isVisible());
    EXPECT_EQ(Form3.pos(), QPoint(300, 400));

    // Closing the main window ends the program's event loop, the code window open or not.
    QTimer::singleShot(0, &Form1, [this] { Form1.close(); });
    QTimer stuck;
    stuck.setSingleShot(true);
    QObject::connect(&stuck, &QTimer::timeout, qApp, &QApplication::quit);
    stuck.start(10000);
    QApplication::exec();
    EXPECT_TRUE(stuck.isActive());
}

// A paste that would make a field longer than 4096 characters is refused as a whole, with a
// message; one that fills it to the limit is taken.
TEST_F(MainWindowTest, TheFieldsRefuseAnOverlongPasteAsAWhole) {
    const struct {
        TsEdit* Field;
        QString Pasted;
        QString After;
        std::string Message;
    } rows[] = {
        {Form1.kod, QString(10'000'000, '7'), "1234567890128",
         "error: The text was not changed: this field holds at most 4096 characters.\n"},
        {Form1.fromnumber, QString(4095, '1'), "0" + QString(4095, '1'), ""},
        {Form1.tonumber, QString(4096, '1'), "10",
         "error: The text was not changed: this field holds at most 4096 characters.\n"},
    };
    for (const auto& row : rows) {
        messages.clear();
        QApplication::clipboard()->setText(row.Pasted);
        row.Field->setFocus();
        row.Field->end(false);
        QTest::keyClick(row.Field, Qt::Key_V, Qt::ControlModifier);
        QCoreApplication::processEvents();
        EXPECT_EQ(row.Field->text(), row.After);
        EXPECT_EQ(messages, row.Message);
    }
}

// Without HOME the default paths lie in the home directory the password database gives.
TEST(MainWindow, WithoutHomeTheDefaultPathsComeFromThePasswordDatabase) {
    const QByteArray home = qgetenv("HOME");
    qunsetenv("HOME");
    const TForm1 form;
    qputenv("HOME", home);
    const std::string user = getpwuid(getuid())->pw_dir;
    EXPECT_EQ(form.BUFileNameBox1->FileName(), user + "/output.bmp");
    EXPECT_EQ(form.BUDirectoryBox1->Directory(), user + "/qmk output");
}

TEST(Application, TheDefaultHandlerEndsTheMessageWithAFullStop) {
    const std::pair<std::string, std::string> cases[] = {
        {"Stream write error", "Stream write error."},
        {"bad Data <ab>", "bad Data <ab>."},
        {"Cannot create file /a.b.", "Cannot create file /a.b."},
        {"'-' is not a valid integer value", "'-' is not a valid integer value."},
        {"ends with a dash -", "ends with a dash -"},
        {"é", "é."},
        {"", ""},
    };
    for (const auto& [message, shown] : cases) {
        EXPECT_EQ(Application::ExceptionText(message), shown);
    }
}

} // namespace
