#include "ProgramFixture.h"

#include "AboutDlg.h"
#include "BUSurfTo.h"
#include "Batch.h"
#include "ListColumnDialog.h"
#include "Product.h"
#include "RLed.h"

#include <QAction>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QUrl>

namespace {

// The names of a batch's files from..to, sorted as Entries sorts them.
std::vector<std::string> Codes(int from, int to) {
    std::vector<std::string> names;
    for (int n = from; n <= to; ++n) {
        names.push_back("code_" + std::to_string(n) + ".bmp");
    }
    std::sort(names.begin(), names.end());
    return names;
}

void WriteText(const fs::path& name, std::string_view text) {
    std::ofstream(name, std::ios::binary) << text;
}

// "Generate and save" writes the range of the inputs into a new destination; at the first failure
// it says why, and the data field, the file name box and the LED bar keep the failing number.
TEST_F(MainWindowTest, GenerateAndSaveWritesTheRangeOrStopsAtTheFirstFailure) {
    const fs::path out = dir / "new" / "out";
    const fs::path blocker = out / "code_5.bmp";
    fs::create_directories(blocker);
    Form1.typkodu->setCurrentText("Code 128B");
    Form1.tonumber->setText("10");
    Form1.BUDirectoryBox1->SetDirectory(out.string());
    Form3.hide();
    QTest::mouseClick(Form1.sButton1, Qt::LeftButton);
    WaitForBatch();
    EXPECT_EQ(messages, "error: Cannot create file " + blocker.string() + ": Is a directory.\n");
    EXPECT_EQ(Entries(out), Codes(0, 5));
    EXPECT_EQ(Form1.kod->text().toStdString(), "5");
    EXPECT_EQ(Form1.BUFileNameBox1->FileName(), BatchFileName(out.string(), 5));
    EXPECT_EQ(Form1.RLed1->MaxValue(), 10);
    EXPECT_EQ(Form1.RLed1->Position(), 5);
    EXPECT_TRUE(Form3.isVisible());
    EXPECT_EQ(ReadFile(out / "code_1.bmp"), ComposedBmp({.TypeText = "Code 128B", .Data = "1"}));

    // A range that cannot fit on the disk is refused before the first file.
    fs::remove_all(out);
    messages.clear();
    Form1.tonumber->setText("10000000");
    QTest::mouseClick(Form1.sButton1, Qt::LeftButton);
    EXPECT_EQ(
        messages.rfind("error: Not enough space in " + out.string() + ": the batch needs ", 0), 0u)
        << messages;
    EXPECT_FALSE(fs::exists(out / "code_0.bmp"));

    // So is an empty destination, which would name the root directory.
    messages.clear();
    Form1.tonumber->setText("0");
    Form1.BUDirectoryBox1->SetDirectory("");
    QTest::mouseClick(Form1.sButton1, Qt::LeftButton);
    EXPECT_EQ(messages, "Vyberte cíl pro uložení!\n");
    EXPECT_FALSE(fs::exists("/code_0.bmp"));
}

// While a run goes on the window answers and follows it: "Generate and save" reads "Stop",
// whatever would start another run or change this one's inputs is disabled, and the LED bar, the
// data field, the file name box and the code image show one file at a time. A click on Stop, Esc
// in either window or the close box ends the run between two files: every file written is whole
// and nothing is written afterwards. A stopped run says so after the title and keeps the bar where
// it stopped until the next Generate; the close box hides both windows at once and the run ends
// while the program does.
TEST_F(MainWindowTest, ARunningBatchStopsBetweenFiles) {
    const fs::path out = dir / "out";
    Form1.tonumber->setText("3000");
    Form1.BUDirectoryBox1->SetDirectory(out.string());
    const QString title = Form1.windowTitle();
    QWidget* const inputs[] = {
        Form1.typkodu,     Form1.DualCode,       Form1.ShowText,  Form1.kod,
        Form1.GenerateBut, Form1.BUFileNameBox1, Form1.SaveToBut, Form1.fromnumber,
        Form1.tonumber,    Form1.BUDirectoryBox1};
    QAction* const items[] = {Form1.Generate1, Form1.Generatemultiple1, Form1.Generatefromlist1,
                              Form1.Saveto1,   Form1.Exportforprint1,   Form1.Print1};
    enum How { Click, Escape, EscapeInCodeWindow, CloseBox };
    for (const How how : {Click, Escape, EscapeInCodeWindow, CloseBox}) {
        SCOPED_TRACE(how);
        fs::remove_all(out);
        Form1.show();
        Activate(Form1);
        QTest::mouseClick(Form1.sButton1, Qt::LeftButton);
        EXPECT_EQ(Form1.sButton1->Caption(), "Stop");
        for (const QWidget* input : inputs) {
            EXPECT_FALSE(input->isEnabled()) << input->metaObject()->className();
        }
        for (const QAction* item : items) {
            EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return Form1.RLed1->Position() >= 1; }));
        ASSERT_TRUE(Form1.BatchRunning());
        const std::string shown = Form1.kod->text().toStdString();
        EXPECT_EQ(shown, std::to_string(Form1.RLed1->Position()));
        EXPECT_EQ(Form1.BUFileNameBox1->FileName(), BatchFileName(out.string(), std::stoi(shown)));
        EXPECT_EQ(CodeImage(), ComposedBmp({.Data = shown}));
        if (how == Click) {
            QTest::mouseClick(Form1.sButton1, Qt::LeftButton);
        } else if (how == Escape) {
            QTest::keyClick(&Form1, Qt::Key_Escape);
        } else if (how == EscapeInCodeWindow) {
            Activate(Form3);
            QTest::keyClick(&Form3, Qt::Key_Escape);
        } else {
            Form1.close();
            EXPECT_FALSE(Form1.isVisible());
            EXPECT_FALSE(Form3.isVisible());
            EXPECT_TRUE(Form1.BatchRunning());
            Form1.FinishBatch();
        }
        WaitForBatch();
        const std::vector<std::string> files = Entries(out);
        const int last = static_cast<int>(files.size()) - 1;
        ASSERT_LT(last, 3000);
        EXPECT_EQ(files, Codes(0, last));
        for (const std::string& file : files) {
            EXPECT_EQ(fs::file_size(out / file), 579654u) << file;
        }
        QTest::qWait(50);
        EXPECT_EQ(Entries(out), files);
        EXPECT_EQ(Form1.kod->text().toStdString(), std::to_string(last));
        EXPECT_EQ(Form1.BUFileNameBox1->FileName(), BatchFileName(out.string(), last));
        EXPECT_EQ(Form1.RLed1->Position(), last);
        const QString note = QString("stopped after %1 of 3001 files").arg(files.size());
        EXPECT_EQ(Form1.windowTitle(), title + QString::fromUtf8(" \u2014 ") + note);
        EXPECT_EQ(Form1.accessibleDescription(), note);
        EXPECT_EQ(CodeImage(), ComposedBmp({.Data = std::to_string(last)}));
        EXPECT_EQ(Form1.isVisible(), how != CloseBox);
        EXPECT_EQ(Form3.isVisible(), how != CloseBox);
        for (const QWidget* input : inputs) {
            EXPECT_TRUE(input->isEnabled()) << input->metaObject()->className();
        }
        for (const QAction* item : items) {
            EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
        }
    }
    Form1.show();
    EXPECT_EQ(Form1.windowTitle(), title);
    EXPECT_EQ(Form1.accessibleDescription(), "");
    EXPECT_EQ(Form1.RLed1->Position(), 0);
    // Esc in the code window outside a run stops nothing to come; a whole run says what it wrote.
    fs::remove_all(out);
    QTest::keyClick(&Form3, Qt::Key_Escape);
    Form1.tonumber->setText("2");
    QTest::mouseClick(Form1.sButton1, Qt::LeftButton);
    WaitForBatch();
    EXPECT_EQ(Entries(out), Codes(0, 2));
    EXPECT_EQ(Form1.windowTitle(), title + QString::fromUtf8(" \u2014 wrote 3 files"));
    EXPECT_EQ(Form1.accessibleDescription(), "wrote 3 files");
    EXPECT_EQ(Form1.RLed1->Position(), 0);
    Form1.tonumber->setText("0");
    QTest::mouseClick(Form1.sButton1, Qt::LeftButton);
    WaitForBatch();
    EXPECT_EQ(Form1.accessibleDescription(), "wrote 1 file");
}

