#include "LedBar.h"

#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace {

// Nearest integer, exact halves to the even neighbour, in extended precision.
long long RoundHalfEven(long double value) {
    return std::llrint(value);
}

// Half brightness: each of red, green and blue halved, rounding down. A system colour is first
// resolved to what it shows.
TColor Dim(TColor color) {
    return (ColorToRGB(color) >> 1) & 0x7F7F7F;
}

} // namespace

TLedBar::TLedBar() {
    ComputeSegmentCount();
    Paint();
}

void TLedBar::SetColorLow(TColor value) {
    if (value != FProperties.ColorLow) {
        FProperties.ColorLow = value;
        Paint();
    }
}

void TLedBar::SetColorHi(TColor value) {
    FProperties.ColorHi = value;
    Paint();
}

void TLedBar::SetOrientation(TTrackBarOrientation value) {
    if (value == FProperties.Orientation) {
        return;
    }
    FProperties.Orientation = value;
    if (!FLoading) {
        std::swap(FProperties.Width, FProperties.Height);
    }
    Paint();
}

void TLedBar::SetMaxValue(std::int32_t value) {
    if (value != FProperties.MaxValue) {
        FProperties.MaxValue = value;
        Paint();
    }
}

void TLedBar::SetBackColor(TColor value) {
    FProperties.BackColor = value;
    Paint();
}

void TLedBar::SetBarSize(std::uint16_t value) {
    // 0 would leave no segment pitch to divide by.
    if (value == 0) {
        return;
    }
    const bool accepted = FProperties.Orientation == TTrackBarOrientation::trHorizontal
                              ? value < FProperties.Width - 4
                              : value != FProperties.BarSize && value < FProperties.Height - 4;
    if (accepted) {
        FProperties.BarSize = value;
        ComputeSegmentCount();
        Paint();
    }
}

void TLedBar::SetPosition(std::int32_t value) {
    if (value <= FProperties.MaxValue) {
        FProperties.Position = value;
        Paint();
    }
}

void TLedBar::SetBreakPos(std::uint8_t value) {
    if (value <= 100) {
        FProperties.BreakPos = value;
        Paint();
    }
}

void TLedBar::SetSize(int width, int height) {
    if (width != FProperties.Width || height != FProperties.Height) {
        FProperties.Width = width;
        FProperties.Height = height;
        Paint();
    }
}

void TLedBar::Load(const TLedBarStored& stored) {
    FLoading = true;
    SetSize(stored.Width, stored.Height);
    SetColorLow(stored.ColorLow);
    SetColorHi(stored.ColorHi);
    SetOrientation(stored.Orientation);
    SetMaxValue(stored.MaxValue);
    SetBackColor(stored.BackColor);
    SetBarSize(stored.BarSize);
    SetPosition(stored.Position);
    SetBreakPos(stored.BreakPos);
    FLoading = false;
}

void TLedBar::ComputeSegmentCount() {
    const int length = FProperties.Orientation == TTrackBarOrientation::trHorizontal
                           ? FProperties.Width
                           : FProperties.Height;
    FSegmentCount = std::max((length - 2) / FProperties.BarSize, 0);
}

int TLedBar::LitCount() const {
    // The share is kept to 0..100 and nothing is lit without a positive maximum, so a negative
    // position or a range ending at 0 shows an empty bar instead of garbage.
    long long share = 0;
    if (FProperties.MaxValue > 0) {
        share = std::clamp(RoundHalfEven(static_cast<long double>(FProperties.Position) /
                                         FProperties.MaxValue * 100.0L),
                           0LL, 100LL);
    }
    return static_cast<int>(
        RoundHalfEven(static_cast<long double>(FSegmentCount) / 100.0L * share));
}

void TLedBar::Paint() {
    FImage.SetWidth(FProperties.Width);
    FImage.SetHeight(FProperties.Height);
    TCanvas& canvas = FImage.Canvas();
    canvas.Brush().Color = FProperties.BackColor;
    canvas.FillRect({0, 0, FProperties.Width, FProperties.Height});
    ComputeSegmentCount();
    if (FProperties.Position > FProperties.MaxValue) {
        FProperties.MaxValue = FProperties.Position;
    }
    const int n = FSegmentCount;
    const auto highCount = static_cast<int>(
        RoundHalfEven(static_cast<long double>(n) / 100.0L * FProperties.BreakPos));
    const int lit = LitCount();
    const bool horizontal = FProperties.Orientation == TTrackBarOrientation::trHorizontal;
    for (int i = 1; i <= n; ++i) {
        // A horizontal bar grows from the left with its high end on the right; a vertical one
        // grows from the bottom with its high end at the top, one segment shorter.
        const bool high = horizontal ? n - i < highCount : i < highCount;
        const bool isLit = horizontal ? n - i + 1 > n - lit : i > n - lit;
        const TColor color = high ? (isLit ? FProperties.ColorHi : Dim(FProperties.ColorHi))
                                  : (isLit ? FProperties.ColorLow : Dim(FProperties.ColorLow));
        const int start = (i - 1) * FProperties.BarSize + 2;
        const int end = i * FProperties.BarSize;
        canvas.Brush().Color = color;
        canvas.FillRect(horizontal ? TRect{start, 2, end, FProperties.Height - 2}
                                   : TRect{2, start, FProperties.Width - 2, end});
    }
    if (OnPaint) {
        OnPaint();
    }
}
