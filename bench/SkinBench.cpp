#include "Bitmap.h"
#include "sButtonPaint.h"
#include "sFade.h"
#include "sStyleSimply.h"

#include <benchmark/benchmark.h>

namespace {

// The main window's "Generate and save" button: 129 × 33 with the stored style values.
struct TButtonFace {
    TsActiveBGStyle Style{nullptr};
    TsButtonLook Look;
    TButtonFace() {
        Style.Painting().SetColor(clBtnFace);
        Style.Background().Gradient().SetData("8421504;16777215;99;0;0;16777215;16777215;0;0;0");
        Style.CacheBmp().SetWidth(129);
        Style.CacheBmp().SetHeight(33);
        Look.Caption = "Generate and save";
        PaintButton(Style, Look); // warms the glyph cache
    }
};

// Face, mask with a new window region, and caption: what a paint after a change costs.
void BM_ComposeButtonFace(benchmark::State& state) {
    TButtonFace b;
    for (auto _ : state) {
        b.Style.SetRegionChanged(true);
        benchmark::DoNotOptimize(PaintButton(b.Style, b.Look));
    }
}
BENCHMARK(BM_ComposeButtonFace)->Unit(benchmark::kMicrosecond);

// One frame of the cross-fade, played every 5 ms tick.
void BM_FadeFrame(benchmark::State& state) {
    TButtonFace b;
    const TBitmap snapshot = b.Style.CacheBmp();
    TBitmap frame;
    for (auto _ : state) {
        FadeFrame(frame, snapshot, b.Style.CacheBmp(), fdIn, 153);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FadeFrame)->Unit(benchmark::kMicrosecond);

} // namespace
