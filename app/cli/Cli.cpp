#include "Cli.h"

#include "Barcode.h"
#include "Batch.h"
#include "Bitmap.h"
#include "CodeImage.h"
#include "DataList.h"
#include "Exception.h"
#include "NumberText.h"
#include "Stream.h"
#include "Symbol.h"
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
Draws the code image of Quillmark's main window without a window, or with --symbol the symbol
for print: the bars with their quiet zones, sized in millimetres.

  --type NAME     symbology, one of the texts of --list-types (default "Code EAN13")
  --data TEXT     the data to encode (default "1234567890128")
  --no-text       draw no human-readable line
  --single        draw one copy instead of two
  --no-checksum   encode the data without adding check characters where that is optional
  --output FILE   write the 525 x 276 code image to FILE ("-" is standard output), as PNG,
                  SVG or JPEG when its name ends in .png, .svg, .jpg or .jpeg (in any case),
                  else as BMP
  --format F      bmp, png, svg or jpg (pdf and eps with --symbol): write that format whatever
                  the name
  --scale N       every pixel becomes N x N pixels, N from 1 to 20 (default 1); an SVG
                  drawing becomes N times as wide and high
  --dpi D         the resolution the file states, from 1 to 65535 (default 96, with --symbol
                  600; a BMP of the code image states none unless --dpi is given); an SVG
                  states its size in mm from it
  --symbol        write the symbol instead of the code image: exactly the bars and their
                  quiet zones, never cut off, the human-readable line as the symbology prints
                  it; PDF or EPS when the name ends in .pdf or .eps, else as above; rasters
                  at --dpi (default 600), every module whole dots
  --x-dim MM      the narrow element, from 0.05 to 10 mm (default 0.33; PostNet 0.508; ITF-14
                  1.016)
  --height MM     the bars, from 1 to 1000 mm (default the symbology's nominal height, else
                  the larger of 15% of the width and 6.35 mm)
  --ratio R       wide to narrow for Code 39, Codabar, Code 2 5 and ITF-14, from 2 to 3 at an
                  X-dimension of 0.5 mm or more, from 2.2 below it (Codabar from 2.25, Code 2
                  5 matrix and ITF-14 always from 2.25, industrial from 2); default the least
                  allowed, for ITF-14 2.5; for PostNet the space after each bar, its bars 1.058
                  to 1.27 mm apart; the other symbologies have none
  --reduction MM  taken from every bar's width against ink spread, from 0 to less than the
                  X-dimension (default 0)
  --bearer B      ITF-14's bearer bars, 4.8 mm and at least twice the X-dimension: frame (the
                  default) around the bars and the quiet zones, bars above and below them
                  only, or none; the other symbologies have none
  --pattern       print the bar pattern for --type, --data and --no-checksum; draw nothing
  --from N --to M --dir DIR
                  batch: write DIR/code_<n>.bmp (.png, .svg, .jpg with --format) for every n
                  from N to M, with n as the data (N and M as the main window reads them:
                  decimal, or hex after $, x or 0x); takes --type, --no-text, --single,
                  --no-checksum, --format, --scale and --dpi, or --symbol and its sizes, not
                  --data, --output or --pattern; makes DIR and its parents when missing;
                  shows a progress bar when stderr is a terminal
  --data-file FILE --dir DIR
                  batch from a list: one file in DIR for each datum of FILE ("-" is standard
                  input), plain text with one datum a line (UTF-8, empty lines skipped), or CSV
                  with --column; takes the options of the range batch; every datum and file
                  name is checked before the first file, and a refused line writes nothing
  --column C      CSV: the column of the data, its number from 1, or with --header its name
  --header        CSV: the first record names the columns
  --delimiter C   CSV: the field delimiter, one character or tab (default ",")
  --name TEMPLATE the list's file names: {n} the datum's line (CSV: its record after the
                  header), {n:0} the same with zeros to the last one's width, {data} the datum
                  and {col:NAME} or {col:N} another CSV column, made safe as names (/, control
                  characters and a leading . or - become _, cut to 200 bytes); default
                  code_{n}.bmp (or --format's extension); the format is --format's, else the
                  template's extension's
  --list-types    print the symbology names, one a line
  --help          print this help
  --version       print the version

A symbol too wide for the 525 x 276 code image is drawn cut off, as the window draws it, with
a warning on stderr.

In the code image a module (the narrowest bar) is 2 x N pixels, so it measures 2 x N x 25.4 / D
mm in print. For print, the symbol:
  quillmark-cli --symbol --data 590123412345 --output label.pdf
  quillmark-cli --symbol --type "Code 128B" --data PO-2024-000123456 --x-dim 0.25 --output po.eps
  quillmark-cli --symbol --x-dim 0.33 --dpi 600 --output label.png
  quillmark-cli --symbol --type "Code 39" --data CODE-39 --ratio 2.5 --output label.svg
  quillmark-cli --symbol --x-dim 0.25 --dpi 203 --reduction 0.02 --output label.bmp
  quillmark-cli --symbol --format jpg --dpi 300 --output label.jpg
  quillmark-cli --symbol --type "Code ITF-14" --data 1540014128876 --bearer bars --output case.pdf
A raster states the X-dimension it draws on stderr where it differs from --x-dim by more than 5%.
The symbol takes data up to its symbology's longest: 13 and 8 digits for EAN, 12 for UPC and
PostNet, 14 for ITF-14, from 80 characters (Code 39 Extended) to 450 digits (Code 128C) for the
others; longer data fails. EAN and UPC take an add-on of 2 or 5 digits after a "+"
(9780201379624+51299).

A batch that cannot fit in the free space of its directory does not start. From a list:
  quillmark-cli --data-file gtins.txt --dir labels --format png
  quillmark-cli --data-file stock.csv --column gtin --header --delimiter ";" --dir labels \
      --name "{col:sku}_{n:0}.pdf" --symbol

Exit status: 0 done, 1 the data or a file failed, or standard output could not be written (the
message is on stderr; a batch stops at the first failure and keeps the files written before
it), 2 bad usage, 128 + the signal's number after SIGINT, SIGTERM or SIGHUP (no temporary file
is left behind).
)";

