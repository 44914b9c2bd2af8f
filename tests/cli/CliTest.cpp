#include "Cli.h"
#include "NumberText.h"
#include "Symbol.h"
#include "Version.h"

#include "CoreComposed.h"
#include "NoTmpfile.h"

#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <grp.h>
#include <poll.h>
#include <sstream>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(Cli, PrintsPatternsAndVersion) {
    // Drawn as typed, the wrong check digit 0 too.
    EXPECT_EQ(
        Invoke({"--type", "Code EAN13", "--data", "4006381333930", "--no-checksum", "--pattern"}),
        (Result{0, "50526050517050808052515061605050535053505350705153507150505\n", ""}));
    EXPECT_EQ(Invoke({"--version"}),
              (Result{0, std::string("quillmark-cli ") + Product::Version + "\n", ""}));
}

TEST(Cli, UsageErrorsExitTwoWithOneLine) {
    const std::string nothing = "nothing to do; give --output FILE or --pattern (see --help)";
    const std::string batch = "a batch names its files and data itself; give it without "
                              "--output, --pattern and --data";
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{}, nothing},
        {{"--data", "--help"}, nothing}, // "--help" is the data
        {{"output.bmp"}, "unknown argument 'output.bmp'; see --help"},
        {{"--type"}, "option '--type' needs a value"},
        {{"--type", "EAN13", "--pattern"}, "unknown type 'EAN13'; --list-types names them"},
        // Control characters as file names show them: no argument drives the terminal.
        {{"--type", "\x1b[2J", "--pattern"}, "unknown type '\\x1B[2J'; --list-types names them"},
        {{"--\x1b[2J\n"}, "unknown argument '--\\x1B[2J\\n'; see --help"},
        {{"--pattern", "--dpi", "300"},
         "--pattern draws nothing; give it without --output, --format, --scale and --dpi"},
        {{"--from", "0", "--to", "1"}, "a batch needs all of --from, --to and --dir"},
        {{"--from", "0", "--to", "1", "--dir", ""},
         "option '--dir' needs a name, not an empty one"},
        {{"--output", ""}, "option '--output' needs a name, not an empty one"},
        {{"--from", "0", "--to", "1", "--dir", "d", "--data", "5"}, batch},
        {{"--from", "0", "--to", "1", "--dir", "d", "--pattern"}, batch},
        {{"--data-file", "", "--dir", "d"}, "option '--data-file' needs a name, not an empty one"},
        {{"--data-file", "l.txt"}, "a batch from a list needs --dir"},
        {{"--data-file", "l.txt", "--dir", "d", "--to", "1"},
         "a batch from a list takes its data and names from the list; give it without --from, "
         "--to, --output, --pattern and --data"},
        {{"--name", "x", "--output", "x.bmp"},
         "--column, --header, --delimiter and --name read a list; add --data-file"},
        {{"--data-file", "l", "--dir", "d", "--column", "1", "--delimiter", ";;"},
         "--delimiter takes one character, or tab, not ';;'"},
        {{"--data-file", "l", "--dir", "d", "--column", "sku"},
         "--column takes a number from 1, or with --header a column's name, not 'sku'"},
        {{"--scale", "21", "--output", "x.png"},
         "--scale takes a whole number from 1 to 20, not '21'"},
        {{"--scale", "0", "--output", "x.png"},
         "--scale takes a whole number from 1 to 20, not '0'"},
        {{"--dpi", "65536", "--output", "x.png"},
         "--dpi takes a whole number from 1 to 65535, not '65536'"},
        {{"--format", "PNG", "--output", "x"},
         "--format takes bmp, png, svg, jpg, pdf or eps, not 'PNG'"},
        {{"--height", "20", "--output", "x.png"},
         "--x-dim, --height, --ratio and --reduction size the symbol; add --symbol"},
        {{"--format", "eps", "--output", "x"},
         "--format pdf and eps write the symbol; add --symbol"},
        {{"--symbol", "--scale", "1", "--output", "x.png"},
         "the symbol is sized in millimetres by --x-dim, not by --scale"},
        {{"--symbol", "--pattern"}, "--pattern draws nothing; give it without --symbol"},
        {{"--symbol", "--x-dim", "1e-1", "--output", "x.png"},
         "--x-dim takes millimetres from 0.05 to 10, not '1e-1'"},
        {{"--symbol", "--ratio", "2.5", "--output", "x.pdf"},
         "EAN13 has no wide-to-narrow ratio: its elements are whole modules"},
        {{"--bearer", "bars", "--output", "x.png"},
         "--bearer draws the symbol's bearer bars; add --symbol"},
        {{"--symbol", "--type", "Code ITF-14", "--bearer", "Frame", "--output", "x.pdf"},
         "--bearer takes frame, bars or none, not 'Frame'"},
        {{"--symbol", "--type", "Code 2 5 interleaved", "--bearer", "none", "--output", "x.pdf"},
         "2_5_interleaved has no bearer bars: only ITF-14 has them"},
        // A bar of one dot at 96 dpi keeps nothing after 0.2 mm; a PDF has no dots.
        {{"--symbol", "--reduction", "0.2", "--dpi", "96", "--output", "x.png"},
         "a bar-width reduction of 0.2 mm leaves nothing of the narrow bars at 96 dpi"},
        {{"--symbol", "--reduction", "0.2", "--dpi", "96", "--from", "1", "--to", "2", "--dir",
          "d"},
         "a bar-width reduction of 0.2 mm leaves nothing of the narrow bars at 96 dpi"},
    };
    for (const auto& [args, message] : rows) {
        EXPECT_EQ(Invoke(args), (Result{2, "", "quillmark-cli: " + message + "\n"}));
    }
}

