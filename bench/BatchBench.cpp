#include "Application.h"
#include "BUDirectoryBox.h"
#include "Barcode.h"
#include "Bitmap.h"
#include "Canvas.h"
#include "Cli.h"
#include "CodeImage.h"
#include "Stream.h"
#include "Unit3.h"
#include "main.h"
#include "sButton.h"
#include "sEdit.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <iterator>
#include <random>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <utility>
#include <vector>

// Batch generation against the disk. A case writes code_<n>.bmp for n = from..to into a
// directory; the raw writer puts the same number of 579,654-byte files into another one with one
// write() each, and the previous batch writes the same files as the batch loop did before files
// kept their owner, links and attributes and before a batch synced its destination at its end.
// All three run in the same iteration, in turns of `step` numbers, and take turns at going
// first, so that they meet the same state of the page cache and of the disk (whoever writes
// later finds the others' dirty pages still being written back). The counters report the rates
// and their ratios to the raw writer's. The CLI and the main window are the two front ends of the
// batch loop; the window's batch runs on its worker while the window follows it.

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

// The program on Qt's offscreen platform, made once; it lives until the process ends. A
// message box would wait for a click: its text is kept instead.
TForm1& Window() {
    static std::string message;
    static TForm1* const window = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "quillmark_bench";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
        Application::MessageHook = [](Application::TMessageKind, const std::string& text) {
            message = text;
        };
        auto* form1 = new TForm1;
        form1->Form3 = new TForm3;
        form1->show();
        return form1;
    }();
    if (!message.empty()) {
        throw std::runtime_error(std::exchange(message, {}));
    }
    return *window;
}

