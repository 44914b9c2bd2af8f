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
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <linux/magic.h>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>
#include <vector>

// Batch generation against writing the same bytes raw, with the same safety. Each case writes
// code_<n>.bmp for n = 0..1999 into one directory, with every writer in turn: the raw writer puts
// the default code image's 579,654 bytes into an unnamed temporary file and links it into place,
// or links it to a temporary name and renames that over an existing file; the plain writer
// truncates and rewrites the file itself (less safe, shown for information); the CLI and the main
// window run the batch loop. Like the batch, every raw run ends with one syncfs of its directory,
// so that on a disk each waits for its own files alike. The writers take turns at going first
// in each round, and each keeps its best round. The counters give the rates and their ratios to
// the raw writer's. The cases run on tmpfs (/dev/shm), where the program's own cost shows, and on
// the disk of the build directory, into an empty directory and over the files of the previous
// writer. The window's batch runs on its worker while the window follows it.

namespace fs = std::filesystem;

namespace {

constexpr int Numbers = 2000;
constexpr int Rounds = 5;

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

void CliBatch(const std::string& dir) {
    CliBatchAs("bmp", dir, 0, Numbers - 1);
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
void WindowBatch(const std::string& dir) {
    TForm1& window = Window();
    window.fromnumber->setText("0");
    window.tonumber->setText(QString::number(Numbers - 1));
    window.BUDirectoryBox1->SetDirectory(dir);
    window.sButton1Click(&window);
    WaitForTheWindowsBatch(window);
    window.FinishBatch();
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

[[noreturn]] void Failed(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

void SyncDirectory(const std::string& dir) {
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || syncfs(fd) != 0 || close(fd) != 0) {
        Failed("syncfs " + dir);
    }
}

void WriteWhole(int fd, const std::vector<std::uint8_t>& bytes, const std::string& name) {
    if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        Failed("write " + name);
    }
}

// The bytes into an unnamed temporary file, linked into place, or over an existing file linked
// to a temporary name and renamed over it. With the safety the batch's files have, and no more:
// the name is looked at first (a link, a device or a hard-linked file must not be renamed over),
// and a file being replaced gives its mode, its owner (against the new file's) and its list of
// extended attributes, to be kept (files written here have none to copy).
void RawAtomic(const std::string& dir, const std::vector<std::uint8_t>& bytes) {
    const std::string temporary = dir + "/.raw";
    for (int n = 0; n < Numbers; ++n) {
        const std::string name = dir + "/code_" + std::to_string(n) + ".bmp";
        struct stat old {};
        const bool exists = lstat(name.c_str(), &old) == 0;
        if (!exists && errno != ENOENT) {
            Failed("lstat " + name);
        }
        const mode_t mode = exists ? old.st_mode & 01777 : 0666;
        const int fd = open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (fd < 0) {
            Failed("open " + dir);
        }
        struct stat fresh {};
        if (exists && (fstat(fd, &fresh) != 0 ||
                       (listxattr(name.c_str(), nullptr, 0) < 0 && errno != ENOTSUP))) {
            Failed("attributes of " + name);
        }
        WriteWhole(fd, bytes, name);
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        const char* linked = exists ? temporary.c_str() : name.c_str();
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, linked, AT_SYMLINK_FOLLOW) != 0 ||
            (exists && rename(temporary.c_str(), name.c_str()) != 0)) {
            Failed("link " + name);
        }
        if (close(fd) != 0) {
            Failed("close " + name);
        }
    }
    SyncDirectory(dir);
}

// The bytes straight into the file, truncated first: what a crash in the middle loses.
void RawTruncate(const std::string& dir, const std::vector<std::uint8_t>& bytes) {
    for (int n = 0; n < Numbers; ++n) {
        const std::string name = dir + "/code_" + std::to_string(n) + ".bmp";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0) {
            Failed("open " + name);
        }
        WriteWhole(fd, bytes, name);
        if (close(fd) != 0) {
            Failed("close " + name);
        }
    }
    SyncDirectory(dir);
}