// Each limit --help states is the one the parser keeps: the value at it is taken, a hair beyond
// it refused.
TEST(Cli, HelpStatesTheLimitsItKeeps) {
    const std::string help = Invoke({"--help"}).Out;
    const ScratchDir dir;
    const std::string svg = dir / "x.svg";
    const struct {
        std::string Option;
        std::vector<std::string> Context;
    } rows[] = {
        {"--x-dim", {"--symbol", "--output", svg}},
        {"--height", {"--symbol", "--output", svg}},
        {"--ratio", {"--symbol", "--type", "Code 39", "--x-dim", "0.5", "--output", svg}},
        {"--dpi", {"--symbol", "--output", svg}},
        {"--scale", {"--output", svg}},
    };
    for (const auto& [option, context] : rows) {
        SCOPED_TRACE(option);
        // The first "from A to B" of the option's entry.
        const std::size_t entry = help.find("\n  " + option + " ");
        ASSERT_NE(entry, std::string::npos);
        const std::size_t from = help.find(" from ", entry) + 6;
        const std::size_t to = help.find(" to ", from);
        const std::string low = help.substr(from, to - from);
        const std::string high = help.substr(to + 4, help.find_first_of(" ;(,", to + 4) - to - 4);
        const auto exit = [&](const std::string& value) {
            std::vector<std::string> args = context;
            args.insert(args.end(), {option, value});
            return Invoke(args).Code;
        };
        // A whole number's neighbours, or a thousandth beyond.
        const bool whole = option == "--dpi" || option == "--scale";
        const auto beyond = [&](const std::string& limit, int side) {
            return whole ? std::to_string(std::stoi(limit) + side)
                         : Number(std::stod(limit) + side * 0.001);
        };
        EXPECT_EQ(exit(low), 0) << low;
        EXPECT_EQ(exit(high), 0) << high;
        EXPECT_EQ(exit(beyond(low, -1)), 2) << low;
        EXPECT_EQ(exit(beyond(high, 1)), 2) << high;
    }
    // The reduction: anything from 0 to less than the X-dimension.
    for (const auto& [reduction, code] :
         {std::pair("0", 0), std::pair("0.329", 0), std::pair("0.33", 2)}) {
        EXPECT_EQ(Invoke({"--symbol", "--reduction", reduction, "--output", svg}).Code, code);
    }
}

