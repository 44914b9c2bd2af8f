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
    if (value != FColorLow) {
        FColorLow = value;
        Paint();
    }
}

void TLedBar::SetColorHi(TColor value) {
    FColorHi = value;
    Paint();
}

void TLedBar::SetOrientation(TTrackBarOrientation value) {
    if (value == FOrientation) {
        return;
    }
    FOrientation = value;
    if (!FLoading) {
        std::swap(FWidth, FHeight);
    }
    Paint();
}

void TLedBar::SetMaxValue(std::int32_t value) {
    if (value != FMaxValue) {
        FMaxValue = value;
        Paint();
    }
}

void TLedBar::SetBackColor(TColor value) {
    FBackColor = value;
    Paint();
}

void TLedBar::SetBarSize(std::uint16_t value) {
    // 0 would leave no segment pitch to divide by.
    if (value == 0) {
        return;
    }
    const bool accepted = FOrientation == TTrackBarOrientation::trHorizontal
                              ? value < FWidth - 4
                              : value != FBarSize && value < FHeight - 4;
    if (accepted) {
        FBarSize = value;
        ComputeSegmentCount();
        Paint();
    }
}

void TLedBar::SetPosition(std::int32_t value) {
    if (value <= FMaxValue) {
        FPosition = value;
        Paint();
    }
}

void TLedBar::SetBreakPos(std::uint8_t value) {
    if (value <= 100) {
        FBreakPos = value;
        Paint();
    }
}

void TLedBar::SetSize(int width, int height) {
    if (width != FWidth || height != FHeight) {
        FWidth = width;
        FHeight = height;
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
    const int length = FOrientation == TTrackBarOrientation::trHorizontal ? FWidth : FHeight;
    FSegmentCount = std::max((length - 2) / FBarSize, 0);
}

int TLedBar::LitCount() const {
    // The share is kept to 0..100 and nothing is lit without a positive maximum, so a negative
    // position or a range ending at 0 shows an empty bar instead of garbage.
    long long share = 0;
    if (FMaxValue > 0) {
        share = std::clamp(RoundHalfEven(static_cast<long double>(FPosition) / FMaxValue * 100.0L),
                           0LL, 100LL);
    }
    return static_cast<int>(
        RoundHalfEven(static_cast<long double>(FSegmentCount) / 100.0L * share));
}

void TLedBar::Paint() {
    FImage.SetWidth(FWidth);
    FImage.SetHeight(FHeight);
    TCanvas& canvas = FImage.Canvas();
    canvas.Brush().Color = FBackColor;
    canvas.FillRect({0, 0, FWidth, FHeight});
    ComputeSegmentCount();
    if (FPosition > FMaxValue) {
        FMaxValue = FPosition;
    }
    const int n = FSegmentCount;
    const auto highCount =
        static_cast<int>(RoundHalfEven(static_cast<long double>(n) / 100.0L * FBreakPos));
    const int lit = LitCount();
    const bool horizontal = FOrientation == TTrackBarOrientation::trHorizontal;
    for (int i = 1; i <= n; ++i) {
        // A horizontal bar grows from the left with its high end on the right; a vertical one
        // grows from the bottom with its high end at the top, one segment shorter.
        const bool high = horizontal ? n - i < highCount : i < highCount;
        const bool isLit = horizontal ? n - i + 1 > n - lit : i > n - lit;
        const TColor color =
            high ? (isLit ? FColorHi : Dim(FColorHi)) : (isLit ? FColorLow : Dim(FColorLow));
        const int start = (i - 1) * FBarSize + 2;
        const int end = i * FBarSize;
        canvas.Brush().Color = color;
        canvas.FillRect(horizontal ? TRect{start, 2, end, FHeight - 2}
                                   : TRect{2, start, FWidth - 2, end});
    }
    if (OnPaint) {
        OnPaint();
    }
}
