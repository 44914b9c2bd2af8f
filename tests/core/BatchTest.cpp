#include "Batch.h"
#include "Canvas.h"
#include "DataList.h"
#include "Exception.h"

#include "CoreComposed.h"
#include "SyncCalls.h"

#include <stop_token>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A batch run as the main window drives it: what each callback was told, in order ("written"
// when every file is written), and the message that ended the run. The file name box hands back the
// name with the suffix added; a stop is requested while the file stopAt is named.
std::vector<std::string> RunRange(const TBatchRange& range, const fs::path& dir,
                                  const TCodeImageInputs& inputs = {},
                                  const std::string& suffix = "", const std::string& stopAt = "") {
    std::stop_source stop;
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    TBitmap image;
    InitCodeImage(image);
    std::vector<std::string> events;
    TBatchCallbacks callbacks;
    callbacks.Position = [&](std::int32_t n) { events.push_back("position " + std::to_string(n)); };
    callbacks.Data = [&](const std::string& text) { events.push_back("data " + text); };
    callbacks.FileName = [&](const std::string& name) {
        events.push_back("file " + name);
        if (name == stopAt) {
            stop.request_stop();
        }
        return name + suffix;
    };
    callbacks.Stop = stop.get_token();
    callbacks.Written = [&] { events.push_back("written"); };
    try {
        RunBatch(barcode, image, inputs, range, dir.string(), callbacks);
    } catch (const Exception& e) {
        events.push_back(std::string("failed: ") + e.what());
    }
    return events;
}

std::ptrdiff_t OpenFiles() {
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
}

std::string FileOf(const fs::path& dir, std::int32_t n) {
    return BatchFileName(dir.string(), n);
}

} // namespace

// The LED bar's maximum ("31: ") is given before the first number is read.
TEST(BatchRange, ReadsTheLastNumberFirst) {
    const std::tuple<const char*, const char*, std::string> rows[] = {
        {"0", "10", "10: 0..10"},
        {"  12", "$1F", "31: 12..31"},
        {"5", "-3", "-3: 5..-3"},
        {"0", "12a", "'12a' is not a valid integer value"},
        {"1.5", "10", "10: '1.5' is not a valid integer value"},
        {"", "10", "10: '' is not a valid integer value"},
    };
    for (const auto& [from, to, outcome] : rows) {
        std::string seen;
        try {
            const TBatchRange range = ParseBatchRange(
                from, to, [&](std::int32_t maximum) { seen = std::to_string(maximum) + ": "; });
            seen += std::to_string(range.From) + ".." + std::to_string(range.To);
        } catch (const EConvertError& e) {
            seen += e.what();
        }
        EXPECT_EQ(seen, outcome) << from << " " << to;
    }
}

TEST(BatchRange, CountsInSixtyFourBitsAndNamesTheFiles) {
    EXPECT_EQ(BatchCount({0, 10}), 11);
    EXPECT_EQ(BatchCount({INT_MAX, INT_MIN}), 0);
    EXPECT_EQ(BatchCount({INT_MIN, INT_MAX}), 4294967296LL);
    // The directory text stays as it stands.
    const std::string s(1, PathSeparator);
    EXPECT_EQ(BatchFileName("out", 7), "out" + s + "code_7.bmp");
    EXPECT_EQ(BatchFileName(" a b" + s, INT_MIN), " a b" + s + s + "code_-2147483648.bmp");
    EXPECT_EQ(BatchFileName("out", 7, "svg"), "out" + s + "code_7.svg");
}

// Each number clears the image, is reported, drawn with the inputs' switches and written to the
// name the box gives back.
TEST(Batch, EachNumberIsReportedComposedAndWritten) {
    const ScratchDir dir;
    const TCodeImageInputs inputs{.TypeText = "Code 128B", .DualCode = false};
    const std::string file[] = {FileOf(dir.Path(), -1), FileOf(dir.Path(), 0)};
    EXPECT_EQ(RunRange({-1, 0}, dir.Path(), inputs),
              (std::vector<std::string>{"position -1", "data -1", "file " + file[0], "position 0",
                                        "data 0", "file " + file[1], "written"}));
    EXPECT_EQ(ReadFile(file[0]),
              ComposedBmp({.TypeText = "Code 128B", .Data = "-1", .DualCode = false}));
    EXPECT_EQ(ReadFile(file[1]),
              ComposedBmp({.TypeText = "Code 128B", .Data = "0", .DualCode = false}));

    const ScratchDir renamed;
    RunRange({3, 3}, renamed.Path(), {}, ".seen");
    EXPECT_EQ(Entries(renamed.Path()), std::vector<std::string>{"code_3.bmp.seen"});
}