// The symbol one option away from the code image: the file SaveSymbolFile writes, in a batch as
// alone, with the X-dimension a raster draws on stderr where it is not the one asked for.
TEST(Cli, SymbolFilesAndTheirNote) {
    const ScratchDir dir;
    TBarcode barcode;
    barcode.SetTyp(TBarcodeType::bcCode128B);
    barcode.SetChecksum(true);
    const auto saved = [&](const std::string& data, const TSymbolOptions& options,
                           const TImageFileOptions& file) {
        barcode.SetText(data);
        SaveSymbolFile(barcode, options, dir / "expected", file);
        return ReadFile(dir / "expected");
    };
    EXPECT_EQ(Invoke({"--symbol", "--type", "Code 128B", "--data", "Q-7", "--x-dim", "0.19",
                      "--dpi", "96", "--no-text", "--output", dir / "q.png"}),
              (Result{0, "",
                      "quillmark-cli: the X-dimension drawn is 0.265 mm (1 dot at 96 dpi), not "
                      "0.19 mm\n"}));
    EXPECT_EQ(ReadFile(dir / "q.png"), saved("Q-7", {.XDim = 0.19, .ShowText = false},
                                             {.Format = TImageFormat::Png, .Dpi = 96}));
    EXPECT_EQ(Invoke({"--symbol", "--type", "Code 128B", "--height", "12.5", "--format", "bmp",
                      "--from", "9", "--to", "10", "--dir", dir / "batch"}),
              (Result{0, "", ""}));
    for (const std::string n : {"9", "10"}) {
        EXPECT_EQ(ReadFile(dir / "batch" / ("code_" + n + ".bmp")),
                  saved(n, {.Height = 12.5}, {.Format = TImageFormat::Bmp}))
            << n;
    }
    // ITF-14 with its bearer bars above and below the bars only.
    barcode.SetTyp(TBarcodeType::bcCodeITF14);
    EXPECT_EQ(Invoke({"--symbol", "--type", "Code ITF-14", "--data", "1540014128876", "--bearer",
                      "bars", "--output", dir / "case.svg"}),
              (Result{0, "", ""}));
    EXPECT_EQ(ReadFile(dir / "case.svg"),
              saved("1540014128876", {.Bearer = TBearer::Bars}, {.Format = TImageFormat::Svg}));
    // A PDF has no dots to round the X-dimension to.
    EXPECT_EQ(Invoke({"--symbol", "--x-dim", "0.19", "--dpi", "96", "--output", dir / "label.pdf"}),
              (Result{0, "", ""}));
    const Bytes pdf = ReadFile(dir / "label.pdf");
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 5), "%PDF-");
}

// A failure exits 1 with its message and leaves no file. On a terminal a batch's progress bar
// redraws one line, and a failure's message starts a line of its own.
TEST(Cli, FailuresAndProgressOnTheErrorStream) {
    const ScratchDir scratch;
    const std::string dir = scratch.Path();
    const std::string code = dir + "/code.bmp";
    const std::string blocked = "/dev/null/code_0.bmp";
    const auto bar = [&](int hashes, const std::string& rest) {
        return "\r[" + std::string(hashes, '#') + std::string(30 - hashes, ' ') + "] " + rest +
               "\x1b[K";
    };
    const std::pair<std::vector<std::string>, Result> rows[] = {
        {{"--data", "12A4", "--output", code}, {1, "", "'A' is not a valid integer value\n"}},
        {{"--type", "Code 128A", "--data", "A\x1b[2J\t", "--pattern"},
         {1, "",
          "TBarcode:Code128A bad Data <A\\x1B[2J\\t>: character 2 U+001B is not in Code 128 set "
          "A\n"}},
        // No directory can be made where a device is.
        {{"--from", "0", "--to", "1", "--dir", "/dev/null"},
         {1, "",
          bar(0, "0% " + blocked) + "\nCannot create file " + blocked + ": Not a directory\n"}},
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

    // 10,000,000 files of 579,654 bytes, in whole blocks, fit on no disk: nothing is written.
    struct statvfs space {};
    ASSERT_EQ(statvfs(dir.c_str(), &space), 0);
    const std::uint64_t file = (579654 + space.f_frsize - 1) / space.f_frsize * space.f_frsize;
    const Result huge = Invoke({"--from", "11", "--to", "10000010", "--dir", dir}, true);
    const std::string needs =
        "Not enough space in " + dir + ": the batch needs " + Grouped(10000000 * file) + " bytes, ";
    EXPECT_EQ(huge.Code, 1);
    EXPECT_EQ(huge.Err.substr(0, needs.size()), needs);
    EXPECT_TRUE(huge.Err.ends_with(" are free\n")) << huge.Err;
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{"code_0.bmp", "code_1.bmp"}));
}

