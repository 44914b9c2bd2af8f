#include "ProgramFixture.h"

#include <QClipboard>

#include <pwd.h>
#include <unistd.h>

// Both windows show, the code window with the code image of the default inputs.
TEST_F(MainWindowTest, StartsWithTheDefaultCode) {
    EXPECT_TRUE(Form3.isVisible());
    EXPECT_EQ(CodeImage(), ComposedBmp({}));
    EXPECT_EQ(messages, "");
}

// Generate composes the inputs of the controls; a refusal is an error box, its control characters
// escaped, a symbol the image cuts off is drawn all the same, with a warning box.
TEST_F(MainWindowTest, GenerateComposesTheInputsAndReportsRefusalsAndCutOffSymbols) {
    Form1.typkodu->setCurrentText("Code 128B");
    Form1.kod->setText("Hello");
    Form1.ShowText->SetChecked(false);
    Generate();
    EXPECT_EQ(CodeImage(),
              ComposedBmp({.TypeText = "Code 128B", .Data = "Hello", .ShowText = false}));
    Form1.typkodu->setCurrentText("Code 93");
    Form1.kod->setText("a\x1b[2J\nb");
    Generate();
    Form1.typkodu->setCurrentText("Code 39 Extended");
    Form1.kod->setText("abcdefghijklmnop");
    Generate();
    EXPECT_EQ(messages, "error: TBarcode:Code93 bad Data <a\\x1B[2J\\nb>: character 1 \"a\" is "
                        "not in Code 93; Code 93 Extended encodes it.\n"
                        "warning: Warning: the symbol is cut off: its bars need 913 x 225 pixels, "
                        "the code image has 525 x 276, so it may not scan.\n");
    EXPECT_EQ(CodeImage(),
              ComposedBmp(
                  {.TypeText = "Code 39 Extended", .Data = "abcdefghijklmnop", .ShowText = false}));
}

// The name said as file names are, its control characters escaped.
TEST_F(MainWindowTest, SaveWritesTheCodeImageAndSaysWhere) {
    const std::string name = (dir / "code\x1b.png").string();
    Form1.BUFileNameBox1->SetFileName("");
    QTest::mouseClick(Form1.SaveToBut, Qt::LeftButton);
    Form1.BUFileNameBox1->SetFileName(name);
    Form1.Saveto1Click(&Form1);
    const std::string missing = (dir / "missing" / "code.bmp").string();
    Form1.BUFileNameBox1->SetFileName(missing);
    QTest::mouseClick(Form1.SaveToBut, Qt::LeftButton);
    EXPECT_EQ(messages, "Vyberte cíl pro uložení!\n"
                        "Uloženo do " +
                            (dir / "code\\x1B.png").string() +
                            "\n"
                            "error: Cannot create file " +
                            missing + ": No such file or directory.\n");
    EXPECT_EQ(ReadFile(name), ComposedFile({}, {TImageFormat::Png, 1, std::nullopt}));
}

// The check boxes show the focus by the dotted frame round their caption, as the buttons do, so
// that it differs from the mouse's lit glyph.
TEST_F(MainWindowTest, TheCheckBoxesShowTheFocus) {
    EXPECT_TRUE(Form1.ShowText->ShowFocus());
    EXPECT_TRUE(Form1.DualCode->ShowFocus());
}

// Closed, the next generation brings it back where it was.
TEST_F(MainWindowTest, TheCodeWindowClosesToHidingAndReturnsWhereItWas) {
    Form3.move(300, 400);
    Form3.close();
    EXPECT_FALSE(Form3.isVisible());
    EXPECT_TRUE(Form1.isVisible());
    Generate();
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
        {Form1.kod, QString(4084, '7'), "1234567890128",
         "error: The text was not changed: this field holds at most 4096 characters.\n"},
        {Form1.fromnumber, QString(4095, '1'), "0" + QString(4095, '1'), ""},
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
        {"Cannot create file /a.b.", "Cannot create file /a.b."},
        {"ends with a dash -", "ends with a dash -"},
        {"é", "é."},
        {"", ""},
    };
    for (const auto& [message, shown] : cases) {
        EXPECT_EQ(Application::ExceptionText(message), shown);
    }
}
