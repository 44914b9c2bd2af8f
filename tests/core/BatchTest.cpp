#include "Batch.h"

#include "Barcode.h"
#include "Bitmap.h"
#include "CodeImage.h"
#include "Exception.h"
#include "Stream.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadFile(const fs::path& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> Composed(const TCodeImageInputs& inputs) {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    TBitmap image;
    InitCodeImage(image);
    ComposeCodeImage(barcode, image, inputs);
    TMemoryStream bytes;
    image.SaveToStream(bytes);
    return bytes.Data();
}

std::vector<std::string> Listing(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A batch run as the main window drives it, with what each callback was told, in order.
struct Observed {
    std::vector<std::string> Events;
    std::optional<std::string> Failure;
};

Observed RunRange(const TBatchRange& range, const fs::path& dir, TCodeImageInputs inputs = {}) {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    TBitmap image;
    InitCodeImage(image);
    Observed run;
    TBatchCallbacks callbacks;
    callbacks.Position = [&](std::int32_t n) {
        run.Events.push_back("position " + std::to_string(n));
    };
    callbacks.Data = [&](const std::string& text) { run.Events.push_back("data " + text); };
    callbacks.FileName = [&](const std::string& name) {
        run.Events.push_back("file " + name);
        return name;
    };
    try {
        RunBatch(barcode, image, inputs, range, dir.string(), callbacks);
    } catch (const Exception& e) {
        run.Failure = e.what();
    }
    return run;
}

class Batch : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "quillmark-batch-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        Dir = pattern;
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::string File(int n) const { return BatchFileName(Dir.string(), n); }

    fs::path Dir;
};

} // namespace

TEST(BatchRange, ReadsTheLastNumberFirst) {
    struct Row {
        const char* From;
        const char* To;
        std::optional<std::int32_t> Maximum; // what the LED bar was given
        std::string Outcome;                 // the range, or the message
    };
    const Row rows[] = {
        {"0", "10", 10, "0..10"},
        {"  12", "$1F", 31, "12..31"},
        {"5", "-3", -3, "5..-3"},
        {"0", "12a", std::nullopt, "'12a' is not a valid integer value"},
        {"1.5", "10", 10, "'1.5' is not a valid integer value"},
        {"", "10", 10, "'' is not a valid integer value"},
    };
    for (const Row& row : rows) {
        std::optional<std::int32_t> maximum;
        std::string outcome;
        try {
            const TBatchRange range =
                ParseBatchRange(row.From, row.To, [&](std::int32_t to) { maximum = to; });
            outcome = std::to_string(range.From) + ".." + std::to_string(range.To);
        } catch (const EConvertError& e) {
            outcome = e.what();
        }
        EXPECT_EQ(outcome, row.Outcome) << row.From << " " << row.To;
        EXPECT_EQ(maximum, row.Maximum) << row.From << " " << row.To;
    }
}

TEST(BatchRange, CountsInSixtyFourBits) {
    EXPECT_EQ(BatchCount({0, 10}), 11);
    EXPECT_EQ(BatchCount({INT_MAX, INT_MIN}), 0);
    EXPECT_EQ(BatchCount({INT_MIN, INT_MAX}), 4294967296LL);
}

TEST(BatchRange, FileNamesKeepTheDirectoryTextAsItStands) {
    const std::string separator(1, PathSeparator);
    EXPECT_EQ(BatchFileName("out", 7), "out" + separator + "code_7.bmp");
    EXPECT_EQ(BatchFileName("out" + separator, -3), "out" + separator + separator + "code_-3.bmp");
    EXPECT_EQ(BatchFileName("", 0), separator + "code_0.bmp");
    EXPECT_EQ(BatchFileName(" a b ", INT_MIN), " a b " + separator + "code_-2147483648.bmp");
}

