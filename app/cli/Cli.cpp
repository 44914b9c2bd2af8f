#include "Cli.h"

#include "Barcode.h"
#include "Batch.h"
#include "Bitmap.h"
#include "CodeImage.h"
#include "SymbologyNames.h"

#include <exception>
#include <optional>
#include <ostream>

namespace {

constexpr std::string_view Version = "quillmark-cli 2.0";

constexpr std::string_view Usage = R"(Usage: quillmark-cli [OPTION]...
Draws the code image of Quillmark's main window without a window.

  --type NAME     symbology, one of the texts of --list-types (default "Code EAN13")
  --data TEXT     the data to encode (default "1234567890128")
  --no-text       draw no human-readable line
  --single        draw one copy instead of two
  --no-checksum   encode the data without adding check characters where that is optional
  --output FILE   write the 525 x 276 code image to FILE, always as BMP
  --pattern       print the bar pattern for --type, --data and --no-checksum; draw nothing
  --from N --to M --dir DIR
                  batch: write DIR/code_<n>.bmp for every n from N to M, with n as the data
                  (DIR and its parents are made when missing)
                  (N and M as the main window reads them: decimal, or hex after $, x or 0x);
                  takes --type, --no-text, --single and --no-checksum, not --data, --output
                  or --pattern; shows a progress bar when stderr is a terminal
  --list-types    print the symbology names, one a line
  --help          print this help
  --version       print the version

A symbol too wide for the 525 x 276 code image is drawn cut off, as the window draws it, with
a warning on stderr.

Exit status: 0 done, 1 the data or a file failed (the message is on stderr; a batch stops at
the first failure and keeps the files written before it), 2 bad usage.
)";

// What to print instead of doing the work.
enum class Info { None, Help, Version, ListTypes };

struct Options {
    Info Show = Info::None;
    TCodeImageInputs Inputs;
    bool Checksum = true;
    bool Pattern = false;
    std::optional<std::string> Output;
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
    if (options.Pattern && options.Output) {
        throw UsageError{"--pattern draws nothing; give it without --output"};
    }
    if (!options.Pattern && !options.Output) {
        throw UsageError{"nothing to do; give --output FILE or --pattern (see --help)"};
    }
    return options;
}

// One line on the terminal that redraws itself: a bar, the share of files written and the file
// being written.
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
        if (FPercent >= 0) {
            Draw(FCount);
            FErr << '\n';
        }
    }
    void Abandon() {
        if (FPercent >= 0) {
            FErr << '\n';
        }
    }

private:
    void Draw(std::int64_t done) {
        const auto percent = static_cast<int>(done * 100 / FCount);
        if (percent == FPercent) {
            return;
        }
        FPercent = percent;
        constexpr int Width = 30;
        const auto filled = static_cast<std::size_t>(percent * Width / 100);
        // "\x1b[K" clears what a longer file name left on the line.
        FErr << "\r[" << std::string(filled, '#') << std::string(Width - filled, ' ') << "] "
             << percent << "% " << FFile << "\x1b[K" << std::flush;
    }

    std::ostream& FErr;
    std::int64_t FCount;
    std::int64_t FDone = 0;
    int FPercent = -1;
    std::string FFile;
};

void WriteBatch(const Options& options, TBarcode& barcode, TBitmap& image, std::ostream& err,
                bool progressBar) {
    const TBatchRange range = ParseBatchRange(*options.From, *options.To, {});
    Progress progress(err, BatchCount(range));
    TBatchCallbacks callbacks;
    if (progressBar) {
        callbacks.FileName = [&](const std::string& name) {
            progress.Writing(name);
            return name;
        };
    }
    try {
        RunBatch(barcode, image, options.Inputs, range, *options.Dir, callbacks);
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
        out << Version << '\n';
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
    image.SaveToFile(*options.Output);
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
    } catch (const std::exception& e) {
        err << e.what() << '\n';
        return 1;
    }
    return 0;
}
