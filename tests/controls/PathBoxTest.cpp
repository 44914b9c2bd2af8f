#include "BUDirectoryBox.h"
#include "BUFileNameBox.h"
#include "Canvas.h"

#include "QtPrint.h"
#include "Testing.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

// Every test drives the dialogs through their seams and leaves them unset.
struct PathBoxTest : ::testing::Test {
    ~PathBoxTest() override {
        TOpenDialog::Runner = nullptr;
        TBUSelectDirectory::Runner = nullptr;
    }
    std::string events;
};

TEST_F(PathBoxTest, FileNameBoxTakesTheChosenNameOrKeepsItsText) {
    for (const bool confirm : {true, false}) {
        TBUFileNameBox box;
        box.SetFileName("typed");
        box.SetDialogTitle("Title");
        box.SetDialogInitialDir("/start");
        box.SetDialogFilter("*.jpg");
        box.SetDefaultExtension("bmp");
        box.OnOpened = [&](QObject* sender, const std::string& value) {
            EXPECT_EQ(sender, &box);
            events += "opened " + value + " ";
        };
        box.OnOpenCanceld = [&](QObject*) { events += "cancelled "; };
        TOpenDialog::Runner = [&](TOpenDialog& dialog) {
            // The dialog starts where it is told, not at the name in the box.
            EXPECT_EQ(std::tuple(dialog.InitialDir(), dialog.Title(), dialog.Filter(),
                                 dialog.DefaultExt()),
                      std::tuple("/start", "Title", "*.jpg", "bmp"));
            dialog.SetFileName("/a/b.bmp");
            return confirm;
        };
        box.Button()->click();
        EXPECT_EQ(box.FileName(), confirm ? "/a/b.bmp" : "typed");
    }
    EXPECT_EQ(events, "opened /a/b.bmp cancelled ");
}

TEST_F(PathBoxTest, DirectoryBoxTakesTheChosenDirectoryOrKeepsItsText) {
    TBUDirectoryBox box;
    box.SetDirectory("typed");
    box.SetDialogInitialDir("/start");
    box.OnOpened = [&](QObject*, const std::string& value) { events += "opened " + value + " "; };
    box.OnOpenCanceled = [&](QObject*) { events += "cancelled "; };
    TBUSelectDirectory::Runner = [&](const TBUSelectDirectory&, std::string& directory) {
        EXPECT_EQ(directory, "/start");
        directory = "/";
        return true;
    };
    box.Button()->click();
    EXPECT_EQ(box.Directory(), "/");
    TBUSelectDirectory::Runner = [](const TBUSelectDirectory&, std::string& directory) {
        directory = "/elsewhere";
        return false;
    };
    box.Button()->click();
    EXPECT_EQ(box.Directory(), "/");
    EXPECT_EQ(events, "opened / cancelled ");
}

// The edit's tooltip holds the whole path, which a narrow edit cuts, after the hint when there is
// one. The classic directory dialog without an initial directory of its own starts at the box's
// directory, or at the part of it that exists; the property itself stays as it was.
TEST_F(PathBoxTest, TheWholePathIsATipAndTheDialogStartsAtTheBoxsDirectory) {
    const std::tuple<std::string, std::string, QString> tips[] = {
        {"", "/a/long/path/of/many/folders/code.bmp", "/a/long/path/of/many/folders/code.bmp"},
        {"Where the code goes", "", "Where the code goes"},
        {"Where", "~/x", "Where\n~/x"},
        {"", "", ""},
    };
    for (const auto& [hint, text, tip] : tips) {
        TBUFileNameBox file;
        TBUDirectoryBox directory;
        file.SetHintEdit(hint);
        directory.SetHintEdit(hint);
        file.SetFileName(text);
        directory.Edit()->setText(QString::fromStdString(text));
        EXPECT_EQ(file.Edit()->toolTip(), tip);
        EXPECT_EQ(directory.Edit()->toolTip(), tip);
        EXPECT_EQ(directory.HintEdit(), hint);
    }

    const ScratchDir scratch;
    const std::string existing = scratch.Path().string();
    const std::tuple<std::string, std::string, bool, std::string> starts[] = {
        {existing, "", true, existing},
        {existing + "/missing/deeper", "", true, existing},
        {"", "", true, ""},
        {existing, "/start", true, "/start"},
        {existing, "", false, ""},
    };
    for (const auto& [text, initial, classic, start] : starts) {
        TBUDirectoryBox box;
        box.SetDirectory(text);
        box.SetDialogInitialDir(initial);
        box.SetClassicDialog(classic);
        std::string seen = "not run";
        TBUSelectDirectory::Runner = [&](const TBUSelectDirectory&, std::string& directory) {
            seen = directory;
            return false;
        };
        box.Button()->click();
        EXPECT_EQ(seen, start) << text;
        EXPECT_EQ(box.DialogInitialDir(), initial);
    }
}