TEST_F(Batch, EachNumberClearsReportsComposesNamesAndWrites) {
    TCodeImageInputs inputs;
    inputs.TypeText = "Code 128B";
    inputs.DualCode = false;
    const Observed run = RunRange({-1, 0}, Dir, inputs);
    EXPECT_EQ(run.Failure, std::nullopt);
    const std::vector<std::string> expected = {
        "position -1", "data -1", "file " + File(-1), "position 0", "data 0", "file " + File(0),
    };
    EXPECT_EQ(run.Events, expected);
    for (const int n : {-1, 0}) {
        inputs.Data = std::to_string(n);
        EXPECT_EQ(ReadFile(File(n)), Composed(inputs)) << n;
    }
}

TEST_F(Batch, WritesToTheNameTheBoxGivesBack) {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    TBitmap image;
    InitCodeImage(image);
    TBatchCallbacks callbacks;
    callbacks.FileName = [](const std::string& name) { return name + ".seen"; };
    RunBatch(barcode, image, {}, {3, 3}, Dir.string(), callbacks);
    EXPECT_EQ(Listing(Dir), std::vector<std::string>{"code_3.bmp.seen"});
}

TEST_F(Batch, RangesWriteTheirNumbersOnly) {
    const std::pair<TBatchRange, std::vector<std::string>> rows[] = {
        {{11, 10}, {}},
        {{7, 7}, {"code_7.bmp"}},
        // Counting with the 32-bit number itself would step past 2147483647 and never stop.
        {{INT_MAX - 1, INT_MAX}, {"code_2147483646.bmp", "code_2147483647.bmp"}},
    };
    for (const auto& [range, files] : rows) {
        EXPECT_EQ(RunRange(range, Dir).Events.size(), 3 * files.size());
        EXPECT_EQ(Listing(Dir), files);
        fs::remove_all(Dir);
        fs::create_directory(Dir);
    }
}

TEST_F(Batch, AMissingDirectoryFailsAtTheFirstFile) {
    const fs::path missing = Dir / "missing";
    const Observed run = RunRange({0, 10}, missing);
    const std::string name = BatchFileName(missing.string(), 0);
    EXPECT_EQ(run.Failure, "Cannot create file " + name);
    EXPECT_EQ(run.Events.back(), "file " + name);
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(Batch, AFileThatCannotBeWrittenStopsTheRunThereAndKeepsTheEarlierOnes) {
    // A directory in the way fails for root too, who may write read-only files.
    fs::create_directory(File(5));
    const Observed run = RunRange({0, 9}, Dir);
    EXPECT_EQ(run.Failure, "Cannot create file " + File(5));
    EXPECT_EQ(run.Events.back(), "file " + File(5));
    EXPECT_EQ(Listing(Dir), (std::vector<std::string>{"code_0.bmp", "code_1.bmp", "code_2.bmp",
                                                      "code_3.bmp", "code_4.bmp", "code_5.bmp"}));
    EXPECT_TRUE(fs::is_directory(File(5)));
    TCodeImageInputs four;
    four.Data = "4";
    EXPECT_EQ(ReadFile(File(4)), Composed(four));
}

TEST_F(Batch, ANumberTheSymbologyRefusesStopsBeforeItsFile) {
    TCodeImageInputs inputs;
    inputs.TypeText = "Code MSI";
    const Observed run = RunRange({-1, 1}, Dir, inputs);
    EXPECT_EQ(run.Failure, "TBarcode:MSI bad Data <-1>");
    EXPECT_EQ(run.Events, (std::vector<std::string>{"position -1", "data -1"}));
    EXPECT_TRUE(Listing(Dir).empty());
}

TEST_F(Batch, ARerunOverwritesTheFiles) {
    RunRange({0, 1}, Dir);
    TCodeImageInputs plain;
    plain.ShowText = false;
    RunRange({0, 1}, Dir, plain);
    EXPECT_EQ(Listing(Dir), (std::vector<std::string>{"code_0.bmp", "code_1.bmp"}));
    plain.Data = "1";
    EXPECT_EQ(ReadFile(File(1)), Composed(plain));
}
