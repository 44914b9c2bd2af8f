#include "Cli.h"

#include "Barcode.h"
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
  --data TEXT     the data to encode (default "1234567890123")
  --no-text       draw no human-readable line
  --single        draw one copy instead of two
  --no-checksum   encode the data without adding check characters where that is optional
  --output FILE   write the 525 x 276 code image to FILE, always as BMP
  --pattern       print the bar pattern for --type, --data and --no-checksum; draw nothing
  --list-types    print the symbology names, one a line
  --help          print this help
  --version       print the version

Exit status: 0 done, 1 the data or the file failed (the message is on stderr), 2 bad usage.
)";

// What to print instead of doing the work.
enum class Info { None, Help, Version, ListTypes };

struct Options {
    Info Show = Info::None;
    TCodeImageInputs Inputs;
    bool Checksum = true;
    bool Pattern = false;
    std::optional<std::string> Output;
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
        } else if (arg == "--output") {
            options.Output = value();
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
    if (options.Pattern && options.Output) {
        throw UsageError{"--pattern draws nothing; give it without --output"};
    }
    if (!options.Pattern && !options.Output) {
        throw UsageError{"nothing to do; give --output FILE or --pattern (see --help)"};
    }
    return options;
}

void Run(const Options& options, std::ostream& out) {
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
    ComposeCodeImage(barcode, image, options.Inputs);
    image.SaveToFile(*options.Output);
}

} // namespace

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    Options options;
    try {
        options = Parse(args);
    } catch (const UsageError& e) {
        err << "quillmark-cli: " << e.Hint << '\n';
        return 2;
    }
    try {
        Run(options, out);
    } catch (const std::exception& e) {
        err << e.what() << '\n';
        return 1;
    }
    return 0;
}
