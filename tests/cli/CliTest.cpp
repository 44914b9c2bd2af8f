#include "Cli.h"

#include "CodeImage.h"
#include "SymbologyNames.h"

#include "CoreComposed.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <sstream>

namespace {

struct Result {
    int Code;
    std::string Out;
    std::string Err;
    friend bool operator==(const Result&, const Result&) = default;
    friend void PrintTo(const Result& r, std::ostream* os) {
        *os << r.Code << ", out \"" << r.Out << "\", err \"" << r.Err << "\"";
    }
};

Result Invoke(const std::vector<std::string>& args, bool progressBar = false) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunCli(args, out, err, progressBar);
    return {code, out.str(), err.str()};
}

} // namespace

TEST(Cli, PrintsPatternsNamesAndVersion) {
    std::string types;
    for (const TSymbologyName& name : SymbologyNames) {
        types += std::string(name.ListText) + "\n";
    }
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"--pattern"},
         "50515160805170506253505152505050515270517150616060615152505\n"}, // 1234567890128
        {{"--type", "Code EAN8", "--data", "1234567", "--pattern"},
         "5051615151608050526050505170505352517150505\n"},
        {{"--type", "Code EAN13", "--data", "4006381333931", "--no-checksum", "--pattern"},
         "50526050517050808052515061605050535053505350705153506160505\n"},
        {{"--list-types"}, types},
        {{"--version"}, "quillmark-cli 2.0\n"},
    };
    for (const auto& [args, out] : rows) {
        EXPECT_EQ(Invoke(args), (Result{0, out, ""}));
    }
    const Result help = Invoke({"--help"});
    EXPECT_EQ(help.Code, 0);
    EXPECT_EQ(help.Out.rfind("Usage: quillmark-cli", 0), 0u);
}

TEST(Cli, UsageErrorsExitTwoWithOneLine) {
    const std::vector<std::vector<std::string>> rows = {
        {},
        {"--bogus"},
        {"output.bmp"},
        {"--type"},
        {"--pattern", "--data"},
        {"--data", "--help"}, // "--help" is the data, and nothing is asked for
        {"--type", "code ean13", "--pattern"},
        {"--type", "Code Codebar", "--pattern"},
        {"--pattern", "--output", "x.bmp"},
        {"--from", "0", "--to", "1"},
        {"--dir", "d", "--output", "x.bmp"},
        {"--from", "0", "--to", "1", "--dir", "d", "--output", "x.bmp"},
        {"--from", "0", "--to", "1", "--dir", "d", "--data", "5"},
        {"--from", "0", "--to", "1", "--dir", "d", "--pattern"},
    };
    for (const auto& args : rows) {
        const Result r = Invoke(args);
        EXPECT_EQ(r.Code, 2) << r.Err;
        EXPECT_EQ(r.Out, "");
        EXPECT_EQ(r.Err.rfind("quillmark-cli: ", 0), 0u) << r.Err;
        EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << r.Err;
    }
    EXPECT_EQ(Invoke({"--type", "EAN13", "--pattern"}).Err,
              "quillmark-cli: unknown type 'EAN13'; --list-types names them\n");
}

