#include "Cli.h"

#include "Barcode.h"
#include "Bitmap.h"
#include "CodeImage.h"
#include "Stream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

namespace {

struct Result {
    int Code;
    std::string Out;
    std::string Err;
};

Result Invoke(std::vector<std::string> args, bool progressBar = false) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunCli(args, out, err, progressBar);
    return {code, out.str(), err.str()};
}

std::string TempDir() {
    std::string dir = ::testing::TempDir() + "quillmark-cli-XXXXXX";
    EXPECT_NE(mkdtemp(dir.data()), nullptr);
    return dir;
}

std::vector<std::uint8_t> ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& name) {
    struct stat st {};
    return stat(name.c_str(), &st) == 0;
}

} // namespace

TEST(Cli, PrintsPatternsAndNames) {
    Result r = Invoke({"--pattern"});
    EXPECT_EQ(r.Code, 0);
    TBarcode defaults;
    ConfigureMainBarcode(defaults);
    defaults.SetText("1234567890123");
    EXPECT_EQ(r.Out, defaults.BuildPattern() + "\n");
    r = Invoke({"--type", "Code EAN8", "--data", "1234567", "--pattern"});
    EXPECT_EQ(r.Out, "5051615151608050526050505170505352517150505\n");
    r = Invoke({"--type", "Code EAN13", "--data", "4006381333931", "--no-checksum", "--pattern"});
    EXPECT_EQ(r.Out, "50526050517050808052515061605050535053505350705153506160505\n");
    EXPECT_EQ(r.Err, "");

    r = Invoke({"--list-types"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, "Code 128A\nCode 128B\nCode 128C\nCode 2 5 industrial\nCode 2 5 interleaved\n"
                     "Code 2 5 matrix\nCode 39\nCode 39 Extended\nCode 93\nCode 93 Extended\n"
                     "Code Codabar\nCode EAN13\nCode EAN8\nCode MSI\nCode PostNet\n");
    EXPECT_EQ(Invoke({"--version"}).Out, "quillmark-cli 2.0\n");
    r = Invoke({"--data", "--help"});
    EXPECT_EQ(r.Code, 2); // "--help" was the data, and nothing is asked for
    r = Invoke({"--help"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out.rfind("Usage: quillmark-cli", 0), 0u);
}

TEST(Cli, UsageErrorsExitTwoWithOneLine) {
    const std::vector<std::vector<std::string>> rows = {
        {},
        {"--bogus"},
        {"output.bmp"},
        {"--type"},
        {"--pattern", "--data"},
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

TEST(Cli, FailuresExitOneWithTheMessageAndNoFile) {
    const std::string dir = TempDir();
    const std::string name = dir + "/code.bmp";
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"--data", "12A4", "--output", name}, "'A' is not a valid integer value\n"},
        {{"--data", "123", "--no-checksum", "--output", name}, "TBarcode:EAN13 bad Data <123>\n"},
        {{"--type", "Code EAN8", "--data", "x", "--no-checksum", "--pattern"},
         "TBarcode:EAN8 bad Data <x>\n"},
        {{"--output", dir + "/missing/code.bmp"},
         "Cannot create file " + dir + "/missing/code.bmp\n"},
        {{"--output", dir}, "Cannot create file " + dir + "\n"},
    };
    for (const auto& [args, message] : rows) {
        const Result r = Invoke(args);
        EXPECT_EQ(r.Code, 1);
        EXPECT_EQ(r.Out, "");
        EXPECT_EQ(r.Err, message);
    }
    EXPECT_FALSE(Exists(name));
    rmdir(dir.c_str());
}

TEST(Cli, OutputIsTheDefaultCodeImage) {
    const std::string dir = TempDir();
    const std::string name = dir + "/code.jpg"; // BMP whatever the extension
    const Result r = Invoke({"--output", name});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out + r.Err, "");

    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    TBitmap image;
    InitCodeImage(image);
    ComposeCodeImage(barcode, image, {});
    TMemoryStream expected;
    image.SaveToStream(expected);
    const std::vector<std::uint8_t> written = ReadFile(name);
    EXPECT_EQ(written.size(), 579654u);
    EXPECT_EQ(written, expected.Data());

    // The options reach the composition: one copy without text differs only below y 95.
    ASSERT_EQ(Invoke({"--single", "--no-text", "--output", name}).Code, 0);
    const std::vector<std::uint8_t> single = ReadFile(name);
    ASSERT_EQ(single.size(), written.size());
    // Rows are stored bottom-up; image row y starts at 54 + (275 - y) * 2100.
    const auto row = [](const std::vector<std::uint8_t>& bmp, int y) {
        const auto start = bmp.begin() + 54 + (275 - y) * 2100;
        return std::vector(start, start + 2100);
    };
    for (int y = 0; y < 95; ++y) {
        EXPECT_EQ(row(single, y), row(written, y)) << y;
    }
    EXPECT_NE(row(single, 100), row(written, 100)); // bars, not the text band
    EXPECT_NE(row(single, 150), row(written, 150)); // no second copy
    std::remove(name.c_str());
    rmdir(dir.c_str());
}

