#pragma once

#include "main.h"

#include "Application.h"
#include "Cli.h"
#include "ScratchDir.h"
#include "Stream.h"
#include "Unit3.h"
#include "sButton.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadFile(const fs::path& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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

    Bytes CodeImage() {
        TMemoryStream stream;
        Form3.CodeImage().SaveToStream(stream);
        return stream.Data();
    }
    // What quillmark-cli writes for the same inputs to a file of that name.
    Bytes CliImage(std::vector<std::string> args, const std::string& file = "cli.bmp") {
        args.insert(args.end(), {"--output", (dir / file).string()});
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunCli(args, out, err), 0) << err.str();
        return ReadFile(dir / file);
    }
    void Generate() { QTest::mouseClick(Form1.GenerateBut, Qt::LeftButton); }
    // Until the batch run is over and "Generate and save" reads so again.
    void WaitForBatch() {
        EXPECT_TRUE(QTest::qWaitFor(
            [this] { return Form1.sButton1->Caption() == "Generate and save"; }, 60000));
    }
    void GenerateAndSave() {
        QTest::mouseClick(Form1.sButton1, Qt::LeftButton);
        WaitForBatch();
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
