#include "Barcode.h"
#include "Bitmap.h"
#include "CodeImage.h"
#include "ImageFile.h"
#include "Symbol.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

TBarcode SymbolBarcode(TBarcodeType typ, const std::string& data) {
    TBarcode barcode;
    barcode.SetTyp(typ);
    barcode.SetText(data);
    barcode.SetChecksum(true);
    return barcode;
}

// Composing the symbol and encoding its file in memory, at the default 0.33 mm and 600 dpi: the
// default EAN-13 and 80 characters of Code 128B.
void BM_SymbolFile(benchmark::State& state, TBarcodeType typ, std::string data,
                   TImageFormat format) {
    const TBarcode barcode = SymbolBarcode(typ, data);
    const TImageFileOptions file{.Format = format};
    std::uint64_t size = SymbolFileSize(barcode, {}, format, file); // loads fonts and cairo
    for (auto _ : state) {
        size = SymbolFileSize(barcode, {}, format, file);
        benchmark::DoNotOptimize(size);
    }
    state.counters["bytes"] = static_cast<double>(size);
}

const std::string Long(80, 'q');

BENCHMARK_CAPTURE(BM_SymbolFile, ean13_png, TBarcodeType::bcCodeEAN13, "1234567890128",
                  TImageFormat::Png);
BENCHMARK_CAPTURE(BM_SymbolFile, ean13_svg, TBarcodeType::bcCodeEAN13, "1234567890128",
                  TImageFormat::Svg);
BENCHMARK_CAPTURE(BM_SymbolFile, ean13_pdf, TBarcodeType::bcCodeEAN13, "1234567890128",
                  TImageFormat::Pdf);
BENCHMARK_CAPTURE(BM_SymbolFile, ean13_eps, TBarcodeType::bcCodeEAN13, "1234567890128",
                  TImageFormat::Eps);
BENCHMARK_CAPTURE(BM_SymbolFile, code128b_80_png, TBarcodeType::bcCode128B, Long,
                  TImageFormat::Png);
BENCHMARK_CAPTURE(BM_SymbolFile, code128b_80_svg, TBarcodeType::bcCode128B, Long,
                  TImageFormat::Svg);
BENCHMARK_CAPTURE(BM_SymbolFile, code128b_80_pdf, TBarcodeType::bcCode128B, Long,
                  TImageFormat::Pdf);
BENCHMARK_CAPTURE(BM_SymbolFile, code128b_80_eps, TBarcodeType::bcCode128B, Long,
                  TImageFormat::Eps);

// What the symbol's PNG is held against: composing the default code image and encoding its PNG,
// as every PNG was written before the symbol. The symbol's must not take longer.
void BM_CodeImagePng(benchmark::State& state) {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    TBitmap image;
    InitCodeImage(image);
    const TCodeImageInputs inputs;
    const TImageFileOptions file{.Format = TImageFormat::Png};
    std::uint64_t size = 0;
    for (auto _ : state) {
        ComposeCodeImage(barcode, image, inputs);
        size = ImageFileSize(image, TImageFormat::Png, file);
        benchmark::DoNotOptimize(size);
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_CodeImagePng);

} // namespace
