#include "BUDirectoryBox.h"
#include "Barcode.h"
#include "Bitmap.h"
#include "Cli.h"
#include "CodeImage.h"
#include "Stream.h"
#include "Unit3.h"
#include "main.h"
#include "sEdit.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

// Batch generation against the disk. A case writes code_<n>.bmp for n = from..to into a
// directory; the raw writer puts the same number of 579,654-byte files into another one with one
// write() each. Both run in the same iteration, in turns of `step` numbers, and take turns at
// going first, so that they meet the same state of the page cache and of the disk (whoever
// writes second finds the other's dirty pages still being written back). The counters report
// the ratio of their rates. The CLI and the main window's handler are the two front ends of the
// batch loop.

namespace fs = std::filesystem;

namespace {

using BatchCase = void (*)(const std::string& dir, int from, int to);

void CliBatchAs(const std::string& format, const std::string& dir, int from, int to) {
    const std::vector<std::string> args = {
        "--from", std::to_string(from), "--to", std::to_string(to), "--dir",
        dir,      "--format",           format};
    std::ostringstream out;
    std::ostringstream err;
    if (RunCli(args, out, err) != 0) {
        throw std::runtime_error(err.str());
    }
}

void CliBatch(const std::string& dir, int from, int to) {
    CliBatchAs("bmp", dir, from, to);
}

// "Generate and save" of the main window on Qt's offscreen platform, with its LED bar repainted
// for every number. The program is made once and lives until the process ends.
void WindowBatch(const std::string& dir, int from, int to) {
    static TForm1* const window = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "quillmark_bench";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
        auto* form1 = new TForm1;
        form1->Form3 = new TForm3;
        form1->show();
        return form1;
    }();
    window->fromnumber->setText(QString::number(from));
    window->tonumber->setText(QString::number(to));
    window->BUDirectoryBox1->SetDirectory(dir);
    window->sButton1Click(window);
}

std::vector<std::uint8_t> DefaultCodeImageBytes() {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    TBitmap image;
    InitCodeImage(image);
    ComposeCodeImage(barcode, image, {});
    TMemoryStream bytes;
    image.SaveToStream(bytes);
    return bytes.Data();
}

void RawWrite(const std::string& dir, int from, int to, const std::vector<std::uint8_t>& bytes) {
    for (int n = from; n <= to; ++n) {
        const std::string name = dir + "/code_" + std::to_string(n) + ".bmp";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        const bool written =
            fd >= 0 && write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        if (fd < 0 || close(fd) != 0 || !written) {
            throw std::runtime_error("raw write of " + name + " failed");
        }
    }
}

// A directory under $TMPDIR (or /tmp), removed with everything in it.
struct ScratchDirectory {
    fs::path Path;
    ScratchDirectory() {
        std::string pattern = (fs::temp_directory_path() / "quillmark-batch-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create " + pattern);
        }
        Path = pattern;
    }
    ~ScratchDirectory() { fs::remove_all(Path); }
    void Empty() const {
        for (const auto& entry : fs::directory_iterator(Path)) {
            fs::remove(entry.path());
        }
    }
};

using Clock = std::chrono::steady_clock;