// A directory that does not exist is confirmed only with sdAllowCreate, and made only with
// sdPerformCreate.
TEST_F(PathBoxTest, AMissingDirectoryIsConfirmedOnlyWithLeaveToCreateIt) {
    const ScratchDir scratch;
    const std::string missing = scratch / "a" / "b";
    using enum TSelectDirOpt;
    const std::tuple<TSelectDirOpts, bool, bool> rows[] = {
        {{}, false, false},
        {{sdAllowCreate}, true, false},
        {{sdAllowCreate, sdPerformCreate}, true, true},
    };
    for (const auto& [options, confirmed, created] : rows) {
        TBUSelectDirectory dialog;
        dialog.SetOptions(options);
        TBUSelectDirectory::Runner = [&](const TBUSelectDirectory&, std::string& directory) {
            directory = missing;
            return true;
        };
        EXPECT_EQ(dialog.Execute(), confirmed);
        EXPECT_EQ(fs::is_directory(missing), created);
    }
}

// Both boxes read "~" alone or before a separator as the home directory; the edit keeps the text.
TEST(PathBox, ATildeStandsForTheHomeDirectory) {
    const std::string home = QDir::homePath().toStdString();
    const std::pair<std::string, std::string> rows[] = {
        {"~", home},
        {"~/qmk output", home + "/qmk output"},
        {"~user/x", "~user/x"},
        {"a/~", "a/~"},
        {" ~/x", " ~/x"},
        {"", ""},
    };
    for (const auto& [typed, meant] : rows) {
        TBUFileNameBox file;
        TBUDirectoryBox directory;
        file.SetFileName(typed);
        directory.SetDirectory(typed);
        EXPECT_EQ(file.FileName(), meant);
        EXPECT_EQ(directory.Directory(), meant);
        EXPECT_EQ(file.Edit()->text().toStdString(), typed);
    }
}

TEST(PathBox, HelpersOfTheDialogs) {
    EXPECT_EQ(TOpenDialog::NameFilters("*.jpg"), QStringList{"*.jpg"});
    EXPECT_EQ(TOpenDialog::NameFilters("Bitmaps|*.bmp;*.dib|All|*"),
              (QStringList{"Bitmaps (*.bmp *.dib)", "All (*)"}));

    // A name typed without an extension gets the chosen filter's first one, or DefaultExt.
    TOpenDialog dialog;
    dialog.SetDefaultExt("txt");
    const std::tuple<std::string, int, std::string> extensions[] = {
        {"BMP|*.bmp|JPEG|*.jpg;*.jpeg|All|*|Any|*.*", 1, "bmp"},
        {"BMP|*.bmp|JPEG|*.jpg;*.jpeg|All|*|Any|*.*", 2, "jpg"},
        {"BMP|*.bmp|JPEG|*.jpg;*.jpeg|All|*|Any|*.*", 3, "txt"},
        {"BMP|*.bmp", 0, "txt"},
        {"*.png", 1, "png"},
        {"", 1, "txt"},
    };
    for (const auto& [filter, index, extension] : extensions) {
        dialog.SetFilter(filter);
        EXPECT_EQ(dialog.TypedNameExtension(index), extension) << filter << " " << index;
    }
}

TEST(PathBox, ButtonSitsRightOrLeftAndTheEditFillsTheRest) {
    TBUFileNameBox box;
    box.resize(150, 20);
    box.show();
    EXPECT_EQ(box.Button()->geometry(), QRect(130, 0, 20, 20));
    EXPECT_EQ(box.Edit()->geometry(), QRect(0, 0, 130, 20));
    box.SetButtonPosition(TPosition::onLeft);
    box.resize(185, 20);
    EXPECT_EQ(box.Button()->geometry(), QRect(0, 0, 20, 20));
    EXPECT_EQ(box.Edit()->geometry(), QRect(20, 0, 165, 20));
}

// The pixels of a grab as a TBitmap.
TBitmap Pixels(const QImage& shot) {
    const QImage rgb = shot.convertToFormat(QImage::Format_RGB32);
    TBitmap image = WhiteImage(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            image.ScanLine(y)[x] = rgb.pixel(x, y) & 0xFFFFFF;
        }
    }
    return image;
}

// Unfocused, a browse button is Qt's tool button exactly; focused, it is Qt's focused tool
// button with every other pixel of the outline one pixel inside its edge inverted, round the
// glyph. Flat or raised.
TEST(PathBox, TheFocusedButtonShowsADottedFrame) {
    for (const bool flat : {true, false}) {
        QWidget window;
        TBUFileNameBox box(&window);
        box.setGeometry(0, 0, 150, 20);
        box.SetButtonIsFlat(flat);
        QToolButton plain(&window);
        plain.setGeometry(0, 30, 20, 20);
        plain.setIcon(box.Button()->icon());
        plain.setIconSize(box.Button()->iconSize());
        plain.setAutoRaise(flat);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const auto shot = [](QWidget* w) { return Pixels(w->grab().toImage()); };
        EXPECT_EQ(BmpBytes(shot(box.Button())), BmpBytes(shot(&plain))) << flat;
        plain.setFocus();
        TBitmap expected = shot(&plain);
        expected.Canvas().DrawFocusRect({1, 1, 19, 19});
        box.Button()->setFocus();
        ASSERT_TRUE(box.Button()->hasFocus());
        EXPECT_EQ(BmpBytes(shot(box.Button())), BmpBytes(expected)) << flat;
    }
}

} // namespace
