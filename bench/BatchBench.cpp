#include "Application.h"
#include "BUDirectoryBox.h"
#include "Barcode.h"
#include "Bitmap.h"
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
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// Batch generation against the disk, and the window's batch against quillmark-cli's. A case
// writes code_<n>.bmp for n = from..to into a directory; its reference puts as many files into
// another one: the raw writer the same 579,654 bytes with one write() each, or the CLI its code
// images. Both run in the same iteration, in turns of `step` numbers, and take turns at going
// first, so that they meet the same state of the page cache and of the disk (whoever writes
// second finds the other's dirty pages still being written back). The counters report the ratio
// of their rates, the case's over the reference's. The window's batch runs on its worker while
// the window follows it, as a person sees it.

namespace fs = std::filesystem;

namespace {

using BatchCase = void (*)(const std::string& dir, int from, int to);

void CliBatch(const std::string& dir, int from, int to) {
    const std::vector<std::string> args = {
        "--from", std::to_string(from), "--to", std::to_string(to), "--dir", dir};
    std::ostringstream out;
    std::ostringstream err;
    if (RunCli(args, out, err) != 0) {
        throw std::runtime_error(err.str());
    }
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

// "Generate and save" of the main window, until the window shows the run's end.
void WindowBatch(const std::string& dir, int from, int to) {
    TForm1& window = Window();
    window.fromnumber->setText(QString::number(from));
    window.tonumber->setText(QString::number(to));
    window.BUDirectoryBox1->SetDirectory(dir);
    window.sButton1Click(&window);
    WaitForTheWindowsBatch(window);
    Window();
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

void RawWrite(const std::string& dir, int from, int to) {
    static const std::vector<std::uint8_t> bytes = DefaultCodeImageBytes();
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
void BM_BatchAgainst(benchmark::State& state, BatchCase batch, BatchCase reference) {
    constexpr int Numbers = 2000;
    const auto step = static_cast<int>(state.range(0));
    const bool rerun = state.range(1) != 0;
    const ScratchDirectory referenceDir;
    const ScratchDirectory caseDir;
    if (rerun) {
        reference(referenceDir.Path.string(), 0, Numbers - 1);
        batch(caseDir.Path.string(), 0, Numbers - 1);
    }
    double referenceSeconds = 0;
    double caseSeconds = 0;
    bool referenceFirst = true;
    for (auto _ : state) {
        if (!rerun) {
            referenceDir.Empty();
            caseDir.Empty();
        }
        sync();
        double iteration = 0;
        for (int from = 0; from < Numbers; from += step) {
            const int to = std::min(from + step, Numbers) - 1;
            const auto timeReference = [&] {
                const auto start = Clock::now();
                reference(referenceDir.Path.string(), from, to);
                referenceSeconds += SecondsOf(Clock::now() - start);
            };
            const auto timeCase = [&] {
                const auto start = Clock::now();
                batch(caseDir.Path.string(), from, to);
                iteration += SecondsOf(Clock::now() - start);
            };
            if (referenceFirst) {
                timeReference();
                timeCase();
            } else {
                timeCase();
                timeReference();
            }
            referenceFirst = !referenceFirst;
        }
        caseSeconds += iteration;
        state.SetIterationTime(iteration);
    }
    const double megabytes = static_cast<double>(state.iterations()) * Numbers *
                             static_cast<double>(DefaultCodeImageBytes().size()) / 1e6;
    state.counters["reference_MB/s"] = megabytes / referenceSeconds;
    state.counters["MB/s"] = megabytes / caseSeconds;
    state.counters["ratio"] = referenceSeconds / caseSeconds;
    state.SetLabel(std::to_string(Numbers) + " numbers in turns of " + std::to_string(step) +
                   (rerun ? ", overwriting" : ", into an empty directory"));
}

// Against the raw writer: whole batches and turns of 100 into an empty directory, and turns of
// 100 over the files of the previous iteration.
void AgainstRaw(benchmark::internal::Benchmark* cases) {
    cases->ArgsProduct({{2000, 100}, {0}})
        ->Args({100, 1})
        ->ArgNames({"step", "rerun"})
        ->Iterations(4)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}
// The window against the CLI: whole runs of 2,000 files, as a person starts them, into an empty
// directory and again over them; the window's rate should be at least 0.9 of the CLI's. An even
// count of iterations, so that each goes first equally often.
void AgainstTheCli(benchmark::internal::Benchmark* cases) {
    cases->Args({2000, 0})
        ->Args({2000, 1})
        ->ArgNames({"step", "rerun"})
        ->Iterations(8)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}
BENCHMARK_CAPTURE(BM_BatchAgainst, cli_vs_raw, CliBatch, RawWrite)->Apply(AgainstRaw);
BENCHMARK_CAPTURE(BM_BatchAgainst, window_vs_raw, WindowBatch, RawWrite)->Apply(AgainstRaw);
BENCHMARK_CAPTURE(BM_BatchAgainst, window_vs_cli, WindowBatch, CliBatch)->Apply(AgainstTheCli);

// From Esc, pressed while the window's batch of 20,000 numbers is writing, to the window showing
// the stopped run ("Generate and save" again, the last file's number and image): the iteration
// time, in milliseconds.
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
