#include "Cli.h"

#include "Barcode.h"
#include "Batch.h"
#include "Bitmap.h"
#include "CodeImage.h"
#include "Exception.h"
#include "Stream.h"
#include "SymbologyNames.h"
#include "Version.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <exception>
#include <optional>
#include <ostream>

namespace {

constexpr std::string_view Usage = R"(Usage: quillmark-cli [OPTION]...
Draws the code image of Quillmark's main window without a window.

  --type NAME     symbology, one of the texts of --list-types (default "Code EAN13")
  --data TEXT     the data to encode (default "1234567890128")
  --no-text       draw no human-readable line
  --single        draw one copy instead of two
  --no-checksum   encode the data without adding check characters where that is optional
  --output FILE   write the 525 x 276 code image to FILE ("-" is standard output), as PNG,
                  SVG or JPEG when its name ends in .png, .svg, .jpg or .jpeg (in any case),
                  else as BMP
  --format F      bmp, png, svg or jpg: write that format whatever the name
  --scale N       every pixel becomes N x N pixels, N from 1 to 20 (default 1); an SVG
                  drawing becomes N times as wide and high
  --dpi D         the resolution the file states, from 1 to 65535 (default 96; a BMP states
                  none unless --dpi is given); an SVG states its size in mm from it
  --pattern       print the bar pattern for --type, --data and --no-checksum; draw nothing
  --from N --to M --dir DIR
                  batch: write DIR/code_<n>.bmp (.png, .svg, .jpg with --format) for every n
                  from N to M, with n as the data (N and M as the main window reads them:
                  decimal, or hex after $, x or 0x); takes --type, --no-text, --single,
                  --no-checksum, --format, --scale and --dpi, not --data, --output or
                  --pattern; makes DIR and its parents when missing; shows a progress bar
                  when stderr is a terminal
  --list-types    print the symbology names, one a line
  --help          print this help
  --version       print the version

A symbol too wide for the 525 x 276 code image is drawn cut off, as the window draws it, with
a warning on stderr.

A module (the narrowest bar) is 2 x N pixels, so it measures 2 x N x 25.4 / D mm in print: for
about 0.33 mm at 600 dpi, --scale 4 --dpi 600 (8 dots, 0.339 mm).

A batch that cannot fit in the free space of its directory does not start.

Exit status: 0 done, 1 the data or a file failed, or standard output could not be written (the
message is on stderr; a batch stops at the first failure and keeps the files written before
it), 2 bad usage, 128 + the signal's number after SIGINT, SIGTERM or SIGHUP (no temporary file
is left behind).
)";

// What to print instead of doing the work.
enum class Info { None, Help, Version, ListTypes };

struct Options {
    Info Show = Info::None;
    TCodeImageInputs Inputs;
    bool Checksum = true;
    bool Pattern = false;
    std::optional<std::string> Output;
    TImageFileOptions File;
    bool FileOptionsGiven = false;
    // The batch's texts, parsed only when the batch runs, as the window parses its fields.
    std::optional<std::string> From;
    std::optional<std::string> To;
    std::optional<std::string> Dir;
    bool DataGiven = false;

    bool Batch() const { return From || To || Dir; }
};

struct UsageError {
    std::string Hint;
};

// A whole decimal number from 1 to maximum, or the usage error of the option.
int WholeNumber(const std::string& option, const std::string& text, int maximum) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])) ||
        error != std::errc() || end != text.data() + text.size() || value < 1 || value > maximum) {
        throw UsageError{option + " takes a whole number from 1 to " + std::to_string(maximum) +
                         ", not '" + text + "'"};
    }
    return value;
}

Options Parse(std::span<const std::string> args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) {
                throw UsageError{"option '" + arg + "' needs a value"};
            }
            return args[++i];
        };
        if (arg == "--type") {
            options.Inputs.TypeText = value();
            if (!FindSymbology(options.Inputs.TypeText)) {
                throw UsageError{"unknown type '" + options.Inputs.TypeText +
                                 "'; --list-types names them"};
            }
        } else if (arg == "--data") {
            options.Inputs.Data = value();
            options.DataGiven = true;
        } else if (arg == "--output") {
            options.Output = value();
        } else if (arg == "--format") {
            options.File.Format = FormatNamed(value());
            if (!options.File.Format) {
                throw UsageError{"--format takes bmp, png, svg or jpg, not '" + args[i] + "'"};
            }
            options.FileOptionsGiven = true;
        } else if (arg == "--scale") {
            options.File.Scale = WholeNumber(arg, value(), MaxImageScale);
            options.FileOptionsGiven = true;
        } else if (arg == "--dpi") {
            options.File.Dpi = WholeNumber(arg, value(), MaxImageDpi);
            options.FileOptionsGiven = true;
        } else if (arg == "--from") {
            options.From = value();
        } else if (arg == "--to") {
            options.To = value();
        } else if (arg == "--dir") {
            options.Dir = value();
        } else if (arg == "--no-text") {
            options.Inputs.ShowText = false;
        } else if (arg == "--single") {
            options.Inputs.DualCode = false;
        } else if (arg == "--no-checksum") {
            options.Checksum = false;
        } else if (arg == "--pattern") {
            options.Pattern = true;
        } else if (arg == "--help") {
            options.Show = Info::Help;
        } else if (arg == "--version") {
            options.Show = Info::Version;
        } else if (arg == "--list-types") {
            options.Show = Info::ListTypes;
        } else {
            throw UsageError{"unknown argument '" + arg + "'; see --help"};
        }
    }
    if (options.Show != Info::None) {
        return options;
    }
    if (options.Batch()) {
        if (!options.From || !options.To || !options.Dir) {
            throw UsageError{"a batch needs all of --from, --to and --dir"};
        }
        if (options.Output || options.Pattern || options.DataGiven) {
            throw UsageError{"a batch names its files and data itself; give it without --output, "
                             "--pattern and --data"};
        }
        return options;
    }
    if (options.Pattern && (options.Output || options.FileOptionsGiven)) {
        throw UsageError{
            "--pattern draws nothing; give it without --output, --format, --scale and --dpi"};
    }
    if (!options.Pattern && !options.Output) {
        throw UsageError{"nothing to do; give --output FILE or --pattern (see --help)"};
    }
    return options;
}