// The caller's image and barcode hold each number from its report on, drawn with the attributes
// of the image's canvas as the caller left them.
TEST(Batch, TheCallersImageHoldsTheNumberReported) {
    const auto prepared = [](TBarcode& barcode, TBitmap& image) {
        ConfigureMainBarcode(barcode);
        InitCodeImage(image);
        image.Canvas().Font().Size = 12;
        image.Canvas().Brush().Color = clYellow;
    };
    TBarcode barcode;
    TBitmap image;
    prepared(barcode, image);
    std::vector<Bytes> seen;
    TBatchCallbacks callbacks;
    callbacks.FileName = [&](const std::string& name) {
        seen.push_back(BmpBytes(image));
        return name;
    };
    const ScratchDir dir;
    const auto before = OpenFiles();
    // The second run replaces the first one's files, which are then let go.
    for (int run = 0; run < 2; ++run) {
        seen.clear();
        RunBatch(barcode, image, {}, {4, 6}, dir.Path().string(), callbacks);
    }
    EXPECT_EQ(OpenFiles(), before);
    for (int n = 4; n <= 6; ++n) {
        TBarcode alone;
        TBitmap expected;
        prepared(alone, expected);
        ComposeCodeImage(alone, expected, {.Data = std::to_string(n)});
        EXPECT_EQ(seen.at(static_cast<std::size_t>(n - 4)), BmpBytes(expected)) << n;
        EXPECT_EQ(ReadFile(FileOf(dir.Path(), n)), BmpBytes(expected)) << n;
    }
    EXPECT_EQ(seen.back(), BmpBytes(image));
    EXPECT_EQ(barcode.Text(), "6");
}

// A missing destination is made with its parents before the first file; a range without numbers
// makes nothing.
TEST(Batch, RangesWriteTheirNumbersOnly) {
    const std::pair<TBatchRange, std::vector<std::string>> rows[] = {
        {{11, 10}, {}},
        {{7, 7}, {"code_7.bmp"}},
        // Counting with the 32-bit number itself would step past 2147483647 and never stop.
        {{INT_MAX - 1, INT_MAX}, {"code_2147483646.bmp", "code_2147483647.bmp"}},
    };
    for (const auto& [range, files] : rows) {
        const ScratchDir dir;
        EXPECT_EQ(RunRange(range, dir / "a" / "b").size(), 3 * files.size() + 1);
        EXPECT_EQ(fs::exists(dir / "a"), !files.empty());
        if (!files.empty()) {
            EXPECT_EQ(Entries(dir / "a" / "b"), files);
        }
    }
}

// A stop asked for while a file is written ends the run after that file.
TEST(Batch, StopsBetweenFiles) {
    const ScratchDir dir;
    EXPECT_EQ(RunRange({0, 9}, dir.Path(), {}, "", FileOf(dir.Path(), 2)).back(), "written");
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{"code_0.bmp", "code_1.bmp", "code_2.bmp"}));
}

// The first failure ends the run; what was written before it stays, and nothing is created for
// it.
TEST(Batch, TheFirstFailureEndsTheRun) {
    const ScratchDir dir;
    // A file where the destination should be: no directory can be made there.
    WriteFile(dir / "plain", {});
    const std::string blocked = FileOf(dir / "plain", 0);
    EXPECT_EQ(
        RunRange({0, 10}, dir / "plain"),
        (std::vector<std::string>{"position 0", "data 0", "file " + blocked,
                                  "failed: Cannot create file " + blocked + ": Not a directory"}));
    EXPECT_EQ(RunRange({-1, 1}, dir.Path(), {.TypeText = "Code MSI"}),
              (std::vector<std::string>{
                  "position -1", "data -1",
                  "failed: TBarcode:MSI bad Data <-1>: character 1 \"-\" is not a digit"}));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"plain"});

    // A directory in the way fails for root too, who may write read-only files.
    const std::string five = FileOf(dir.Path(), 5);
    fs::create_directory(five);
    const auto before = OpenFiles();
    const std::vector<std::string> events = RunRange({0, 9}, dir.Path());
    EXPECT_EQ(OpenFiles(), before);
    EXPECT_EQ(std::vector(events.end() - 2, events.end()),
              (std::vector<std::string>{"file " + five, "failed: Cannot create file " + five +
                                                            ": Is a directory"}));
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{"code_0.bmp", "code_1.bmp", "code_2.bmp", "code_3.bmp",
                                        "code_4.bmp", "code_5.bmp", "plain"}));
    EXPECT_EQ(ReadFile(FileOf(dir.Path(), 4)), ComposedBmp({.Data = "4"}));
}