// A list's data reach the files named for them, the format following --format, else the name
// template; a list read from standard input too. A list with refused lines writes nothing.
TEST(Cli, BatchFromAList) {
    const ScratchDir dir;
    std::ofstream(dir / "list.txt") << "590123412345\r\n\n4006381333931";
    EXPECT_EQ(Invoke({"--data-file", dir / "list.txt", "--single", "--dir", dir / "png", "--name",
                      "{n:0}-{data}.png"}),
              (Result{0, "", ""}));
    EXPECT_EQ(Entries(dir / "png"),
              (std::vector<std::string>{"1-590123412345.png", "3-4006381333931.png"}));
    EXPECT_EQ(
        ReadFile(dir / "png" / "3-4006381333931.png"),
        ComposedFile({.Data = "4006381333931", .DualCode = false}, {.Format = TImageFormat::Png}));

    // Standard input, CSV with a tab, the symbol.
    int input[2];
    ASSERT_EQ(pipe(input), 0);
    const int saved = dup(STDIN_FILENO);
    dup2(input[0], STDIN_FILENO);
    close(input[0]);
    const std::string csv = "box\tgtin\nA\t\"590123412345\"\n";
    ASSERT_EQ(write(input[1], csv.data(), csv.size()), static_cast<ssize_t>(csv.size()));
    close(input[1]);
    const Result piped =
        Invoke({"--data-file", "-", "--column", "gtin", "--header", "--delimiter", "tab",
                "--symbol", "--dir", dir / "sym", "--name", "{col:box}.svg"});
    dup2(saved, STDIN_FILENO);
    close(saved);
    EXPECT_EQ(piped, (Result{0, "", ""}));
    TBarcode barcode;
    barcode.SetChecksum(true);
    barcode.SetText("590123412345");
    SaveSymbolFile(barcode, {}, dir / "expected.svg", {});
    EXPECT_EQ(ReadFile(dir / "sym" / "A.svg"), ReadFile(dir / "expected.svg"));

    std::ofstream(dir / "bad.txt") << "1\n2x\n3\n\n\x1b[2Jy\n5\n";
    EXPECT_EQ(Invoke({"--data-file", dir / "bad.txt", "--dir", dir / "bad"}),
              (Result{1, "",
                      "line 2: 'x' is not a valid integer value\n"
                      "line 5: '\\x1B' is not a valid integer value\n"
                      "2 lines of the list are refused; no file is written\n"}));
    EXPECT_FALSE(fs::exists(dir / "bad"));
    // The data are checked in the symbology asked for: Code 39 takes digits, not "x".
    std::string code39 =
        "line 2: TBarcode:Code39 bad Data <2x>: character 2 \"x\" is not in Code 39";
    code39 += "; Code 39 Extended encodes it\nline 5: TBarcode:Code39 bad Data <\\x1B[2Jy>: ";
    code39 += "character 1 U+001B is not in Code 39; Code 39 Extended encodes it\n";
    code39 += "2 lines of the list are refused; no file is written\n";
    EXPECT_EQ(Invoke({"--type", "Code 39", "--data-file", dir / "bad.txt", "--dir", dir / "bad"}),
              (Result{1, "", code39}));
    EXPECT_FALSE(fs::exists(dir / "bad"));
    // A symbol is laid out before the first file: the second needs more dots than a raster holds.
    std::ofstream(dir / "long.txt") << "A\nAAAAAAAAAA\n";
    EXPECT_EQ(Invoke({"--symbol", "--type", "Code 128B", "--x-dim", "5", "--dpi", "600",
                      "--data-file", dir / "long.txt", "--dir", dir / "bad"}),
              (Result{1, "",
                      "line 2: The symbol needs 19,470 x 4,021 dots at 600 dpi, more than a raster "
                      "file holds (64,000,000); write it as PDF, EPS or SVG, or at a lower "
                      "resolution\n1 line of the list is refused; no file is written\n"}));
    EXPECT_FALSE(fs::exists(dir / "bad"));
    EXPECT_EQ(Invoke({"--data-file", dir / "missing.txt", "--dir", dir / "bad"}),
              (Result{1, "",
                      "Cannot open file " + (dir / "missing.txt").string() +
                          ": No such file or directory\n"}));
    std::ofstream(dir / "empty.txt") << "\r\n\n";
    EXPECT_EQ(Invoke({"--data-file", dir / "empty.txt", "--dir", dir / "bad"}),
              (Result{1, "", "The list " + (dir / "empty.txt").string() + " holds no data\n"}));
}