// What to print instead of doing the work.
enum class Info { None, Help, Version, ListTypes };

struct Options {
    Info Show = Info::None;
    bool Symbol = false;
    TSymbolOptions Sizes;
    bool SizesGiven = false;
    bool BearerGiven = false;
    bool ScaleGiven = false;
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
    std::optional<std::string> DataFile;
    TListOptions List;
    bool ListOptionsGiven = false;

    bool Batch() const { return From || To || Dir || DataFile; }
};

struct UsageError {
    std::string Hint;
};

// Writes a message line with its control characters escaped as file names are, so that data or
// an argument cannot drive the terminal.
void Say(std::ostream& err, std::string_view line) {
    err << EscapedFileName(line) << '\n';
}

// A decimal number (digits and a point) from minimum to maximum, or the usage error of the option
// that names the range as --help states it.
double DecimalNumber(const std::string& option, const std::string& text, double minimum,
                     double maximum, const std::string& unit) {
    const std::optional<double> value = DecimalOf(text);
    if (!value || *value < minimum || *value > maximum) {
        throw UsageError{option + " takes " + unit + " from " + Number(minimum) + " to " +
                         Number(maximum) + ", not '" + text + "'"};
    }
    return *value;
}

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

// The bearer bars --bearer names, or its usage error.
TBearer BearerNamed(const std::string& name) {
    constexpr std::pair<std::string_view, TBearer> Names[] = {
        {"frame", TBearer::Frame}, {"bars", TBearer::Bars}, {"none", TBearer::None}};
    for (const auto& [text, bearer] : Names) {
        if (name == text) {
            return bearer;
        }
    }
    throw UsageError{"--bearer takes frame, bars or none, not '" + name + "'"};
}

// The format of the file or files: --format, else the output's name or the list's name
// template, else BMP.
TImageFormat FileFormat(const Options& options) {
    const std::string* name = options.Output               ? &*options.Output
                              : !options.List.Name.empty() ? &options.List.Name
                                                           : nullptr;
    if (options.File.Format || !name) {
        return options.File.Format.value_or(TImageFormat::Bmp);
    }
    return options.Symbol ? SymbolFormatOfName(*name) : FormatOfName(*name);
}

// The delimiter --delimiter names: one character, or "tab".
char DelimiterNamed(const std::string& text) {
    if (text == "tab" || text == "\\t") {
        return '\t';
    }
    if (text.size() != 1) {
        throw UsageError{"--delimiter takes one character, or tab, not '" + text + "'"};
    }
    return text[0];
}