// A list's data are written as "Generate and save" writes a range, each datum to the file of its
// line, the LED bar counting the data; at the first failure the window keeps the failing datum.
TEST_F(MainWindowTest, GenerateFromListWritesEachDatumToTheFileOfItsLine) {
    const fs::path out = dir / "out";
    const fs::path list = dir / "list.txt";
    WriteText(list, "A-1\r\n\r\nB 2\r\nc3");
    fs::create_directories(out / "code_3.bmp");
    Form1.typkodu->setCurrentText("Code 128B");
    Form1.BUDirectoryBox1->SetDirectory(out.string());
    Form3.hide();
    // As the menu runs it: what it raises goes to the default handler.
    const auto generate = [&] {
        Application::Guarded([&] { Form1.GenerateFromList(list.string(), {}); });
    };
    generate();
    EXPECT_EQ(Form1.RLed1->MaxValue(), 3);
    WaitForBatch();
    EXPECT_EQ(messages,
              "error: Cannot create file " + (out / "code_3.bmp").string() + ": Is a directory.\n");
    EXPECT_EQ(Entries(out), (std::vector<std::string>{"code_1.bmp", "code_3.bmp"}));
    EXPECT_EQ(Form1.kod->text().toStdString(), "B 2");
    EXPECT_EQ(Form1.BUFileNameBox1->FileName(), (out / "code_3.bmp").string());
    EXPECT_EQ(Form1.RLed1->Position(), 2);
    EXPECT_TRUE(Form3.isVisible());

    fs::remove_all(out);
    messages.clear();
    generate();
    WaitForBatch();
    EXPECT_EQ(messages, "");
    EXPECT_EQ(Entries(out), (std::vector<std::string>{"code_1.bmp", "code_3.bmp", "code_4.bmp"}));
    const std::pair<const char*, const char*> files[] = {
        {"code_1.bmp", "A-1"}, {"code_3.bmp", "B 2"}, {"code_4.bmp", "c3"}};
    for (const auto& [file, data] : files) {
        EXPECT_EQ(ReadFile(out / file), ComposedBmp({.TypeText = "Code 128B", .Data = data}))
            << file;
    }
    EXPECT_EQ(Form1.kod->text().toStdString(), "c3");
    EXPECT_EQ(Form1.BUFileNameBox1->FileName(), (out / "code_4.bmp").string());
    EXPECT_EQ(Form1.RLed1->Position(), 0);
    EXPECT_EQ(CodeImage(), ComposedBmp({.TypeText = "Code 128B", .Data = "c3"}));

    // Data the symbology refuses are named in one box, a line each, before any file is written.
    fs::remove_all(out);
    messages.clear();
    WriteText(list, "A-1\nb\x01"
                    "c\nc3\n\xC3\xA9\n");
    generate();
    EXPECT_EQ(messages,
              "error: line 2: TBarcode:Code128B bad Data <b\\x01c>: character 2 U+0001 "
              "is not in Code 128 set B\n"
              "line 4: TBarcode:Code128B bad Data <\xC3\xA9>: character 1 \"\xC3\xA9\" is not "
              "in Code 128 set B\n"
              "2 lines of the list are refused; no file is written.\n");
    EXPECT_FALSE(Form1.BatchRunning());
    EXPECT_FALSE(fs::exists(out));

    // An empty destination, which would name the root directory, is refused as for a range.
    messages.clear();
    WriteText(list, "A-1\n");
    Form1.BUDirectoryBox1->SetDirectory("");
    generate();
    EXPECT_EQ(messages, "Vyberte cíl pro uložení!\n");
    EXPECT_FALSE(Form1.BatchRunning());
    EXPECT_FALSE(fs::exists("/code_1.bmp"));
}

