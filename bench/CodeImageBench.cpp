#include "Barcode.h"
#include "Bitmap.h"
#include "CodeImage.h"
#include "ImageFile.h"
#include "JpegFile.h"
#include "PngFile.h"
#include "Stream.h"
#include "SvgFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
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

// The file formats' encoders alone, in memory: the PNG of the default image must take less than
// 2 ms.
void BM_EncodeDefaultCodeImage(benchmark::State& state, TImageFormat format) {
    MainWindow w;
    TMemoryStream stream;
    stream.Reserve(579654);
    std::size_t size = 0;
    for (auto _ : state) {
        switch (format) {
        case TImageFormat::Bmp:
            stream.Clear();
            w.Image.SaveToStream(stream);
            size = stream.Data().size();
            break;
        case TImageFormat::Png:
            size = EncodePng(w.Image, 1, DefaultImageDpi).size();
            break;
        case TImageFormat::Jpeg:
            size = EncodeJpeg(w.Image, 1, DefaultImageDpi).size();
            break;
        case TImageFormat::Svg:
            size = SvgDocument(*w.Image.Recording(), w.Image.Width(), w.Image.Height(), 1,
                               DefaultImageDpi)
                       .size();
            break;
        case TImageFormat::Pdf:
        case TImageFormat::Eps:
            // Only the symbol is written so (SymbolBench).
            break;
        }
        benchmark::DoNotOptimize(size);
    }
    state.counters["bytes"] = static_cast<double>(size);
    state.SetLabel(std::string(FormatExtension(format)));
}
BENCHMARK_CAPTURE(BM_EncodeDefaultCodeImage, bmp, TImageFormat::Bmp);
BENCHMARK_CAPTURE(BM_EncodeDefaultCodeImage, png, TImageFormat::Png);
BENCHMARK_CAPTURE(BM_EncodeDefaultCodeImage, svg, TImageFormat::Svg);
BENCHMARK_CAPTURE(BM_EncodeDefaultCodeImage, jpg, TImageFormat::Jpeg);

// Writing the default code image to a file of each format, encoding included.
void BM_SaveToFile(benchmark::State& state, TImageFormat format) {
    MainWindow w;
    const std::string name = "quillmark-bench." + std::string(FormatExtension(format));
    for (auto _ : state) {
        w.Image.SaveToFile(name);
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(name));
    std::remove(name.c_str());
}
BENCHMARK_CAPTURE(BM_SaveToFile, bmp, TImageFormat::Bmp);
BENCHMARK_CAPTURE(BM_SaveToFile, png, TImageFormat::Png);
BENCHMARK_CAPTURE(BM_SaveToFile, svg, TImageFormat::Svg);
BENCHMARK_CAPTURE(BM_SaveToFile, jpg, TImageFormat::Jpeg);

} // namespace