// The symbol's options go together, and its sizes fit the symbology and the format's resolution.
void CheckSymbolUsage(Options& options) {
    const bool vector =
        options.File.Format == TImageFormat::Pdf || options.File.Format == TImageFormat::Eps;
    if (!options.Symbol) {
        if (options.SizesGiven) {
            throw UsageError{"--x-dim, --height, --ratio and --reduction size the symbol; add "
                             "--symbol"};
        }
        if (options.BearerGiven) {
            throw UsageError{"--bearer draws the symbol's bearer bars; add --symbol"};
        }
        if (vector) {
            throw UsageError{"--format pdf and eps write the symbol; add --symbol"};
        }
        return;
    }
    if (options.ScaleGiven) {
        throw UsageError{"the symbol is sized in millimetres by --x-dim, not by --scale"};
    }
    if (options.Pattern) {
        throw UsageError{"--pattern draws nothing; give it without --symbol"};
    }
    options.Sizes.ShowText = options.Inputs.ShowText;
    TBarcode barcode;
    barcode.SetTyp(*FindSymbology(options.Inputs.TypeText));
    const std::string refusal = SymbolOptionsRefusal(
        barcode, options.Sizes, SymbolRasterDpi(FileFormat(options), options.File));
    if (!refusal.empty()) {
        throw UsageError{refusal};
    }
    // The symbol would ignore it: a choice that changes nothing is a mistake.
    if (options.BearerGiven && SymbolRules(barcode.Typ()).BearerBar == 0) {
        throw UsageError{barcode.TypeCaption() + " has no bearer bars: only ITF-14 has them"};
    }
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
        // An empty name is most often an unset variable: it would mean the current directory
        // or the root, never what was meant.
        const auto name = [&]() -> const std::string& {
            const std::string& given = value();
            if (given.empty()) {
                throw UsageError{"option '" + arg + "' needs a name, not an empty one"};
            }
            return given;
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
            options.Output = name();
        } else if (arg == "--format") {
            options.File.Format = FormatNamed(value());
            if (!options.File.Format) {
                throw UsageError{"--format takes bmp, png, svg, jpg, pdf or eps, not '" + args[i] +
                                 "'"};
            }
            options.FileOptionsGiven = true;
        } else if (arg == "--scale") {
            options.File.Scale = WholeNumber(arg, value(), MaxImageScale);
            options.FileOptionsGiven = true;
            options.ScaleGiven = true;
        } else if (arg == "--dpi") {
            options.File.Dpi = WholeNumber(arg, value(), MaxImageDpi);
            options.FileOptionsGiven = true;
        } else if (arg == "--symbol") {
            options.Symbol = true;
        } else if (arg == "--x-dim") {
            options.Sizes.XDim = DecimalNumber(arg, value(), MinXDim, MaxXDim, "millimetres");
            options.SizesGiven = true;
        } else if (arg == "--height") {
            options.Sizes.Height =
                DecimalNumber(arg, value(), MinBarHeight, MaxBarHeight, "millimetres");
            options.SizesGiven = true;
        } else if (arg == "--ratio") {
            options.Sizes.Ratio = DecimalNumber(arg, value(), 0, MaxXDim, "a ratio");
            options.SizesGiven = true;
        } else if (arg == "--reduction") {
            options.Sizes.Reduction = DecimalNumber(arg, value(), 0, MaxXDim, "millimetres");
            options.SizesGiven = true;
        } else if (arg == "--bearer") {
            options.Sizes.Bearer = BearerNamed(value());
            options.BearerGiven = true;
        } else if (arg == "--from") {
            options.From = value();
        } else if (arg == "--to") {
            options.To = value();
        } else if (arg == "--dir") {
            options.Dir = name();
        } else if (arg == "--data-file") {
            options.DataFile = name();
        } else if (arg == "--column") {
            options.List.Column = value();
            options.ListOptionsGiven = true;
        } else if (arg == "--header") {
            options.List.Header = true;
            options.ListOptionsGiven = true;
        } else if (arg == "--delimiter") {
            options.List.Delimiter = DelimiterNamed(value());
            options.ListOptionsGiven = true;
        } else if (arg == "--name") {
            options.List.Name = name();
            options.ListOptionsGiven = true;
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
    CheckSymbolUsage(options);
    if (options.ListOptionsGiven && !options.DataFile) {
        throw UsageError{"--column, --header, --delimiter and --name read a list; add --data-file"};
    }
    if (options.DataFile) {
        if (!options.Dir) {
            throw UsageError{"a batch from a list needs --dir"};
        }
        if (options.From || options.To || options.Output || options.Pattern || options.DataGiven) {
            throw UsageError{"a batch from a list takes its data and names from the list; give "
                             "it without --from, --to, --output, --pattern and --data"};
        }
        if (const std::string refusal = ListOptionsRefusal(options.List); !refusal.empty()) {
            throw UsageError{refusal};
        }
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

// Runs the batch's steps with a progress bar drawn on err when progressBar is set.
void WithProgress(std::ostream& err, std::int64_t count, bool progressBar,
                  const std::function<void(const TBatchCallbacks& callbacks)>& run) {
    Progress progress(err, count);
    TBatchCallbacks callbacks;
    if (progressBar) {
        callbacks.FileName = [&](const std::string& name) {
            progress.Writing(name);
            return name;
        };
    }
    try {
        run(callbacks);
    } catch (...) {
        progress.Abandon();
        throw;
    }
    progress.Finish();
}

void WriteBatch(const Options& options, TBarcode& barcode, TBitmap& image, std::ostream& err,
                bool progressBar) {
    const TBatchRange range = ParseBatchRange(*options.From, *options.To, {});
    const TImageFormat format = options.File.Format.value_or(TImageFormat::Bmp);
    std::uint64_t bytesPerFile = 0;
    if (options.Symbol) {
        TBarcode first = barcode;
        first.SetText(std::to_string(range.From));
        try {
            bytesPerFile = SymbolFileSize(first, options.Sizes, format, options.File);
        } catch (const Exception&) {
            // The batch reports it at its first number.
        }
    } else {
        bytesPerFile = BatchBytesPerFile(barcode, options.Inputs, range, options.File);
    }
    CheckBatchFits(range, *options.Dir, bytesPerFile, FormatExtension(format));
    WithProgress(err, BatchCount(range), progressBar, [&](const TBatchCallbacks& callbacks) {
        if (options.Symbol) {
            RunSymbolBatch(barcode, options.Sizes, range, *options.Dir, callbacks, options.File);
        } else {
            RunBatch(barcode, image, options.Inputs, range, *options.Dir, callbacks, options.File);
        }
    });
}

void WriteList(const Options& options, TBarcode& barcode, TBitmap& image, std::ostream& err,
               bool progressBar) {
    TImageFileOptions file = options.File;
    file.Format = FileFormat(options);
    const std::unique_ptr<TDataList> list =
        LoadDataList(*options.DataFile, options.List, *options.Dir, FormatExtension(*file.Format));
    std::uint64_t bytesPerFile = 0;
    if (options.Symbol) {
        TBarcode check = barcode;
        const std::optional<int> rasterDpi = SymbolRasterDpi(*file.Format, file);
        list->Check([&](const std::string& data) {
            check.SetText(data);
            // Laid out, not drawn: a long datum may need more dots than a raster holds.
            ComposeSymbol(check, options.Sizes, rasterDpi);
        });
        check.SetText(list->Longest());
        bytesPerFile = SymbolFileSize(check, options.Sizes, *file.Format, file);
    } else {
        CheckCodeImageData(*list, barcode, options.Inputs.TypeText);
        TCodeImageInputs longest = options.Inputs;
        longest.Data = list->Longest();
        bytesPerFile = CodeImageFileSize(barcode, longest, file);
    }
    CheckBatchFits(*list, *options.Dir, bytesPerFile);
    WithProgress(err, list->Count(), progressBar, [&](const TBatchCallbacks& callbacks) {
        if (options.Symbol) {
            RunSymbolBatch(barcode, options.Sizes, *list, *options.Dir, callbacks, file);
        } else {
            RunBatch(barcode, image, options.Inputs, *list, *options.Dir, callbacks, file);
        }
    });
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
    if (options.Symbol) {
        barcode.SetTyp(*FindSymbology(options.Inputs.TypeText));
        barcode.SetText(options.Inputs.Data);
        // What a raster draws is said first: a batch may take a while.
        if (const std::string note = XDimNote(barcode.Typ(), options.Sizes,
                                              SymbolRasterDpi(FileFormat(options), options.File));
            !note.empty()) {
            Say(err, "quillmark-cli: " + note);
        }
    }
    if (options.DataFile) {
        WriteList(options, barcode, image, err, progressBar);
        return;
    }
    if (options.Batch()) {
        WriteBatch(options, barcode, image, err, progressBar);
        return;
    }
    const std::string output = *options.Output == "-" ? "/dev/stdout" : *options.Output;
    if (options.Symbol) {
        SaveSymbolFile(barcode, options.Sizes, output, options.File);
        return;
    }
    ComposeCodeImage(barcode, image, options.Inputs);
    image.SaveToFile(output, options.File);
    // The file is written all the same, as the window writes it.
    if (const std::string warning = CutOffWarning(barcode, options.Inputs); !warning.empty()) {
        Say(err, "quillmark-cli: warning: " + warning);
    }
}

} // namespace

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           bool progressBar) {
    Options options;
    try {
        options = Parse(args);
    } catch (const UsageError& e) {
        Say(err, "quillmark-cli: " + e.Hint);
        return 2;
    }
    try {
        Run(options, out, err, progressBar);
        // What is still buffered is written here, and a failure to write it fails the run.
        if (!out.flush()) {
            throw EWriteError("Stream write error: /dev/stdout: " +
                              std::string(std::strerror(errno)));
        }
    } catch (const EListRefused& e) {
        for (const std::string& line : e.Lines()) {
            Say(err, line);
        }
        return 1;
    } catch (const std::exception& e) {
        Say(err, e.what());
        return 1;
    }
    return 0;
}