// The text line's face is the one the user's fontconfig configuration picks, looked up again
// when the configuration changes, whatever an earlier run kept in the cache.
TEST(Cli, TheTextFollowsTheUsersFontConfiguration) {
    const ScratchDir dir;
    const fs::path conf = dir / "config" / "fontconfig" / "fonts.conf";
    const auto run = [&](const std::string& name) {
        const std::string command =
            "HOME=" + dir.Path().string() + " XDG_CONFIG_HOME=" + (dir / "config").string() +
            " XDG_CACHE_HOME=" + (dir / "cache").string() +
            " \"$QUILLMARK_CLI\" --single --output " + (dir / name).string();
        EXPECT_EQ(std::system(command.c_str()), 0);
        return ReadFile(dir / name);
    };
    const Bytes sans = run("sans.png");
    EXPECT_EQ(sans, ComposedFile({.DualCode = false}, {.Format = TImageFormat::Png}));
    EXPECT_TRUE(fs::exists(dir / "cache" / "quillmark" / "fonts"));
    fs::create_directories(conf.parent_path());
    std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<fontconfig><match target=\"pattern\">"
                           "<test name=\"family\"><string>DejaVu Sans</string></test>"
                           "<edit name=\"family\" mode=\"assign\" binding=\"strong\">"
                           "<string>DejaVu Serif</string></edit></match></fontconfig>\n";
    const Bytes serif = run("serif.png");
    EXPECT_NE(serif, sans);
    fs::remove(dir / "cache" / "quillmark" / "fonts");
    EXPECT_EQ(run("fresh.png"), serif);
    fs::remove(conf);
    EXPECT_EQ(run("again.png"), sans);
}

