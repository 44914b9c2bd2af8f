#include "Barcode.h"
#include "Bitmap.h"
#include "CodeImage.h"
#include "Stream.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

struct MainWindow {
    TBarcode Barcode;
    TBitmap Image;
    MainWindow() {
        ConfigureMainBarcode(Barcode);
        InitCodeImage(Image);
        ComposeCodeImage(Barcode, Image, {}); // warms the glyph cache
    }
};

void BM_BuildPatternDefaultEan13(benchmark::State& state) {
    MainWindow w;
    w.Barcode.SetText("1234567890128");
    for (auto _ : state) {
        benchmark::DoNotOptimize(w.Barcode.BuildPattern());
    }
}
BENCHMARK(BM_BuildPatternDefaultEan13);

void BM_RenderIntoCodeImage(benchmark::State& state) {
    MainWindow w;
    w.Barcode.SetText("1234567890128");
    w.Barcode.SetLeft(5);
    w.Barcode.SetTop(5);
    for (auto _ : state) {
        w.Barcode.Render(w.Image.Canvas());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RenderIntoCodeImage);

void BM_ComposeDefaultCodeImage(benchmark::State& state) {
    MainWindow w;
    const TCodeImageInputs inputs;
    for (auto _ : state) {
        ComposeCodeImage(w.Barcode, w.Image, inputs);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComposeDefaultCodeImage);

void BM_SaveToStream(benchmark::State& state) {
    MainWindow w;
    TMemoryStream stream;
    stream.Reserve(579654);
    for (auto _ : state) {
        stream.Clear();
        w.Image.SaveToStream(stream);
        benchmark::DoNotOptimize(stream.Data().data());
    }
    state.SetBytesProcessed(state.iterations() * 579654);
}
BENCHMARK(BM_SaveToStream);

void BM_SaveToFile(benchmark::State& state) {
    MainWindow w;
    const std::string name = "quillmark-bench.bmp";
    for (auto _ : state) {
        w.Image.SaveToFile(name);
    }
    state.SetBytesProcessed(state.iterations() * 579654);
    std::remove(name.c_str());
}
BENCHMARK(BM_SaveToFile);

} // namespace
