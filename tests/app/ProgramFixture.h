#pragma once

#include "main.h"

#include "Application.h"
#include "BUDirectoryBox.h"
#include "BUFileNameBox.h"
#include "Unit3.h"
#include "sButton.h"
#include "sCheckbox.h"
#include "sEdit.h"

#include "CoreComposed.h"
#include "QtPrint.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTimer>

// The program as it starts: the main window, then the code window, then the first showing.
struct MainWindowTest : ::testing::Test {
    MainWindowTest() {
        Application::MessageHook = [this](Application::TMessageKind kind, const std::string& text) {
            constexpr const char* Prefixes[] = {"", "warning: ", "error: "};
            messages += Prefixes[static_cast<int>(kind)] + text + "\n";
        };
        Form1.Form3 = &Form3;
        Form1.show();
    }
    ~MainWindowTest() override { Application::MessageHook = nullptr; }

    Bytes CodeImage() { return BmpBytes(Form3.CodeImage()); }
    void Generate() { QTest::mouseClick(Form1.GenerateBut, Qt::LeftButton); }
    // Until the batch run is over and "Generate and save" reads so again.
    void WaitForBatch() {
        EXPECT_TRUE(QTest::qWaitFor(
            [this] { return Form1.sButton1->Caption() == "Generate and save"; }, 60000));
    }

    const ScratchDir scratch;
    const fs::path& dir = scratch.Path();
    TForm1 Form1;
    TForm3 Form3;
    std::string messages;
};

// The main window as the active window, where its shortcuts work.
inline void Activate(QWidget& window) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}
