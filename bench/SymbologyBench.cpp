#include "Barcode.h"
#include "Bitmap.h"
#include "CodeImage.h"
#include "SymbologyNames.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

namespace {

// Thirteen characters each symbology accepts (EAN-8 takes eight, UPC-A eleven, UPC-E seven), with
// as many two-character expansions as the extended symbologies offer.
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
    case bcCode128:
        return "hello, world!";
    case bcCodeGS1_128:
        return "(10)LOT-A1234";
    case bcCodeUPCA:
        return "01234567890";
    case bcCodeUPCE:
        return "0123456";
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

// 80 characters of mixed data: both cases, runs of digits odd and even, punctuation. Code 128B
// and Code 128 take the same; GS1-128 element strings as long, fixed and variable fields.
constexpr std::string_view Mixed80 =
    "Order 2024-000123456, lot ab12/CD34: qty 0012 x 1234567, ship to Main St. 42b/7.";
constexpr std::string_view ElementStrings80 =
    "(01)09501101530003(17)251231(10)AB-123(21)SN0001234567(400)PO-2024-000123(91)x12";
static_assert(Mixed80.size() == 80 && ElementStrings80.size() == 80);

// Code 128 chooses its sets over the whole data; how it compares with one set throughout.
void BM_BuildPattern80(benchmark::State& state) {
    const auto typ = static_cast<TBarcodeType>(state.range(0));
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    barcode.SetTyp(typ);
    barcode.SetText(std::string(typ == TBarcodeType::bcCodeGS1_128 ? ElementStrings80 : Mixed80));
    for (auto _ : state) {
        benchmark::DoNotOptimize(barcode.BuildPattern());
    }
    state.SetLabel(std::string(BarcodeTypeCaption(typ)));
}
BENCHMARK(BM_BuildPattern80)
    ->Arg(static_cast<int>(TBarcodeType::bcCode128B))
    ->Arg(static_cast<int>(TBarcodeType::bcCode128))
    ->Arg(static_cast<int>(TBarcodeType::bcCodeGS1_128));

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