// A directory under parent, removed with everything in it.
struct ScratchDirectory {
    fs::path Path;
    explicit ScratchDirectory(const fs::path& parent = fs::temp_directory_path()) {
        std::string pattern = (parent / "quillmark-batch-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            Failed("mkdtemp " + pattern);
        }
        Path = pattern;
    }
    ~ScratchDirectory() { fs::remove_all(Path); }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
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

// The processor time of the process, user and system: what a writer costs however busy the
// machine is with other work.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

enum Place { Tmpfs, Disk };

// /dev/shm when it is a tmpfs; the directory of this program, which lies in the build directory.
std::optional<fs::path> PlaceDirectory(Place place) {
    if (place == Disk) {
        return fs::read_symlink("/proc/self/exe").parent_path();
    }
    struct statfs status {};
    if (statfs("/dev/shm", &status) != 0 || status.f_type != TMPFS_MAGIC) {
        return std::nullopt;
    }
    return fs::path("/dev/shm");
}

// Into an empty directory, or over the files the previous writer left (a rerun): 2,000 files per
// writer and round; the CLI's batch from a range and from a list of the same numbers.
void BM_BatchAgainstRaw(benchmark::State& state, Place place, bool rerun) {
    const std::optional<fs::path> parent = PlaceDirectory(place);
    if (!parent) {
        state.SkipWithError("/dev/shm is not a tmpfs");
        return;
    }
    const std::vector<std::uint8_t> bytes = DefaultCodeImageBytes();
    struct Writer {
        const char* Name;
        std::function<void(const std::string& dir)> Write;
        double Best = 0;
        double BestCpu = 0;
    };
    Writer writers[] = {
        {"raw", [&](const std::string& dir) { RawAtomic(dir, bytes); }},
        {"trunc", [&](const std::string& dir) { RawTruncate(dir, bytes); }},
        {"cli", CliBatch},
        {"window", WindowBatch},
        {"list", {}},
    };
    const ScratchDirectory scratch(*parent);
    const std::string dir = scratch.Path.string();
    // The same numbers from a list file beside the directory, its files named code_1 to code_2000.
    const ScratchDirectory listDir(*parent);
    const std::string list = (listDir.Path / "numbers.txt").string();
    {
        std::ofstream numbers(list);
        for (int n = 0; n < Numbers; ++n) {
            numbers << n << '\n';
        }
    }
    writers[4].Write = [&](const std::string& to) {
        std::ostringstream out;
        std::ostringstream err;
        const std::vector<std::string> args = {"--data-file", list, "--dir", to};
        if (RunCli(args, out, err) != 0) {
            throw std::runtime_error(err.str());
        }
    };
    if (rerun) {
        RawTruncate(dir, bytes);
    }
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            for (std::size_t k = 0; k < std::size(writers); ++k) {
                Writer& writer = writers[(round + k) % std::size(writers)];
                if (!rerun) {
                    scratch.Empty();
                }
                sync();
                const auto start = Clock::now();
                const double startCpu = CpuSeconds();
                writer.Write(dir);
                const double seconds = SecondsOf(Clock::now() - start);
                const double cpu = CpuSeconds() - startCpu;
                writer.Best = writer.Best == 0 ? seconds : std::min(writer.Best, seconds);
                writer.BestCpu = writer.BestCpu == 0 ? cpu : std::min(writer.BestCpu, cpu);
            }
        }
        state.SetIterationTime(writers[2].Best);
    }
    const Writer& raw = writers[0];
    for (const Writer& writer : writers) {
        const std::string name = writer.Name;
        state.counters[name + "_files/s"] = Numbers / writer.Best;
        if (name != "raw") {
            state.counters[name + "_ratio"] = raw.Best / writer.Best;
            state.counters[name + "_cpu_ratio"] = raw.BestCpu / writer.BestCpu;
        }
    }
    // The window's batch shares the CLI's loop and should keep at least 0.9 of its rate.
    state.counters["window_to_cli"] = writers[2].Best / writers[3].Best;
    state.SetLabel("best of " + std::to_string(Rounds) + " rounds");
}
// The rounds are the repetitions; the time shown is the CLI's best round.
void RoundsInOne(benchmark::internal::Benchmark* cases) {
    cases->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
}
BENCHMARK_CAPTURE(BM_BatchAgainstRaw, tmpfs_empty, Tmpfs, false)->Apply(RoundsInOne);
BENCHMARK_CAPTURE(BM_BatchAgainstRaw, tmpfs_overwriting, Tmpfs, true)->Apply(RoundsInOne);
BENCHMARK_CAPTURE(BM_BatchAgainstRaw, disk_empty, Disk, false)->Apply(RoundsInOne);
BENCHMARK_CAPTURE(BM_BatchAgainstRaw, disk_overwriting, Disk, true)->Apply(RoundsInOne);

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