TEST(Cli, BatchWritesWhatSingleRunsWrite) {
    const std::string dir = TempDir();
    const Result r = Invoke({"--from", "0", "--to", "10", "--dir", dir});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out + r.Err, "");
    const std::string single = dir + "/single.bmp";
    for (int n = 0; n <= 10; ++n) {
        ASSERT_EQ(Invoke({"--data", std::to_string(n), "--output", single}).Code, 0);
        const std::string name = dir + "/code_" + std::to_string(n) + ".bmp";
        EXPECT_EQ(ReadFile(name), ReadFile(single)) << name;
        std::remove(name.c_str());
    }
    EXPECT_FALSE(Exists(dir + "/code_11.bmp"));

    // The symbology and the switches reach every number.
    const std::vector<std::string> options = {"--type", "Code 128B", "--no-text", "--single",
                                              "--no-checksum"};
    std::vector<std::string> batch = options;
    batch.insert(batch.end(), {"--from", "-1", "--to", "-1", "--dir", dir});
    ASSERT_EQ(Invoke(batch).Code, 0);
    std::vector<std::string> one = options;
    one.insert(one.end(), {"--data", "-1", "--output", single});
    ASSERT_EQ(Invoke(one).Code, 0);
    EXPECT_EQ(ReadFile(dir + "/code_-1.bmp"), ReadFile(single));
    std::remove((dir + "/code_-1.bmp").c_str());
    std::remove(single.c_str());
    rmdir(dir.c_str());
}

TEST(Cli, BatchProgressOnATerminalAndTheFirstFailure) {
    const std::string dir = TempDir();
    const auto bar = [&](int hashes, const std::string& rest) {
        return "\r[" + std::string(hashes, '#') + std::string(30 - hashes, ' ') + "] " + rest +
               "\x1b[K";
    };
    const Result r = Invoke({"--from", "0", "--to", "1", "--dir", dir}, true);
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Err, bar(0, "0% " + dir + "/code_0.bmp") + bar(15, "50% " + dir + "/code_1.bmp") +
                         bar(30, "100% " + dir + "/code_1.bmp") + "\n");
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"--from", "1", "--to", "0", "--dir", dir}, ""},
        {{"--from", "0", "--to", "12a", "--dir", dir}, "'12a' is not a valid integer value\n"},
        {{"--type", "Code MSI", "--from", "-1", "--to", "1", "--dir", dir},
         "TBarcode:MSI bad Data <-1>\n"},
        // The message starts on a line of its own.
        {{"--from", "0", "--to", "1", "--dir", dir + "/no"},
         bar(0, "0% " + dir + "/no/code_0.bmp") + "\nCannot create file " + dir +
             "/no/code_0.bmp\n"},
    };
    for (const auto& [args, message] : rows) {
        const Result failed = Invoke(args, true);
        EXPECT_EQ(failed.Code, message.empty() ? 0 : 1);
        EXPECT_EQ(failed.Out, "");
        EXPECT_EQ(failed.Err, message);
    }
    std::remove((dir + "/code_0.bmp").c_str());
    std::remove((dir + "/code_1.bmp").c_str());
    rmdir(dir.c_str());
}

TEST(Cli, WarnsWhenTheImageCutsTheSymbolOff) {
    const std::string dir = TempDir();
    const std::string name = dir + "/long.bmp";
    const Result r =
        Invoke({"--type", "Code 39 Extended", "--data", "abcdefghijklmnop", "--output", name});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Err, "quillmark-cli: warning: the symbol is cut off: its bars need 913 x 225 "
                     "pixels, the code image has 525 x 276\n");
    EXPECT_EQ(ReadFile(name).size(), 579654u);
    std::remove(name.c_str());
    rmdir(dir.c_str());
}

TEST(Cli, ProcessExitCodes) {
    const char* cli = std::getenv("QUILLMARK_CLI");
    ASSERT_NE(cli, nullptr);
    const auto status = [](const std::string& command) {
        const int s = std::system(command.c_str());
        return WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    };
    EXPECT_EQ(status(std::string(cli) + " --pattern >/dev/null 2>&1"), 0);
    EXPECT_EQ(status(std::string(cli) + " --data 12A4 --pattern >/dev/null 2>&1"), 1);
    EXPECT_EQ(status(std::string(cli) + " --frobnicate >/dev/null 2>&1"), 2);
    // Not a terminal: no progress bar.
    const std::string dir = TempDir();
    EXPECT_EQ(status(std::string(cli) + " --from 0 --to 0 --dir " + dir + " 2>" + dir + "/err"), 0);
    EXPECT_EQ(ReadFile(dir + "/err").size(), 0u);
    EXPECT_EQ(status(std::string(cli) + " --from 0 --to 0 --dir " + dir + "/no 2>/dev/null"), 1);
    std::remove((dir + "/err").c_str());
    std::remove((dir + "/code_0.bmp").c_str());
    rmdir(dir.c_str());
}
