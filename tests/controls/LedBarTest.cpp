#include "LedBar.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

namespace {

// The colour of each segment as a letter: L lime, l dim lime, R red, r dim red, W button face,
// w its dim; '?' for anything else, '!' for a segment that is not of one colour. Fails when a
// pixel outside the segments is not the background.
std::string Segments(const TLedBar& bar, int count) {
    static const std::map<TColor, char> letters = {
        {0x00FF00, 'L'}, {0x007F00, 'l'}, {0x0000FF, 'R'},
        {0x00007F, 'r'}, {0xF0F0F0, 'W'}, {0x787878, 'w'},
    };
    const TBitmap& image = bar.Image();
    EXPECT_EQ(image.Width(), bar.Width());
    EXPECT_EQ(image.Height(), bar.Height());
    const bool horizontal = bar.Orientation() == TTrackBarOrientation::trHorizontal;
    const int pitch = bar.BarSize();
    const auto segmentAt = [&](int x, int y) {
        const int along = horizontal ? x : y;
        const int across = horizontal ? y : x;
        const int size = horizontal ? image.Height() : image.Width();
        const int i = (along - 2) / pitch + 1;
        const bool inside = along >= 2 && (along - 2) % pitch < pitch - 2 && i <= count &&
                            across >= 2 && across < size - 2;
        return inside ? i : 0;
    };
    std::string result(static_cast<std::size_t>(count), ' ');
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const TColor color = image.Pixel(x, y);
            const int i = segmentAt(x, y);
            if (i == 0) {
                EXPECT_EQ(color, bar.BackColor()) << x << "," << y;
                continue;
            }
            const auto found = letters.find(color);
            const char letter = found == letters.end() ? '?' : found->second;
            char& seen = result[static_cast<std::size_t>(i - 1)];
            seen = seen == ' ' || seen == letter ? letter : '!';
        }
    }
    return result;
}

std::string Repeat(char letter, int count) {
    return std::string(static_cast<std::size_t>(count), letter);
}

TLedBarStored MainBar(std::int32_t maxValue, std::int32_t position) {
    TLedBarStored stored = MainWindowLedBar;
    stored.MaxValue = maxValue;
    stored.Position = position;
    return stored;
}

} // namespace

TEST(LedBar, SegmentsLitBrokenAndDimmed) {
    struct Row {
        const char* What;
        TLedBarStored Stored;
        int Count;
        std::string Expected;
    };
    TLedBarStored halfEven = MainBar(100, 0);
    halfEven.Width = 252;
    TLedBarStored halfEvenLit = halfEven;
    halfEvenLit.Position = 5;
    TLedBarStored allHigh = MainBar(100, 0);
    allHigh.BreakPos = 100;
    TLedBarStored narrow = MainBar(100, 100);
    narrow.Width = 6;
    TLedBarStored vertical;
    vertical.Position = 50;
    TLedBarStored system = MainBar(100, 50);
    system.ColorLow = clBtnFace;
    const Row rows[] = {
        {"position 0", MainBar(100, 0), 104, Repeat('l', 99) + Repeat('r', 5)},
        {"position 50", MainBar(100, 50), 104, Repeat('L', 52) + Repeat('l', 47) + Repeat('r', 5)},
        {"position = maximum", MainBar(100, 100), 104, Repeat('L', 99) + Repeat('R', 5)},
        {"share 12.5 to 12", MainBar(8, 1), 104,
         Repeat('L', 12) + Repeat('l', 87) + Repeat('r', 5)},
        {"break 2.5 to 2", halfEven, 50, Repeat('l', 48) + Repeat('r', 2)},
        {"lit 2.5 to 2", halfEvenLit, 50, Repeat('L', 2) + Repeat('l', 46) + Repeat('r', 2)},
        {"break 100", allHigh, 104, Repeat('r', 104)},
        {"narrower than a segment", narrow, 0, ""},
        {"maximum 0", MainBar(0, 0), 104, Repeat('l', 99) + Repeat('r', 5)},
        {"negative position", MainBar(100, -5), 104, Repeat('l', 99) + Repeat('r', 5)},
        {"negative maximum", MainBar(-5, -5), 104, Repeat('l', 99) + Repeat('r', 5)},
        // 30 segments, 10.5 high rounds to 10, the top 9 of them; 15 lit from the bottom.
        {"vertical", vertical, 30, Repeat('r', 9) + Repeat('l', 6) + Repeat('L', 15)},
        {"system colour", system, 104, Repeat('W', 52) + Repeat('w', 47) + Repeat('r', 5)},
    };
    for (const Row& row : rows) {
        TLedBar bar;
        bar.Load(row.Stored);
        EXPECT_EQ(bar.SegmentCount(), row.Count) << row.What;
        EXPECT_EQ(Segments(bar, row.Count), row.Expected) << row.What;
    }
}

