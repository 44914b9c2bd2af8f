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

Result Invoke(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunCli(args, out, err);
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
}