// Only the batch's own files count as replaced: the exact name of a number in the range or of a
// list's datum, a regular file, not a link to one; each up to one new file. The last number's old
// file stands while its replacement is written; sizes count in whole blocks.
TEST(Batch, BytesNeededLessTheFilesReplaced) {
    const ScratchDir dir;
    WriteFile(dir / "code_1.bmp", Bytes(1000));
    WriteFile(dir / "code_5.bmp", Bytes(300));  // outside 0..3
    WriteFile(dir / "code_01.bmp", Bytes(300)); // not the name of 1
    WriteFile(dir / "code_3.png", Bytes(300));  // not a batch name
    fs::create_symlink("code_1.bmp", dir / "code_0.bmp");
    fs::create_directory(dir / "code_2.bmp");
    const std::string in = dir.Path().string();
    EXPECT_EQ(BatchBytesNeeded({0, 3}, in, 579654), 4 * 579654 - 1000u);
    EXPECT_EQ(BatchBytesNeeded({1, 1}, in, 10), 10u);
    EXPECT_EQ(BatchBytesNeeded({0, 3}, (dir / "missing").string(), 10), 40u);
    EXPECT_EQ(BatchBytesNeeded({0, 3}, in, 1000, "png"), 4000u);
    EXPECT_EQ(BatchBytesNeeded({0, 2}, in, 1000, "png"), 3000u);
    EXPECT_EQ(BatchBytesNeeded({0, 3}, in, 1000, "bmp", 4096), 3 * 4096u);
    EXPECT_EQ(BatchBytesNeeded({4, 3}, in, 1000), 0u);
    // A list's files by their names: code_1, code_2 and code_3, then code_5 and code_1 last.
    EXPECT_EQ(BatchBytesNeeded(TDataList("x\ny\nz\n", {}, in, "bmp"), 579654), 3 * 579654 - 1000u);
    EXPECT_EQ(
        BatchBytesNeeded(TDataList("code_5.bmp\ncode_1.bmp", {.Name = "{data}"}, in, "bmp"), 10),
        10u);
}

// A range is refused when it needs more than the free space of its destination's file system,
// measured at the nearest existing parent while the destination does not exist yet.
TEST(Batch, ARangeMustFitInTheFreeSpace) {
    const ScratchDir dir;
    struct statvfs space {};
    ASSERT_EQ(statvfs(dir.Path().c_str(), &space), 0);
    const std::uint64_t free = std::uint64_t{space.f_bavail} * space.f_frsize;
    const std::string missing = dir / "a" / "b";
    EXPECT_EQ(Raised<Exception>([&] { CheckBatchFits({1, 2}, missing, free / 4); }), "none");
    EXPECT_EQ(Raised<Exception>([&] {
                  CheckBatchFits({1, 2}, missing, free / 4 * 3);
              }).rfind("Not enough space in " + missing + ": the batch needs ", 0),
              0u);
}

// Files of the process that were in dir and are no longer in any directory: replaced files still
// held open. Only dir's, as a file elsewhere (a cache another process replaced) is not the batch's.
int HeldDeletedFiles(const fs::path& dir) {
    int held = 0;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const std::string target = fs::read_symlink(fd.path(), error).string();
        held += target.starts_with(dir.string() + "/") && target.ends_with(" (deleted)");
    }
    return held;
}

// A batch over older files lets go of every file it replaced before it reports its end, so
// their space is free again when it says it is done.
TEST(Batch, ReplacedFilesAreLetGoBeforeTheEnd) {
    const ScratchDir dir;
    for (int n = 1; n <= 3; ++n) {
        WriteFile(FileOf(dir.Path(), n), Bytes(100));
    }
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    TBitmap image;
    InitCodeImage(image);
    int held = -1;
    TBatchCallbacks callbacks;
    callbacks.Written = [&] { held = HeldDeletedFiles(dir.Path()); };
    RunBatch(barcode, image, {}, {1, 3}, dir.Path().string(), callbacks);
    EXPECT_EQ(held, 0);
}

// What goes to the disk before each returns: a single save flushes its file and then its
// directory; a batch flushes no file and syncs its file system once, at its end.
TEST(Batch, ASaveFlushesItsFileAndDirectoryABatchSyncsOnce) {
    const ScratchDir dir;
    const fs::path report = dir / "report";
    if (fork() == 0) {
        std::string counts = "cannot count";
        if (CountSyncCalls()) {
            const auto made = [&] {
                for (auto& count : SyncCallsMade) {
                    counts += std::to_string(count.exchange(0)) + ' ';
                }
                counts += "| ";
            };
            counts.clear();
            TBitmap image = WhiteImage(5, 3);
            image.SaveToFile(dir / "one.bmp");
            made();
            RunRange({1, 3}, dir.Path());
            made();
        }
        WriteFile(report, Bytes(counts.begin(), counts.end()));
        _exit(0);
    }
    int status = 0;
    wait(&status);
    const Bytes counts = ReadFile(report);
    // fsync, fdatasync, syncfs, sync
    EXPECT_EQ(std::string(counts.begin(), counts.end()), "2 0 0 0 | 0 0 1 0 | ");
}

// A file of the batch measures what the first number's file of its format measures.
TEST(Batch, BytesPerFileAreTheFirstNumbersFile) {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    const TImageFileOptions png{TImageFormat::Png, 1, std::nullopt};
    EXPECT_EQ(BatchBytesPerFile(barcode, {}, {7, 9}), 579654u);
    EXPECT_EQ(BatchBytesPerFile(barcode, {}, {7, 9}, {TImageFormat::Bmp, 3, std::nullopt}),
              54 + 9 * 579600u);
    EXPECT_EQ(BatchBytesPerFile(barcode, {.DualCode = false}, {7, 9}, png),
              ComposedFile({.Data = "7", .DualCode = false}, png).size());
}
