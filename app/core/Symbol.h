#pragma once

#include "Barcode.h"
#include "Batch.h"
#include "ImageFile.h"
#include "PrintDrawing.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The symbol is what a label prints: the bars of a symbology, never cut off, with the published
// quiet zones, sized in millimetres, and the human-readable line as the symbology prints it. One
// layout, in millimetres for vector files and in whole dots for rasters, feeds every format.

inline constexpr double MinXDim = 0.05;
inline constexpr double MaxXDim = 10;
inline constexpr double MinBarHeight = 1;
inline constexpr double MaxBarHeight = 1000;
// Below this X-dimension the wide elements of Code 39, Codabar and interleaved 2 of 5 must be
// wider to stay apart from the narrow ones in print.
inline constexpr double SmallXDim = 0.5;
// The resolution of a raster symbol unless another is asked for.
inline constexpr int SymbolDpi = 600;
// A raster symbol larger than this many pixels is refused: a vector file holds it in kilobytes.
inline constexpr long long MaxSymbolPixels = 64LL * 1000 * 1000;

// ITF-14's bearer bars: a frame around its bars and quiet zones, bars above and below them only,
// or none.
enum class TBearer : std::uint8_t { Frame, Bars, None };

// What the user asks for; an unset size takes the symbology's default.
struct TSymbolOptions {
    // The narrow element in millimetres.
    std::optional<double> XDim{};
    // The bars in millimetres.
    std::optional<double> Height{};
    // Wide to narrow, for the symbologies with wide and narrow elements.
    std::optional<double> Ratio{};
    // Millimetres taken from every bar's width, half on each side, against ink spread.
    double Reduction = 0;
    bool ShowText = true;
    // Only ITF-14 has bearer bars: the other symbologies draw none whatever is chosen, so that
    // one choice serves every symbology a window exports.
    TBearer Bearer = TBearer::Frame;
};

enum class TSymbolText : std::uint8_t { None, Centred, Ean13, Ean8, UpcA, UpcE };

// The published rules a symbology's symbol follows.
struct TSymbolRules {
    TBarcodeType Typ{};
    // Light margins left and right, and above and below the symbol: in modules (X), or in
    // millimetres where QuietInMillimetres.
    double QuietLeft = 10;
    double QuietRight = 10;
    double QuietVertical = 0;
    bool QuietInMillimetres = false;
    double DefaultXDim = 0.33;
    // The bars' nominal height in millimetres at NominalXDim (scaling with the X-dimension where
    // NominalXDim is set); 0 where the standard names none: then the larger of 15 % of the
    // symbol's width and 6.35 mm.
    double NominalHeight = 0;
    double NominalXDim = 0;
    // The wide-to-narrow range, its least value higher below an X-dimension of SmallXDim; 0
    // where the elements are whole modules (the ratio is 2).
    double RatioMin = 0;
    double RatioMinSmallX = 0;
    double RatioMax = 0;
    // The ratio drawn unless another is asked for; 0 where the standard names none: then the
    // engine's 2, raised to the least allowed.
    double RatioTarget = 0;
    // A symbology of bars at a fixed pitch (bar and space, in millimetres) instead of a ratio.
    double PitchMin = 0;
    double PitchMax = 0;
    double PitchNominal = 0;
    // Bearer bars this thick in millimetres and never thinner than two narrow elements, above and
    // below the bars (and beside the quiet zones in a frame); 0 where the symbology has none.
    double BearerBar = 0;
    TSymbolText Text = TSymbolText::Centred;
    // The most characters of data the symbol is drawn for.
    std::size_t MaxData = 0;
    std::string_view Source;
};

const TSymbolRules& SymbolRules(TBarcodeType typ);

// The symbol laid out: the drawing, and the X-dimension it was drawn with in millimetres (a
// raster's is a whole number of dots).
struct TSymbol {
    TPrintDrawing Drawing;
    double XDim = 0;
};

// The pattern of the barcode's symbol: raises the barcode's refusal of the data, then one of data
// longer than its symbology's MaxData ("Cannot draw the symbol: the data of Code39 is at most 170
// characters, not 171").
std::string SymbolPattern(const TBarcode& barcode);

// What is wrong with the options for the symbology, in one line ("the wide-to-narrow ratio of
// Code 39 is from 2 to 3, not 3.5"), or an empty text. With a resolution, what a raster at it
// cannot draw too (a reduction of whole bars, more than MaxSymbolPixels).
std::string SymbolOptionsRefusal(const TBarcode& barcode, const TSymbolOptions& options,
                                 std::optional<int> rasterDpi = {});

// The symbol of the barcode's Typ, Text and Checksum: in millimetres, or with rasterDpi in dots
// of that resolution, every element a whole number of dots and the module the nearest to the
// X-dimension asked for, never 0. Raises SymbolPattern's refusals, then the options'.
TSymbol ComposeSymbol(const TBarcode& barcode, const TSymbolOptions& options,
                      std::optional<int> rasterDpi = {});

// By the name's extension, in any case: PDF and EPS besides the code image's formats.
TImageFormat SymbolFormatOfName(std::string_view name);

// Writes the symbol file in the options' format, else the one its name asks for, as every file
// is written (WriteFileAtomically). A raster is drawn at the options' resolution (SymbolDpi when
// unset) and states it; an SVG states a size of whole pixels at it; the scale must be 1.
void SaveSymbolFile(const TBarcode& barcode, const TSymbolOptions& options, const std::string& name,
                    const TImageFileOptions& file);

// Batch generation of the symbol: RunBatchSteps with each number's symbol as it is asked for,
// in the options' format (BMP when unset), the files' names ending in its extension. The barcode
// is copied; its Typ and Checksum are the symbol's.
void RunSymbolBatch(const TBarcode& barcode, const TSymbolOptions& options,
                    const TBatchRange& range, std::string_view directory,
                    const TBatchCallbacks& callbacks, const TImageFileOptions& file);

// The same for any batch: each file's symbol in the options' format, whatever its name.
void RunSymbolBatch(const TBarcode& barcode, const TSymbolOptions& options, const TBatchData& data,
                    std::string_view directory, const TBatchCallbacks& callbacks,
                    const TImageFileOptions& file);

// The bytes SaveSymbolFile writes for these inputs.
std::uint64_t SymbolFileSize(const TBarcode& barcode, const TSymbolOptions& options,
                             TImageFormat format, const TImageFileOptions& file);

// The resolution a symbol file in that format is laid out at, every module whole dots: the
// options' (SymbolDpi when unset) for PNG, BMP and JPEG; none for PDF, EPS and SVG, which keep
// millimetres.
std::optional<int> SymbolRasterDpi(TImageFormat format, const TImageFileOptions& file);

// A raster's module: the whole number of dots nearest to the X-dimension at dpi, never 0, in
// millimetres.
double RasterXDim(double xDim, int dpi);

// Where a symbol laid out at rasterDpi draws a module that differs from the X-dimension asked
// for by more than 5 %: "the X-dimension drawn is 0.265 mm (1 dot at 96 dpi), not 0.19 mm";
// otherwise, and without a resolution, an empty text.
std::string XDimNote(TBarcodeType typ, const TSymbolOptions& options, std::optional<int> rasterDpi);