// The options reach the composition and the file; --format chooses the format, a name that asks
// for none gets a BMP. A symbol too wide is drawn cut off, with a warning.
TEST(Cli, FilesHoldTheCodeImagesOfTheOptions) {
    const ScratchDir dir;
    const std::string name = dir / "code.gif";
    const struct {
        std::vector<std::string> Args;
        std::string File;
        Bytes Content;
        std::string Err;
    } rows[] = {
        {{"--type", "Code 39", "--data", "AB", "--no-checksum", "--single", "--no-text", "--output",
          name},
         "code.gif",
         ComposedBmp({"Code 39", "AB", false, false}, false),
         ""},
        {{"--format", "svg", "--scale", "2", "--dpi", "300", "--output", dir / "code.bmp"},
         "code.bmp",
         ComposedFile({}, {TImageFormat::Svg, 2, 300}),
         ""},
        {{"--format", "jpg", "--single", "--from", "5", "--to", "5", "--dir", dir.Path()},
         "code_5.jpg",
         ComposedFile({.Data = "5", .DualCode = false}, {TImageFormat::Jpeg, 1, std::nullopt}),
         ""},
        {{"--type", "Code 39 Extended", "--data", "abcdefghijklmnop", "--output", name},
         "code.gif",
         ComposedBmp({.TypeText = "Code 39 Extended", .Data = "abcdefghijklmnop"}),
         "quillmark-cli: warning: the symbol is cut off: its bars need 913 x 225 pixels, the code "
         "image has 525 x 276, so it may not scan\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Invoke(row.Args), (Result{0, "", row.Err}));
        EXPECT_EQ(ReadFile(dir / row.File), row.Content) << row.Args[0] << " " << row.File;
    }
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{"code.bmp", "code.gif", "code_5.jpg"}));
}

// The targets that are not regular files, through the process and its redirections: where the
// bytes land, and the message of what cannot be written; no temporary file is left. (Regular
// files and links are the writer's table in the image tests.)
TEST(Cli, TargetsThatAreNotRegularFilesAreWrittenInPlace) {
    ASSERT_NE(std::getenv("QUILLMARK_CLI"), nullptr);
    const ScratchDir scratch;
    const fs::path& dir = scratch.Path();
    const Bytes image = ComposedBmp({});
    const std::string lines = "1\n2\n3\n";
    WriteFile(dir / "log", Bytes(lines.begin(), lines.end()));
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    Bytes appended(lines.begin(), lines.end());
    appended.insert(appended.end(), image.begin(), image.end());
    // The exit status and what the program wrote to stderr; "cli" stands for the program.
    const auto run = [&](std::string command) {
        for (std::size_t at; (at = command.find("cli ")) != std::string::npos;) {
            command.replace(at, 3, "\"$QUILLMARK_CLI\"");
        }
        const int status =
            std::system(("cd '" + dir.string() + "' && { " + command + "; } 2> err").c_str());
        const Bytes err = ReadFile(dir / "err");
        return std::pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                         std::string(err.begin(), err.end()));
    };
    const std::tuple<const char*, const char*, Bytes> rows[] = {
        {"cli --output - > out.bmp", "out.bmp", image},
        {"cli --output - | cat > piped.bmp", "piped.bmp", image},
        // Appended to what the log held, not replacing it.
        {"cli --output /dev/stdout >> log", "log", appended},
        // The same descriptor, however its name is spelled.
        {"head -c 6 log > a && cli --output /dev/fd//1 >> a", "a", appended},
        {"head -c 6 log > b && cli --output /dev/./fd/1 >> b", "b", appended},
        {"head -c 6 log > c && cli --output /proc/thread-self/fd/1 >> c", "c", appended},
        {"head -c 6 log > d && (cd /dev/fd && exec >> \"$OLDPWD/d\" && cli --output 1)", "d",
         appended},
        // The reader gives up in the end, so a program that never opens the FIFO fails the row
        // instead of hanging the test.
        {"timeout 60 cat fifo > from-fifo.bmp & cli --output fifo; s=$?; wait; exit $s",
         "from-fifo.bmp", image},
        // No progress bar when stderr is not a terminal.
        {"cli --from 0 --to 0 --dir .", "code_0.bmp", ComposedBmp({.Data = "0"})},
    };
    for (const auto& [command, file, content] : rows) {
        EXPECT_EQ(run(command), std::pair(0, std::string())) << command;
        EXPECT_EQ(ReadFile(dir / file), content) << command;
    }
    const std::string noSpace = "Stream write error: /dev/stdout: No space left on device\n";
    EXPECT_EQ(
        run("cli --output /dev/full"),
        std::pair(1, std::string("Stream write error: /dev/full: No space left on device\n")));
    EXPECT_EQ(run("cli --pattern > /dev/full"), std::pair(1, noSpace));
    EXPECT_EQ(run("cli --list-types > /dev/full"), std::pair(1, noSpace));
    EXPECT_EQ(
        run("cli --frobnicate"),
        std::pair(2, std::string("quillmark-cli: unknown argument '--frobnicate'; see --help\n")));
    EXPECT_EQ(Entries(dir),
              (std::vector<std::string>{"a", "b", "c", "code_0.bmp", "d", "err", "fifo",
                                        "from-fifo.bmp", "log", "out.bmp", "piped.bmp"}));
}

