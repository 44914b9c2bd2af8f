#pragma once

#include "Bitmap.h"
#include "Color.h"

#include <cstdint>
#include <functional>

enum class TTrackBarOrientation : std::uint8_t { trHorizontal, trVertical };

// What a stored form holds for one bar: its size, then the published properties in the order
// they load.
struct TLedBarStored {
    int Width = 25;
    int Height = 152;
    TColor ColorLow = clLime;
    TColor ColorHi = clRed;
    TTrackBarOrientation Orientation = TTrackBarOrientation::trVertical;
    std::int32_t MaxValue = 100;
    TColor BackColor = clBlack;
    std::uint16_t BarSize = 5;
    std::int32_t Position = 0;
    std::uint8_t BreakPos = 35;
};

// The bar along the bottom of the main window.
inline constexpr TLedBarStored MainWindowLedBar{
    523, 17, clLime, clRed, TTrackBarOrientation::trHorizontal, 100, clBlack, 5, 0, 5};

// The LED bar's state and its painting, apart from any window: a row or column of segments on a
// background, lit up to Position out of MaxValue, the last BreakPos per cent of them in ColorHi,
// unlit ones at half brightness. Every accepted change paints Image() at once and then calls
// OnPaint, which is where a window copies the image to the screen.
class TLedBar {
public:
    TLedBar();

    TColor ColorLow() const { return FProperties.ColorLow; }
    void SetColorLow(TColor value);
    TColor ColorHi() const { return FProperties.ColorHi; }
    void SetColorHi(TColor value);
    TTrackBarOrientation Orientation() const { return FProperties.Orientation; }
    // Turns a bar of w × h into one of h × w, except while loading.
    void SetOrientation(TTrackBarOrientation value);
    std::int32_t MaxValue() const { return FProperties.MaxValue; }
    void SetMaxValue(std::int32_t value);
    TColor BackColor() const { return FProperties.BackColor; }
    void SetBackColor(TColor value);
    std::uint16_t BarSize() const { return FProperties.BarSize; }
    // The segment pitch: refused when 0 or not less than the bar's length − 4; a vertical bar
    // also refuses its current value.
    void SetBarSize(std::uint16_t value);
    std::int32_t Position() const { return FProperties.Position; }
    // Refused above MaxValue.
    void SetPosition(std::int32_t value);
    std::uint8_t BreakPos() const { return FProperties.BreakPos; }
    // Refused above 100.
    void SetBreakPos(std::uint8_t value);

    int Width() const { return FProperties.Width; }
    int Height() const { return FProperties.Height; }
    void SetSize(int width, int height);

    // Applies a stored form: the size, then each property through its setter, in order, as
    // loading (an Orientation change does not turn the bar).
    void Load(const TLedBarStored& stored);

    // Segments along the bar, as of the last paint or BarSize change.
    int SegmentCount() const { return FSegmentCount; }

    void Paint();
    const TBitmap& Image() const { return FImage; }
    std::function<void()> OnPaint;

private:
    void ComputeSegmentCount();
    int LitCount() const;

    // The size and the published properties, starting at their defaults.
    TLedBarStored FProperties;
    int FSegmentCount = 0;
    bool FLoading = false;
    TBitmap FImage;
};