TEST(LedBar, SettersRepaintWhatTheyAcceptAndIgnoreTheRest) {
    struct Row {
        const char* What;
        std::function<void(TLedBar&)> Set;
        int Paints;
    };
    using enum TTrackBarOrientation;
    const Row rows[] = {
        {"ColorLow unchanged", [](TLedBar& b) { b.SetColorLow(clLime); }, 0},
        {"ColorLow", [](TLedBar& b) { b.SetColorLow(clGreen); }, 1},
        {"ColorHi unchanged", [](TLedBar& b) { b.SetColorHi(clRed); }, 1},
        {"BackColor unchanged", [](TLedBar& b) { b.SetBackColor(clBlack); }, 1},
        {"Orientation unchanged", [](TLedBar& b) { b.SetOrientation(trHorizontal); }, 0},
        {"MaxValue unchanged", [](TLedBar& b) { b.SetMaxValue(100); }, 0},
        {"MaxValue", [](TLedBar& b) { b.SetMaxValue(-7); }, 1},
        {"Position unchanged", [](TLedBar& b) { b.SetPosition(0); }, 1},
        {"Position above MaxValue", [](TLedBar& b) { b.SetPosition(101); }, 0},
        {"BreakPos 100", [](TLedBar& b) { b.SetBreakPos(100); }, 1},
        {"BreakPos 101", [](TLedBar& b) { b.SetBreakPos(101); }, 0},
        {"BreakPos 154", [](TLedBar& b) { b.SetBreakPos(154); }, 0},
        {"BarSize unchanged", [](TLedBar& b) { b.SetBarSize(5); }, 1},
        {"BarSize 0", [](TLedBar& b) { b.SetBarSize(0); }, 0},
        {"BarSize width - 4", [](TLedBar& b) { b.SetBarSize(519); }, 0},
        {"BarSize width - 5", [](TLedBar& b) { b.SetBarSize(518); }, 1},
    };
    for (const Row& row : rows) {
        TLedBar bar;
        bar.Load(MainWindowLedBar);
        const TLedBar before = bar;
        int paints = 0;
        bar.OnPaint = [&] { ++paints; };
        row.Set(bar);
        EXPECT_EQ(paints, row.Paints) << row.What;
        if (row.Paints == 0) {
            EXPECT_EQ(bar.Position(), before.Position()) << row.What;
            EXPECT_EQ(bar.BreakPos(), before.BreakPos()) << row.What;
            EXPECT_EQ(bar.BarSize(), before.BarSize()) << row.What;
        }
    }

    // Vertically BarSize must change and leave 5 pixels of the height.
    TLedBar vertical;
    vertical.SetBarSize(148);
    vertical.SetBarSize(0);
    EXPECT_EQ(vertical.BarSize(), 5);
    vertical.SetBarSize(147);
    EXPECT_EQ(vertical.BarSize(), 147);
    EXPECT_EQ(vertical.SegmentCount(), 1);
}

TEST(LedBar, AMaximumBelowThePositionIsRaisedWhenPainted) {
    TLedBar bar;
    bar.Load(MainBar(100, 50));
    bar.SetMaxValue(20);
    EXPECT_EQ(bar.MaxValue(), 50);
    EXPECT_EQ(Segments(bar, 104), Repeat('L', 99) + Repeat('R', 5));
}

TEST(LedBar, OrientationTurnsTheBarExceptWhileLoading) {
    TLedBar bar;
    EXPECT_EQ(bar.Width(), 25);
    EXPECT_EQ(bar.Height(), 152);
    bar.SetOrientation(TTrackBarOrientation::trHorizontal);
    EXPECT_EQ(bar.Width(), 152);
    EXPECT_EQ(bar.Height(), 25);
    EXPECT_EQ(Segments(bar, 30), Repeat('l', 20) + Repeat('r', 10));

    TLedBar loaded;
    loaded.Load(MainWindowLedBar);
    EXPECT_EQ(loaded.Width(), 523);
    EXPECT_EQ(loaded.Height(), 17);
}
