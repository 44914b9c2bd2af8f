#include "ProgramFixture.h"

#include "AboutDlg.h"
#include "BUDirectoryBox.h"
#include "BUFileNameBox.h"
#include "BUSurfTo.h"
#include "Batch.h"
#include "Product.h"
#include "RLed.h"
#include "sCheckbox.h"
#include "sEdit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>
#include <QUrl>

namespace {

std::vector<std::string> FilesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The names of a batch's files from..to, sorted as FilesIn sorts them.
std::vector<std::string> Codes(int from, int to) {
    std::vector<std::string> names;
    for (int n = from; n <= to; ++n) {
        names.push_back("code_" + std::to_string(n) + ".bmp");
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string NotAnInteger(const std::string& word) {
    return "error: '" + word + "' is not a valid integer value.\n";
}

// What "Generate and save" leaves behind: the messages, the files (the CLI's, number by number),
// the data field, the file name box and the LED bar. The destination does not exist before the
// run; a run with files to write creates it.
TEST_F(MainWindowTest, GenerateAndSaveWritesTheRangeOrStopsAtTheFirstFailure) {
    const fs::path out = dir / "new" / "out";
    struct Case {
        const char* Type;
        const char* From;
        const char* To;
        bool Blocked; // a directory in the way of code_5.bmp
        std::string Message;
        std::vector<std::string> Files;
        const char* Data;
        std::string FileName; // relative to out; "" for the box's name before the run
        int Max, Position;
    };
    const char* ean = "1234567890128";
    const fs::path blocker = out / "code_5.bmp";
    const std::string blocked =
        "error: Cannot create file " + blocker.string() + ": Is a directory.\n";
    const std::string badMsi =
        "error: TBarcode:MSI bad Data <-1>: character 1 \"-\" is not a digit.\n";
    const Case cases[] = {
        {"Code EAN13", "0", "10", false, "", Codes(0, 10), "10", "code_10.bmp", 10, 0},
        {"Code EAN13", "3", "2", false, "", {}, ean, "", 2, 0},
        {"Code EAN13", "0", "12a", false, NotAnInteger("12a"), {}, ean, "", 100, 0},
        {"Code EAN13", "1.5", "3", false, NotAnInteger("1.5"), {}, ean, "", 3, 0},
        {"Code EAN13", "0", "10", true, blocked, Codes(0, 5), "5", "code_5.bmp", 10, 5},
        {"Code MSI", "-1", "1", false, badMsi, {}, "-1", "", 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Type) + " " + c.From + ".." + c.To);
        fs::remove_all(dir / "new");
        if (c.Blocked) {
            fs::create_directories(blocker);
        }
        messages.clear();
        Form1.RLed1->SetMaxValue(100);
        Form1.RLed1->SetPosition(0);
        Form1.kod->setText(ean);
        Form1.BUFileNameBox1->SetFileName("before.bmp");
        Form1.typkodu->setCurrentText(c.Type);
        Form1.fromnumber->setText(c.From);
        Form1.tonumber->setText(c.To);
        Form1.BUDirectoryBox1->SetDirectory(out.string());
        Form3.hide();

        GenerateAndSave();
        EXPECT_EQ(messages, c.Message);
        EXPECT_EQ(fs::exists(out) ? FilesIn(out) : std::vector<std::string>{}, c.Files);
        EXPECT_EQ(Form1.kod->text().toStdString(), c.Data);
        EXPECT_EQ(Form1.BUFileNameBox1->FileName(),
                  c.FileName.empty() ? "before.bmp" : (out / c.FileName).string());
        EXPECT_EQ(Form1.RLed1->MaxValue(), c.Max);
        EXPECT_EQ(Form1.RLed1->Position(), c.Position);
        EXPECT_TRUE(Form3.isVisible());
        if (!c.Message.empty()) {
            continue;
        }
        for (int n = std::stoi(c.From); n <= std::stoi(c.To); ++n) {
            const std::string number = std::to_string(n);
            EXPECT_EQ(ReadFile(out / ("code_" + number + ".bmp")),
                      CliImage({"--type", c.Type, "--data", number}))
                << n;
        }
    }

    // A range that cannot fit on the disk is refused before the first file.
    messages.clear();
    Form1.fromnumber->setText("1");
    Form1.tonumber->setText("10000000");
    QTest::mouseClick(Form1.sButton1, Qt::LeftButton);
    EXPECT_EQ(messages.rfind("error: Not enough space in " + out.string() +
                                 ": the batch needs 5,796,540,000,000 bytes, ",
                             0),
              0u)
        << messages;
    EXPECT_TRUE(FilesIn(out).empty());
}

// While a run goes on the window answers: "Generate and save" reads "Stop", and whatever would
// start another run or change this one's inputs is disabled. A click on Stop, Esc or the close box
// ends the run between two files: every file written is whole, nothing is written afterwards, and
// the window shows the last file as at the end of a run.
TEST_F(MainWindowTest, ARunningBatchStopsBetweenFiles) {
    const fs::path out = dir / "out";
    Form1.tonumber->setText("300");
    Form1.BUDirectoryBox1->SetDirectory(out.string());
    QWidget* const inputs[] = {
        Form1.typkodu,     Form1.DualCode,       Form1.ShowText,  Form1.kod,
        Form1.GenerateBut, Form1.BUFileNameBox1, Form1.SaveToBut, Form1.fromnumber,
        Form1.tonumber,    Form1.BUDirectoryBox1};
    QAction* const items[] = {Form1.Generate1, Form1.Generatemultiple1, Form1.Saveto1};
    enum How { Click, Escape, CloseBox };
    for (const How how : {Click, Escape, CloseBox}) {
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
        EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(out / "code_1.bmp"); }));
        if (how == Click) {
            QTest::mouseClick(Form1.sButton1, Qt::LeftButton);
        } else if (how == Escape) {
            QTest::keyClick(&Form1, Qt::Key_Escape);
        } else {
            Form1.close();
        }
        WaitForBatch();
        const std::vector<std::string> files = FilesIn(out);
        const int last = static_cast<int>(files.size()) - 1;
        ASSERT_LT(last, 300);
        EXPECT_EQ(files, Codes(0, last));
        for (const std::string& file : files) {
            EXPECT_EQ(fs::file_size(out / file), 579654u) << file;
        }
        QTest::qWait(50);
        EXPECT_EQ(FilesIn(out), files);
        EXPECT_EQ(Form1.kod->text().toStdString(), std::to_string(last));
        EXPECT_EQ(Form1.BUFileNameBox1->FileName(), BatchFileName(out.string(), last));
        EXPECT_EQ(Form1.RLed1->Position(), 0);
        EXPECT_EQ(CodeImage(), CliImage({"--data", std::to_string(last)}));
        EXPECT_EQ(Form1.isVisible(), how != CloseBox);
        for (const QWidget* input : inputs) {
            EXPECT_TRUE(input->isEnabled()) << input->metaObject()->className();
        }
        for (const QAction* item : items) {
            EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
        }
    }
}