// Ctrl+L, in the data field too, asks for the list in the destination; Cancel there does nothing.
// A CSV list is read as the column dialog says, its files named by the records after the header.
TEST_F(MainWindowTest, GenerateFromListAsksForTheFileAndTheColumn) {
    const fs::path list = dir / "list.CSV";
    WriteText(list, "sku;name\n4006381333931;Pen\n5901234123457;Ink\n");
    Form1.BUDirectoryBox1->SetDirectory(dir.string());
    Activate(Form1);
    Form1.kod->setFocus();
    bool asked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        asked = true;
        EXPECT_EQ(dialog->windowTitle(), "Generate from list");
        EXPECT_EQ(dialog->directory().path().toStdString(), dir.string());
        EXPECT_EQ(dialog->nameFilters(),
                  (QStringList{"Lists (*.txt *.csv *.tsv)", "All files (*)"}));
        dialog->reject();
    });
    QTest::keyClick(Form1.kod, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(Form1.BatchRunning());
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{"list.CSV"}));

    TListOptions chosen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTimer::singleShot(0, [&] {
            auto* columns = dynamic_cast<TListColumnDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(columns, nullptr);
            chosen = columns->Options();
            columns->accept();
        });
        dialog->selectFile(QString::fromStdString(list.string()));
        static_cast<QDialog*>(dialog)->accept();
    });
    Form1.Generatefromlist1->trigger();
    WaitForBatch();
    EXPECT_EQ(std::tuple(chosen.Column, chosen.Header, chosen.Delimiter),
              std::tuple("1", true, ';'));
    EXPECT_EQ(messages, "");
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{"code_1.bmp", "code_2.bmp", "list.CSV"}));
    EXPECT_EQ(ReadFile(dir / "code_2.bmp"), ComposedBmp({.Data = "5901234123457"}));
}

