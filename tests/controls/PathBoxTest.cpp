#include "BUDirectoryBox.h"
#include "BUFileNameBox.h"

#include "QtPrint.h"
#include "Testing.h"

#include <QDir>
#include <QLineEdit>
#include <QToolButton>

namespace {

// Every test drives the dialogs through their seams and leaves them unset.
struct PathBoxTest : ::testing::Test {
    ~PathBoxTest() override {
        TOpenDialog::Runner = nullptr;
        TBUSelectDirectory::Runner = nullptr;
        TBUSelectDirectory::Ask = nullptr;
    }
    std::string events;
};

TEST_F(PathBoxTest, FileNameBoxTakesTheChosenNamesOrKeepsItsText) {
    struct Case {
        TOpenOptions Options;
        bool Confirm;
        std::vector<std::string> Chosen;
        std::string Text, Events;
        std::vector<std::string> Files;
    };
    const TOpenOptions multi{TOpenOption::ofAllowMultiSelect};
    const std::vector<std::string> three{"/a/1", "/a/2", "/a/3"};
    const Case cases[] = {
        {{}, true, {"/a/b.bmp"}, "/a/b.bmp", "opened /a/b.bmp ", {}},
        {multi, true, three, "/a/1,/a/2,/a/3", "opened /a/1,/a/2,/a/3 ", three},
        {multi, true, {}, "", "opened  ", {}},
        {{}, false, {"/a/b.bmp"}, "typed", "cancelled ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        TBUFileNameBox box;
        box.SetFileName("typed");
        box.SetDialogTitle("Title");
        box.SetDialogInitialDir("/start");
        box.SetDialogFilter("*.jpg");
        box.SetDefaultExtension("bmp");
        box.SetDialogOptions(c.Options);
        box.OnOpened = [&](QObject* sender, const std::string& value) {
            EXPECT_EQ(sender, &box);
            events += "opened " + value + " ";
        };
        box.OnOpenCanceld = [&](QObject*) { events += "cancelled "; };
        TOpenDialog::Runner = [&](TOpenDialog& dialog) {
            // The dialog starts where it is told, not at the name in the box.
            EXPECT_EQ(std::tuple(dialog.InitialDir(), dialog.Title(), dialog.Filter(),
                                 dialog.DefaultExt(), dialog.Options() == c.Options),
                      std::tuple("/start", "Title", "*.jpg", "bmp", true));
            dialog.SetFiles(c.Chosen);
            dialog.SetFileName(c.Chosen.empty() ? "" : c.Chosen.front());
            return c.Confirm;
        };
        events.clear();
        box.Button()->click();
        EXPECT_EQ(box.FileName(), c.Text);
        EXPECT_EQ(events, c.Events);
        EXPECT_EQ(box.Files(), c.Files);
    }
}

TEST_F(PathBoxTest, DirectoryBoxRunsTheClassicDialogOrTheBrowser) {
    TBUDirectoryBox box;
    box.SetDirectory("typed");
    box.SetDialogInitialDir("/start");
    box.SetDialogTitle("Pick");
    box.OnOpened = [&](QObject*, const std::string& value) { events += "opened " + value + " "; };
    box.OnOpenCanceled = [&](QObject*) { events += "cancelled "; };
    std::string startedAt;
    bool classic = false;
    TBUSelectDirectory::Runner = [&](const TBUSelectDirectory& dialog, std::string& directory) {
        startedAt = directory;
        classic = dialog.ClassicDialog();
        EXPECT_EQ(dialog.Title(), "Pick");
        directory = "/";
        return true;
    };
    box.Button()->click();
    EXPECT_TRUE(classic);
    EXPECT_EQ(startedAt, "/start");
    EXPECT_EQ(box.Directory(), "/");

    box.SetClassicDialog(false);
    box.Button()->click();
    EXPECT_FALSE(classic);
    EXPECT_EQ(startedAt, ""); // the browser starts from nothing, inside its root

    TBUSelectDirectory::Runner = [](const TBUSelectDirectory&, std::string& directory) {
        directory = "/elsewhere";
        return false;
    };
    box.Button()->click();
    EXPECT_EQ(box.Directory(), "/");
    EXPECT_EQ(events, "opened / opened / cancelled ");
}

TEST_F(PathBoxTest, AMissingDirectoryIsConfirmedOnlyWithLeaveToCreateIt) {
    const ScratchDir scratch;
    const fs::path base = scratch / "select";
    const std::string missing = (base / "a" / "b").string();
    using enum TSelectDirOpt;
    struct Case {
        TSelectDirOpts Options;
        bool Answer, Confirmed, Created;
        const char* Asked;
    };
    const Case cases[] = {
        {{}, true, false, false, ""},
        {{sdAllowCreate}, true, true, false, ""},
        {{sdAllowCreate, sdPerformCreate}, true, true, true, ""},
        {{sdAllowCreate, sdPerformCreate, sdPrompt}, false, false, false, "asked "},
        {{sdAllowCreate, sdPerformCreate, sdPrompt}, true, true, true, "asked "},
    };
    for (const Case& c : cases) {
        fs::remove_all(base);
        TBUSelectDirectory dialog;
        dialog.SetOptions(c.Options);
        std::string asked;
        TBUSelectDirectory::Ask = [&](const std::string& question) {
            EXPECT_EQ(question, "The directory " + missing + " does not exist. Create it?");
            asked += "asked ";
            return c.Answer;
        };
        TBUSelectDirectory::Runner = [&](const TBUSelectDirectory&, std::string& directory) {
            directory = missing;
            return true;
        };
        EXPECT_EQ(dialog.Execute(), c.Confirmed);
        EXPECT_EQ(asked, c.Asked);
        EXPECT_EQ(fs::is_directory(missing), c.Created);
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
    EXPECT_TRUE(TBUSelectDirectory::IsInside("/usr", "/usr"));
    EXPECT_TRUE(TBUSelectDirectory::IsInside("/usr/", "/usr/lib"));
    EXPECT_FALSE(TBUSelectDirectory::IsInside("/usr/lib", "/usr"));
    EXPECT_FALSE(TBUSelectDirectory::IsInside("/usr/lib", "/usr/lib/../bin"));
    EXPECT_FALSE(TBUSelectDirectory::IsInside("/usr/li", "/usr/lib"));

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

} // namespace
