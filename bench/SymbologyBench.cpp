#include "Barcode.h"
#include "Bitmap.h"
#include "CodeImage.h"
#include "SymbologyNames.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Thirteen characters each symbology accepts (EAN-8 takes eight), with as many two-character
// expansions as the extended symbologies offer.
std::string SampleData(TBarcodeType typ) {
    using enum TBarcodeType;
    switch (typ) {
    case bcCode39:
    case bcCode128A:
        return "HELLO-WORLD 1";
    case bcCode39Extended:
    case bcCode93Extended:
    case bcCode128B:
        return "hello, world!";
    case bcCode93:
        return "HELLO WORLD/1";
    case bcCodeEAN8:
        return "12345670";
    default:
        return "1234567890128";
    }
}

const TSymbologyName& Symbology(const benchmark::State& state) {
    return SymbologyNames[static_cast<std::size_t>(state.range(0))];
}

void BM_BuildPattern(benchmark::State& state) {
    const TSymbologyName& name = Symbology(state);
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    barcode.SetTyp(name.Typ);
    barcode.SetText(SampleData(name.Typ));
    for (auto _ : state) {
        benchmark::DoNotOptimize(barcode.BuildPattern());
    }
    state.SetLabel(std::string(name.ListText));
}
BENCHMARK(BM_BuildPattern)->DenseRange(0, BarcodeTypeCount - 1);

void BM_ComposeCodeImage(benchmark::State& state) {
    const TSymbologyName& name = Symbology(state);
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    TBitmap image;
    InitCodeImage(image);
    TCodeImageInputs inputs;
    inputs.TypeText = std::string(name.ListText);
    inputs.Data = SampleData(name.Typ);
    for (auto _ : state) {
        ComposeCodeImage(barcode, image, inputs);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::string(name.ListText));
}
BENCHMARK(BM_ComposeCodeImage)->DenseRange(0, BarcodeTypeCount - 1);

} // namespace