double SecondsOf(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Arguments: the numbers per turn, and 1 to write over the files of the previous iteration
// (a rerun) instead of into an empty directory.
void BM_BatchAgainstRaw(benchmark::State& state, BatchCase batch) {
    constexpr int Numbers = 2000;
    const auto step = static_cast<int>(state.range(0));
    const bool rerun = state.range(1) != 0;
    const std::vector<std::uint8_t> bytes = DefaultCodeImageBytes();
    const ScratchDirectory raw;
    const ScratchDirectory cased;
    if (rerun) {
        RawWrite(raw.Path.string(), 0, Numbers - 1, bytes);
        batch(cased.Path.string(), 0, Numbers - 1);
    }
    double rawSeconds = 0;
    double caseSeconds = 0;
    bool rawFirst = true;
    for (auto _ : state) {
        if (!rerun) {
            raw.Empty();
            cased.Empty();
        }
        sync();
        double iteration = 0;
        for (int from = 0; from < Numbers; from += step) {
            const int to = std::min(from + step, Numbers) - 1;
            const auto timeRaw = [&] {
                const auto start = Clock::now();
                RawWrite(raw.Path.string(), from, to, bytes);
                rawSeconds += SecondsOf(Clock::now() - start);
            };
            const auto timeCase = [&] {
                const auto start = Clock::now();
                batch(cased.Path.string(), from, to);
                iteration += SecondsOf(Clock::now() - start);
            };
            if (rawFirst) {
                timeRaw();
                timeCase();
            } else {
                timeCase();
                timeRaw();
            }
            rawFirst = !rawFirst;
        }
        caseSeconds += iteration;
        state.SetIterationTime(iteration);
    }
    const double megabytes =
        static_cast<double>(state.iterations()) * Numbers * static_cast<double>(bytes.size()) / 1e6;
    state.counters["raw_MB/s"] = megabytes / rawSeconds;
    state.counters["MB/s"] = megabytes / caseSeconds;
    state.counters["ratio"] = rawSeconds / caseSeconds;
    state.SetLabel(std::to_string(Numbers) + " numbers in turns of " + std::to_string(step) +
                   (rerun ? ", overwriting" : ", into an empty directory"));
}
// The cases of every front end: whole batches and turns of 100 into an empty directory, and turns
// of 100 over the files of the previous iteration.
void Cases(benchmark::internal::Benchmark* cases) {
    cases->ArgsProduct({{2000, 100}, {0}})
        ->Args({100, 1})
        ->ArgNames({"step", "rerun"})
        ->Iterations(4)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}
BENCHMARK_CAPTURE(BM_BatchAgainstRaw, cli, CliBatch)->Apply(Cases);
BENCHMARK_CAPTURE(BM_BatchAgainstRaw, window, WindowBatch)->Apply(Cases);

std::uintmax_t BytesIn(const fs::path& dir) {
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        bytes += entry.file_size();
    }
    return bytes;
}

// The CLI's batch of 2,000 numbers as PNG files against the same batch as BMP files, each into
// an empty directory, taking turns at going first. The iteration time is the PNG batch's.
void BM_PngBatchAgainstBmp(benchmark::State& state) {
    constexpr int Numbers = 2000;
    const ScratchDirectory bmp;
    const ScratchDirectory png;
    double seconds[2] = {0, 0};
    bool bmpFirst = true;
    for (auto _ : state) {
        bmp.Empty();
        png.Empty();
        sync();
        double pngIteration = 0;
        const auto timed = [&](int which) {
            const auto start = Clock::now();
            CliBatchAs(which == 0 ? "bmp" : "png", (which == 0 ? bmp : png).Path.string(), 0,
                       Numbers - 1);
            const double taken = SecondsOf(Clock::now() - start);
            seconds[which] += taken;
            pngIteration = which == 1 ? taken : pngIteration;
        };
        timed(bmpFirst ? 0 : 1);
        timed(bmpFirst ? 1 : 0);
        bmpFirst = !bmpFirst;
        state.SetIterationTime(pngIteration);
    }
    const double files = static_cast<double>(state.iterations()) * Numbers;
    state.counters["bmp_files/s"] = files / seconds[0];
    state.counters["png_files/s"] = files / seconds[1];
    state.counters["ratio"] = seconds[0] / seconds[1];
    state.counters["bmp_bytes_each"] = static_cast<double>(BytesIn(bmp.Path)) / Numbers;
    state.counters["png_bytes_each"] = static_cast<double>(BytesIn(png.Path)) / Numbers;
}
BENCHMARK(BM_PngBatchAgainstBmp)->Iterations(4)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