namespace {

constexpr int LastNumber = 39;

std::string Name(int n) {
    return "code_" + std::to_string(n) + ".bmp";
}

// How many of the batch's files in dir have their full size by now.
int Written(const fs::path& dir) {
    int count = 0;
    for (int n = 0; n <= LastNumber; ++n) {
        struct stat status {};
        count += stat((dir / Name(n)).c_str(), &status) == 0 && status.st_size == 579654;
    }
    return count;
}

bool HasTemporary(const fs::path& dir) {
    const std::vector<std::string> names = Entries(dir);
    return std::ranges::any_of(names,
                               [](const auto& name) { return name.starts_with(".quillmark-"); });
}

// Starts the program with args in a child process, with the signals as a shell started in the
// foreground leaves them, as the user nobody when asNobody and the test runs as root, and on file
// systems without O_TMPFILE when noTmpfile. Stops it (SIGSTOP) right after watched reports one of
// the events of mask and looks at it while it stands still: once caught() holds it stays stopped;
// a run that ends first is started again, five times at most. Returns the stopped child, or 0.
pid_t StoppedWhen(const fs::path& watched, std::uint32_t mask, const std::vector<std::string>& args,
                  const std::function<bool()>& caught, bool noTmpfile = false,
                  bool asNobody = false) {
    const char* cli = std::getenv("QUILLMARK_CLI");
    std::vector<char*> argv{const_cast<char*>(cli)};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const int events = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    inotify_add_watch(events, watched.c_str(), mask);
    pid_t stopped = 0;
    for (int run = 0; run < 5 && stopped == 0; ++run) {
        const pid_t child = fork();
        if (child == 0) {
            for (const int s : {SIGINT, SIGTERM, SIGHUP}) {
                std::signal(s, SIG_DFL);
            }
            const bool nobody =
                !asNobody || geteuid() != 0 ||
                (setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0);
            if (nobody && (!noTmpfile || WithoutTmpfile())) {
                execv(cli, argv.data());
            }
            _exit(127);
        }
        for (;;) {
            char buffer[4096];
            pollfd ready{events, POLLIN, 0};
            int status = 0;
            if (poll(&ready, 1, 100) <= 0 || read(events, buffer, sizeof buffer) <= 0) {
                if (waitpid(child, &status, WNOHANG) == child) {
                    break;
                }
                continue;
            }
            kill(child, SIGSTOP);
            waitpid(child, &status, WUNTRACED);
            if (WIFSTOPPED(status) && caught()) {
                stopped = child;
                break;
            }
            if (!WIFSTOPPED(status)) {
                break;
            }
            kill(child, SIGCONT);
        }
    }
    close(events);
    return stopped;
}

// Sends signal to the stopped child, lets it go on and returns its exit status (-1 when a signal
// ended it).
int ExitAfter(pid_t child, int signal) {
    kill(child, signal);
    kill(child, SIGCONT);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// A batch over older files on a file system without O_TMPFILE, stopped by a signal while a
// replacement's temporary name exists: the process ends with 128 + the signal's number, and the
// directory holds only whole files, old or new, and no temporary file.
TEST(Cli, SignalsLeaveOnlyWholeFiles) {
    const ScratchDir scratch;
    const Bytes old(100, 'o');
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        const fs::path dir = scratch / std::to_string(signal);
        fs::create_directory(dir);
        for (int n = 0; n <= LastNumber; ++n) {
            WriteFile(dir / Name(n), old);
        }
        // Temporary names are the only files the batch creates: the rest are renamed into place.
        // A temporary name seen while the process stands still is there when the signal arrives.
        const pid_t child = StoppedWhen(
            dir, IN_CREATE,
            {"--from", "0", "--to", std::to_string(LastNumber), "--dir", dir.string()},
            [&] { return Written(dir) >= 2 && HasTemporary(dir); }, true);
        ASSERT_NE(child, 0);
        EXPECT_EQ(ExitAfter(child, signal), 128 + signal);
        EXPECT_EQ(Entries(dir).size(), LastNumber + 1u);
        for (int n = 0; n <= LastNumber; ++n) {
            const Bytes bytes = ReadFile(dir / Name(n));
            EXPECT_TRUE(bytes == old || bytes == ComposedBmp({.Data = std::to_string(n)})) << n;
        }
    }
}

// A file that cannot be replaced is written in place: a signal that arrives while it is written
// waits until the file is whole, then ends the process with 128 + its number.
TEST(Cli, SignalsWaitForAFileWrittenInPlace) {
    const ScratchDir scratch;
    fs::permissions(scratch.Path(), fs::perms::all);
    const fs::path whole = scratch / "whole.bmp";
    const std::vector<std::string> large = {"--scale", "4", "--output"};
    std::vector<std::string> args = large;
    args.push_back(whole.string());
    ASSERT_EQ(Invoke(args).Code, 0);
    const Bytes image = ReadFile(whole);
    const bool root = geteuid() == 0;
    for (const bool readOnlyDir : {false, true}) {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            SCOPED_TRACE(std::string(readOnlyDir ? "read-only directory, " : "hard link, ") +
                         strsignal(signal));
            if (readOnlyDir && !root) {
                continue;
            }
            const fs::path dir = scratch / (std::to_string(readOnlyDir) + strsignal(signal));
            fs::create_directory(dir);
            const fs::path file = dir / "code.bmp";
            WriteFile(file, Bytes(100, 'o'));
            if (readOnlyDir) {
                ASSERT_EQ(chown(file.c_str(), 65534, 65534), 0);
                fs::permissions(dir, fs::perms(0555));
            } else {
                fs::create_hard_link(file, dir / "other");
            }
            args = large;
            args.push_back(file.string());
            // Emptying the file is the write's first step: a signal after it finds the file
            // being written.
            const pid_t child = StoppedWhen(
                file, IN_MODIFY, args, [&] { return fs::file_size(file) < image.size(); }, false,
                readOnlyDir);
            ASSERT_NE(child, 0);
            EXPECT_EQ(ExitAfter(child, signal), 128 + signal);
            EXPECT_TRUE(ReadFile(file) == image);
            fs::permissions(dir, fs::perms::all);
        }
    }
    if (!root) {
        GTEST_SKIP() << "not root: skipped the read-only directory";
    }
}

// A batch that passed the free-space check fits, run after run over its own files: 13 files of
// 579,654 bytes on a file system of 8 MB, ten times, and a list of 13 that names the same files;
// 14 fit once, over the 13.
TEST(Cli, ABatchThatFitsFitsAgain) {
    const ScratchDir scratch;
    const std::string dir = scratch.Path().string();
    const std::string batch = "\"$QUILLMARK_CLI\" --from 1 --to 13 --dir " + dir;
    const std::string script = "mount -t tmpfs -o size=8m quillmark " + dir +
                               " || exit 100; for run in 1 2 3 4 5 6 7 8 9 10; do " + batch +
                               " || exit $run; done; " +
                               "seq 13 | \"$QUILLMARK_CLI\" --data-file - --dir " + dir +
                               " || exit 13; " + batch + " --to 14";
    const int status = std::system(("unshare --mount sh -c '" + script + "'").c_str());
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code == 100 || (code == 1 && geteuid() != 0)) {
        GTEST_SKIP() << "cannot mount a file system of 8 MB here (needs root and unshare)";
    }
    EXPECT_EQ(code, 0);
}
