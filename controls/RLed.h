#pragma once

#include "LedBar.h"

#include <QWidget>

// The LED progress bar as a control: the state and the drawing are TLedBar's; the control keeps
// its size in step with the bar and copies the bar's image to the screen. Every accepted change
// repaints at once, synchronously, so the bar shows each position even while a long handler
// keeps the event loop from running.
class TRLed : public QWidget {
    Q_OBJECT

public:
    explicit TRLed(QWidget* parent = nullptr);

    TColor ColorLow() const { return FBar.ColorLow(); }
    void SetColorLow(TColor value) { FBar.SetColorLow(value); }
    TColor ColorHi() const { return FBar.ColorHi(); }
    void SetColorHi(TColor value) { FBar.SetColorHi(value); }
    TTrackBarOrientation Orientation() const { return FBar.Orientation(); }
    // Swaps the control's width and height; its left and top stay.
    void SetOrientation(TTrackBarOrientation value);
    std::int32_t MaxValue() const { return FBar.MaxValue(); }
    void SetMaxValue(std::int32_t value);
    TColor BackColor() const { return FBar.BackColor(); }
    void SetBackColor(TColor value) { FBar.SetBackColor(value); }
    std::uint16_t BarSize() const { return FBar.BarSize(); }
    void SetBarSize(std::uint16_t value) { FBar.SetBarSize(value); }
    std::int32_t Position() const { return FBar.Position(); }
    void SetPosition(std::int32_t value);
    std::uint8_t BreakPos() const { return FBar.BreakPos(); }
    void SetBreakPos(std::uint8_t value) { FBar.SetBreakPos(value); }

    // Applies a stored form (size and properties) as a window does when it is created.
    void Load(const TLedBarStored& stored);

    const TLedBar& Bar() const { return FBar; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Tells screen readers that the value or its range changed.
    void AnnounceValue();

    TLedBar FBar;
};