// A failure exits 1 with its message and leaves no file. On a terminal a batch's progress bar
// redraws one line, and a failure's message starts a line of its own.
TEST(Cli, FailuresAndProgressOnTheErrorStream) {
    const ScratchDir scratch;
    const std::string dir = scratch.Path();
    const std::string code = dir + "/code.bmp";
    const std::string missing = dir + "/no/code_0.bmp";
    const std::string blocked = "/dev/null/code_0.bmp";
    const auto bar = [&](int hashes, const std::string& rest) {
        return "\r[" + std::string(hashes, '#') + std::string(30 - hashes, ' ') + "] " + rest +
               "\x1b[K";
    };
    const std::pair<std::vector<std::string>, Result> rows[] = {
        {{"--data", "12A4", "--output", code}, {1, "", "'A' is not a valid integer value\n"}},
        {{"--data", "1234567890123", "--output", code},
         {1, "", "TBarcode:EAN13 bad Data <1234567890123>: check digit should be 8\n"}},
        {{"--output", missing}, {1, "", "Cannot create file " + missing + "\n"}},
        {{"--output", dir}, {1, "", "Cannot create file " + dir + "\n"}},
        {{"--from", "0", "--to", "12a", "--dir", dir},
         {1, "", "'12a' is not a valid integer value\n"}},
        {{"--type", "Code MSI", "--from", "-1", "--to", "1", "--dir", dir},
         {1, "", "TBarcode:MSI bad Data <-1>: character 1 \"-\" is not a digit\n"}},
        // No directory can be made where a device is.
        {{"--from", "0", "--to", "1", "--dir", "/dev/null"},
         {1, "", bar(0, "0% " + blocked) + "\nCannot create file " + blocked + "\n"}},
        {{"--from", "1", "--to", "0", "--dir", dir}, {0, "", ""}},
        {{"--from", "0", "--to", "1", "--dir", dir},
         {0, "",
          bar(0, "0% " + dir + "/code_0.bmp") + bar(15, "50% " + dir + "/code_1.bmp") +
              bar(30, "100% " + dir + "/code_1.bmp") + "\n"}},
    };
    for (const auto& [args, result] : rows) {
        EXPECT_EQ(Invoke(args, true), result);
    }
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{"code_0.bmp", "code_1.bmp"}));
    EXPECT_EQ(ReadFile(dir + "/code_1.bmp"), ComposedBmp({.Data = "1"}));
}

// The options reach the composition; the files are BMP whatever their extension. A symbol too
// wide is drawn cut off, with a warning.
TEST(Cli, FilesHoldTheCodeImagesOfTheOptions) {
    const ScratchDir dir;
    const std::string name = dir / "code.jpg";
    const auto code39 = [](const std::string& data) {
        return ComposedBmp(
            {.TypeText = "Code 39", .Data = data, .ShowText = false, .DualCode = false}, false);
    };
    const struct {
        std::vector<std::string> Args;
        std::vector<std::pair<std::string, Bytes>> Files;
        std::string Err;
    } rows[] = {
        {{"--output", name}, {{"code.jpg", ComposedBmp({})}}, ""},
        {{"--single", "--no-text", "--output", name},
         {{"code.jpg", ComposedBmp({.ShowText = false, .DualCode = false})}},
         ""},
        {{"--type", "Code 39", "--data", "AB", "--no-checksum", "--single", "--no-text", "--output",
          name},
         {{"code.jpg", code39("AB")}},
         ""},
        {{"--type", "Code 39", "--no-text", "--single", "--no-checksum", "--from", "-1", "--to",
          "0", "--dir", dir.Path()},
         {{"code_-1.bmp", code39("-1")}, {"code_0.bmp", code39("0")}},
         ""},
        {{"--type", "Code 39 Extended", "--data", "abcdefghijklmnop", "--output", name},
         {{"code.jpg", ComposedBmp({.TypeText = "Code 39 Extended", .Data = "abcdefghijklmnop"})}},
         "quillmark-cli: warning: the symbol is cut off: its bars need 913 x 225 pixels, the code "
         "image has 525 x 276, so it may not scan\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Invoke(row.Args), (Result{0, "", row.Err}));
        for (const auto& [file, bytes] : row.Files) {
            EXPECT_EQ(ReadFile(dir / file), bytes) << row.Args[0] << " " << file;
        }
    }
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{"code.jpg", "code_-1.bmp", "code_0.bmp"}));
}

// The process: exit codes, and no progress bar when stderr is not a terminal.
TEST(Cli, ProcessExitCodes) {
    const char* cli = std::getenv("QUILLMARK_CLI");
    ASSERT_NE(cli, nullptr);
    const ScratchDir dir;
    const auto status = [&](const std::string& args) {
        const int s = std::system((cli + (" " + args)).c_str());
        return WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    };
    EXPECT_EQ(status("--pattern >/dev/null 2>&1"), 0);
    EXPECT_EQ(status("--data 12A4 --pattern >/dev/null 2>&1"), 1);
    EXPECT_EQ(status("--frobnicate >/dev/null 2>&1"), 2);
    EXPECT_EQ(
        status("--from 0 --to 0 --dir " + dir.Path().string() + " 2>" + (dir / "err").string()), 0);
    EXPECT_EQ(ReadFile(dir / "err"), Bytes{});
    EXPECT_EQ(status("--from 0 --to 0 --dir /dev/null 2>/dev/null"), 1);
}