// Both shortcuts of Generate, Enter in the data field, F4, Ctrl+S while Save is enabled, and
// Ctrl+X outside a text field.
TEST_F(MainWindowTest, MenuShortcuts) {
    Activate(Form1);
    Form1.GenerateBut->setFocus();
    Form1.kod->setText("4006381333931");
    QTest::keyClick(&Form1, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(CodeImage(), ComposedBmp({.Data = "4006381333931"}));
    Form1.kod->setText("5901234123457");
    QTest::keyClick(&Form1, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(CodeImage(), ComposedBmp({.Data = "5901234123457"}));
    // Enter in the data field generates as well.
    Form1.kod->setFocus();
    Form1.kod->setText("96385074");
    QTest::keyClick(Form1.kod, Qt::Key_Return);
    EXPECT_EQ(CodeImage(), ComposedBmp({.Data = "96385074"}));

    Form1.BUDirectoryBox1->SetDirectory(dir.string());
    Form1.tonumber->setText("1");
    QTest::keyClick(&Form1, Qt::Key_F4);
    WaitForBatch();
    EXPECT_TRUE(fs::exists(dir / "code_1.bmp"));

    Form1.BUFileNameBox1->SetFileName((dir / "saved.bmp").string());
    Form1.SaveToBut->setEnabled(false);
    QTest::keyClick(&Form1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(messages, "");
    Form1.SaveToBut->setEnabled(true);
    QTest::keyClick(&Form1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(messages, "Uloženo do " + (dir / "saved.bmp").string() + "\n");

    // In a text field Ctrl+X cuts; anywhere else it ends the program.
    Form1.kod->setFocus();
    Form1.kod->selectAll();
    QTest::keyClick(Form1.kod, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(Form1.isVisible());
    EXPECT_EQ(Form1.kod->text(), "");
    Form1.GenerateBut->setFocus();
    QTest::keyClick(Form1.GenerateBut, Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(Form1.isVisible());
}

TEST_F(MainWindowTest, HelpOpensTheAboutBoxAndThePages) {
    QStringList opened;
    const auto saved = ShellOpenUrl;
    ShellOpenUrl = [&](const QUrl& url) { opened << url.toString(); };
    Form1.Websiteofthisproduct1->trigger();
    Form1.Authorswebsite1->trigger();
    Form1.HELPDESK1->trigger();
    ShellOpenUrl = saved;
    EXPECT_EQ(opened, (QStringList{Product::Website, Product::AuthorsWebsite, Product::Helpdesk}));

    QString shown;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<TAboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        shown = about->AdditionalMemo->toPlainText();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    Form1.About1->trigger();
    EXPECT_EQ(shown, "Generate 20 types of barcodes");
}

} // namespace