// One line on the terminal that redraws itself for every file: a bar, the share of files
// written and the file being written.
class Progress {
public:
    Progress(std::ostream& err, std::int64_t count) : FErr(err), FCount(count) {}

    void Writing(const std::string& file) {
        FFile = file;
        Draw(FDone++);
    }
    // Both end a line that was drawn: Finish at 100%, Abandon where it stands, so that a
    // message starts on a line of its own.
    void Finish() {
        if (FDrawn) {
            Draw(FCount);
            FErr << '\n';
        }
    }
    void Abandon() {
        if (FDrawn) {
            FErr << '\n';
        }
    }

private:
    void Draw(std::int64_t done) {
        FDrawn = true;
        const auto percent = static_cast<int>(done * 100 / FCount);
        constexpr int Width = 30;
        const auto filled = static_cast<std::size_t>(percent * Width / 100);
        // "\x1b[K" clears what a longer file name left on the line.
        FErr << "\r[" << std::string(filled, '#') << std::string(Width - filled, ' ') << "] "
             << percent << "% " << EscapedFileName(FFile) << "\x1b[K" << std::flush;
    }

    std::ostream& FErr;
    std::int64_t FCount;
    std::int64_t FDone = 0;
    bool FDrawn = false;
    std::string FFile;
};

void WriteBatch(const Options& options, TBarcode& barcode, TBitmap& image, std::ostream& err,
                bool progressBar) {
    const TBatchRange range = ParseBatchRange(*options.From, *options.To, {});
    CheckBatchFits(range, *options.Dir,
                   BatchBytesPerFile(barcode, options.Inputs, range, options.File),
                   FormatExtension(options.File.Format.value_or(TImageFormat::Bmp)));
    Progress progress(err, BatchCount(range));
    TBatchCallbacks callbacks;
    if (progressBar) {
        callbacks.FileName = [&](const std::string& name) {
            progress.Writing(name);
            return name;
        };
    }
    try {
        RunBatch(barcode, image, options.Inputs, range, *options.Dir, callbacks, options.File);
    } catch (...) {
        progress.Abandon();
        throw;
    }
    progress.Finish();
}

void Run(const Options& options, std::ostream& out, std::ostream& err, bool progressBar) {
    switch (options.Show) {
    case Info::Help:
        out << Usage;
        return;
    case Info::Version:
        out << "quillmark-cli " << Product::Version << '\n';
        return;
    case Info::ListTypes:
        for (const TSymbologyName& name : SymbologyNames) {
            out << name.ListText << '\n';
        }
        return;
    case Info::None:
        break;
    }
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    barcode.SetChecksum(options.Checksum);
    if (options.Pattern) {
        barcode.SetTyp(*FindSymbology(options.Inputs.TypeText));
        barcode.SetText(options.Inputs.Data);
        out << barcode.BuildPattern() << '\n';
        return;
    }
    TBitmap image;
    InitCodeImage(image);
    if (options.Batch()) {
        WriteBatch(options, barcode, image, err, progressBar);
        return;
    }
    ComposeCodeImage(barcode, image, options.Inputs);
    image.SaveToFile(*options.Output == "-" ? "/dev/stdout" : *options.Output, options.File);
    // The file is written all the same, as the window writes it.
    if (const std::string warning = CutOffWarning(barcode, options.Inputs); !warning.empty()) {
        err << "quillmark-cli: warning: " << warning << '\n';
    }
}

} // namespace

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           bool progressBar) {
    Options options;
    try {
        options = Parse(args);
    } catch (const UsageError& e) {
        err << "quillmark-cli: " << e.Hint << '\n';
        return 2;
    }
    try {
        Run(options, out, err, progressBar);
        // What is still buffered is written here, and a failure to write it fails the run.
        if (!out.flush()) {
            throw EWriteError("Stream write error: /dev/stdout: " +
                              std::string(std::strerror(errno)));
        }
    } catch (const std::exception& e) {
        err << e.what() << '\n';
        return 1;
    }
    return 0;
}