TEST_F(MainWindowTest, MenuItemsAndTheirShortcuts) {
    EXPECT_EQ(Form1.File1->title(), "&File");
    EXPECT_TRUE(Form1.Generate1->font().bold());
    EXPECT_EQ(Form1.File1->defaultAction(), Form1.Generate1);
    const std::pair<QAction*, const char*> items[] = {{Form1.Generate1, "Ctrl+Return"},
                                                      {Form1.Generatemultiple1, "F4"},
                                                      {Form1.Saveto1, "Ctrl+S"},
                                                      {Form1.Exit1, "Ctrl+X"},
                                                      {Form1.About1, ""},
                                                      {Form1.Websiteofthisproduct1, ""},
                                                      {Form1.Authorswebsite1, ""},
                                                      {Form1.HELPDESK1, ""}};
    for (const auto& [item, shortcut] : items) {
        EXPECT_EQ(item->shortcut().toString(), shortcut) << item->text().toStdString();
    }

    Activate(Form1);
    Form1.GenerateBut->setFocus();
    Form1.kod->setText("4006381333931");
    QTest::keyClick(&Form1, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(CodeImage(), CliImage({"--data", "4006381333931"}));
    // Enter in the data field generates as well.
    Form1.kod->setFocus();
    Form1.kod->setText("96385074");
    QTest::keyClick(Form1.kod, Qt::Key_Return);
    EXPECT_EQ(CodeImage(), CliImage({"--data", "96385074"}));

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

    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<TAboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        shown << about->windowTitle() << about->NameLabel->text() << about->VersionLabel->text()
              << about->CopyrightLabel->text() << about->AdditionalMemo->toPlainText()
              << about->EmailLabel->text() << about->WWWLabel->text();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    Form1.About1->trigger();
    EXPECT_EQ(
        shown,
        (QStringList{"O aplikaci", "Quillmark", "Verze 1", QString::fromUtf8(Product::MakerNotice),
                     "Generate 15 types of barcodes", Product::Email, Product::Website}));
}

} // namespace