void WaitForTheWindowsBatch(TForm1& window) {
    while (window.BatchRunning()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

// "Generate and save" of the main window, its worker writing while the window follows it, until
// the files are synced, as the CLI's are before it exits.
void WindowBatch(const std::string& dir, int from, int to) {
    TForm1& window = Window();
    window.fromnumber->setText(QString::number(from));
    window.tonumber->setText(QString::number(to));
    window.BUDirectoryBox1->SetDirectory(dir);
    window.sButton1Click(&window);
    WaitForTheWindowsBatch(window);
    window.FinishBatch();
    Window();
}

// The writer the batch had before: a named temporary file beside the target (after following a
// link to it), its mode copied, renamed over the target; no sync.
void PreviousWrite(const std::string& name, std::span<const std::span<const std::uint8_t>> pieces) {
    static std::mt19937_64 random{std::random_device{}()};
    std::string target = name;
    struct stat existing {};
    const bool exists = stat(name.c_str(), &existing) == 0;
    if (exists) {
        if (!S_ISREG(existing.st_mode) || access(name.c_str(), W_OK) != 0) {
            throw std::runtime_error("cannot create " + name);
        }
        if (char* real = realpath(name.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    const std::string temporary =
        fs::path(target).parent_path().string() + "/.quillmark-" + std::to_string(random());
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        throw std::runtime_error("cannot create " + temporary);
    }
    if (exists) {
        fchmod(fd, existing.st_mode & 07777);
    }
    std::vector<iovec> vectors;
    std::size_t size = 0;
    for (const auto piece : pieces) {
        vectors.push_back({const_cast<std::uint8_t*>(piece.data()), piece.size()});
        size += piece.size();
    }
    // Each call writes at most IOV_MAX pieces; a code image has 277.
    const bool written =
        writev(fd, vectors.data(), static_cast<int>(vectors.size())) == static_cast<ssize_t>(size);
    if (close(fd) != 0 || !written || rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        throw std::runtime_error("cannot write " + name);
    }
}

// The batch loop of the CLI as it was, with the previous writer: each number drawn into the code
// image and its rows written straight from the pixels, bottom row first, after the headers.
void PreviousBatch(const std::string& dir, int from, int to) {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    TBitmap image;
    InitCodeImage(image);
    TMemoryStream headers;
    image.SaveToStream(headers);
    const std::span<const std::uint8_t> header(headers.Data().data(), 54);
    TCodeImageInputs inputs;
    std::vector<std::span<const std::uint8_t>> pieces;
    for (int n = from; n <= to; ++n) {
        image.Canvas().FillRect({0, 0, image.Width(), image.Height()});
        inputs.Data = std::to_string(n);
        DrawCodeImage(barcode, image, inputs);
        pieces.assign({header});
        for (int y = image.Height() - 1; y >= 0; --y) {
            pieces.emplace_back(reinterpret_cast<const std::uint8_t*>(image.ScanLine(y)),
                                static_cast<std::size_t>(image.Width()) * 4);
        }
        PreviousWrite(dir + "/code_" + std::to_string(n) + ".bmp", pieces);
    }
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
    struct Writer {
        std::function<void(const std::string& dir, int from, int to)> Write;
        ScratchDirectory Dir;
        double Seconds = 0;
    };
    // The raw writes, the previous batch and the case, each into a directory of its own.
    Writer writers[] = {
        {[&](const std::string& dir, int from, int to) { RawWrite(dir, from, to, bytes); }},
        {PreviousBatch},
        {batch}};
    Writer& raw = writers[0];
    Writer& previous = writers[1];
    Writer& cased = writers[2];
    for (Writer& writer : writers) {
        if (rerun) {
            writer.Write(writer.Dir.Path.string(), 0, Numbers - 1);
        }
    }
    std::size_t first = 0;
    for (auto _ : state) {
        for (const Writer& writer : writers) {
            if (!rerun) {
                writer.Dir.Empty();
            }
        }
        sync();
        const double before = cased.Seconds;
        for (int from = 0; from < Numbers; from += step) {
            const int to = std::min(from + step, Numbers) - 1;
            for (std::size_t k = 0; k < std::size(writers); ++k) {
                Writer& writer = writers[(first + k) % std::size(writers)];
                const auto start = Clock::now();
                writer.Write(writer.Dir.Path.string(), from, to);
                writer.Seconds += SecondsOf(Clock::now() - start);
            }
            first = (first + 1) % std::size(writers);
        }
        state.SetIterationTime(cased.Seconds - before);
    }
    const double files = static_cast<double>(state.iterations()) * Numbers;
    state.counters["raw_files/s"] = files / raw.Seconds;
    state.counters["previous_files/s"] = files / previous.Seconds;
    state.counters["files/s"] = files / cased.Seconds;
    state.counters["MB/s"] = files * static_cast<double>(bytes.size()) / 1e6 / cased.Seconds;
    state.counters["previous_ratio"] = raw.Seconds / previous.Seconds;
    state.counters["ratio"] = raw.Seconds / cased.Seconds;
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

// The window's batch against the CLI's: whole runs of 2,000 numbers, as a person starts them,
// into an empty directory (rerun 0) and again over the files of the previous iteration (rerun 1),
// taking turns at going first. The iteration time is the window's; its rate should be at least
// 0.9 of the CLI's.
void BM_WindowAgainstCli(benchmark::State& state) {
    constexpr int Numbers = 2000;
    const bool rerun = state.range(0) != 0;
    const BatchCase batches[] = {CliBatch, WindowBatch};
    const ScratchDirectory dirs[2];
    double seconds[2] = {0, 0};
    for (int k = 0; rerun && k < 2; ++k) {
        batches[k](dirs[k].Path.string(), 0, Numbers - 1);
    }
    bool cliFirst = true;
    for (auto _ : state) {
        double window = 0;
        for (int k = 0; !rerun && k < 2; ++k) {
            dirs[k].Empty();
        }
        sync();
        for (const int k : {cliFirst ? 0 : 1, cliFirst ? 1 : 0}) {
            const auto start = Clock::now();
            batches[k](dirs[k].Path.string(), 0, Numbers - 1);
            const double taken = SecondsOf(Clock::now() - start);
            seconds[k] += taken;
            window = k == 1 ? taken : window;
        }
        cliFirst = !cliFirst;
        state.SetIterationTime(window);
    }
    const double files = static_cast<double>(state.iterations()) * Numbers;
    state.counters["cli_files/s"] = files / seconds[0];
    state.counters["files/s"] = files / seconds[1];
    state.counters["ratio"] = seconds[0] / seconds[1];
    state.SetLabel(rerun ? "overwriting" : "into an empty directory");
}
BENCHMARK(BM_WindowAgainstCli)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("rerun")
    ->Iterations(8)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// From Esc, pressed while the window's batch of 20,000 numbers is writing, to the window showing
// the stopped run ("Generate and save" again, the last file's number and image), which does not
// wait for the closing sync: the iteration time, in milliseconds.
void BM_EscStopsTheWindowsBatch(benchmark::State& state) {
    const ScratchDirectory dir;
    TForm1& window = Window();
    window.fromnumber->setText("0");
    window.tonumber->setText("19999");
    window.BUDirectoryBox1->SetDirectory(dir.Path.string());
    for (auto _ : state) {
        dir.Empty();
        window.sButton1Click(&window);
        // Some files into the run, as a person presses the key.
        const auto running = Clock::now() + std::chrono::milliseconds(100);
        while (Clock::now() < running) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        const auto start = Clock::now();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&window, &escape);
        WaitForTheWindowsBatch(window);
        state.SetIterationTime(SecondsOf(Clock::now() - start));
        window.FinishBatch();
        if (window.sButton1->Caption() != "Generate and save" ||
            window.kod->text().toStdString() !=
                std::to_string(std::distance(fs::directory_iterator(dir.Path), {}) - 1)) {
            throw std::runtime_error("the window does not show the stopped run");
        }
    }
}
BENCHMARK(BM_EscStopsTheWindowsBatch)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
