#include "LedBar.h"

#include "Testing.h"

#include <map>

namespace {

// The colour of each segment of a horizontal bar as a letter: L lime, l dim lime, R red, r dim red,
// W button face, w its dim; '?' for anything else, '!' for a segment that is not of one colour.
// Fails when a pixel outside the segments is not the background.
std::string Segments(const TLedBar& bar) {
    const int count = bar.SegmentCount();
    static const std::map<TColor, char> letters = {
        {0x00FF00, 'L'}, {0x007F00, 'l'}, {0x0000FF, 'R'},
        {0x00007F, 'r'}, {0xF0F0F0, 'W'}, {0x787878, 'w'},
    };
    const TBitmap& image = bar.Image();
    EXPECT_EQ(image.Width(), bar.Width());
    EXPECT_EQ(image.Height(), bar.Height());
    const int pitch = bar.BarSize();
    const auto segmentAt = [&](int x, int y) {
        const int i = (x - 2) / pitch + 1;
        const bool inside =
            x >= 2 && (x - 2) % pitch < pitch - 2 && i <= count && y >= 2 && y < image.Height() - 2;
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

// Runs of segment letters: "52L47l5r" is 52 L, 47 l and 5 r.
std::string Leds(const char* runs) {
    std::string out;
    for (char* letter = nullptr; *runs != '\0'; runs = letter + 1) {
        const long count = std::strtol(runs, &letter, 10);
        out.append(static_cast<std::size_t>(count), *letter);
    }
    return out;
}

// The main window's bar with the values a case changes.
TLedBarStored MainBar(std::int32_t maxValue, std::int32_t position, int width = 523,
                      std::uint8_t breakPos = 5, TColor colorLow = clLime) {
    TLedBarStored stored = MainWindowLedBar;
    stored.MaxValue = maxValue;
    stored.Position = position;
    stored.Width = width;
    stored.BreakPos = breakPos;
    stored.ColorLow = colorLow;
    return stored;
}

} // namespace

TEST(LedBar, SegmentsLitBrokenAndDimmed) {
    struct Row {
        const char* What;
        TLedBarStored Stored;
        std::string Expected;
    };
    const Row rows[] = {
        {"position 0", MainBar(100, 0), Leds("99l5r")},
        {"position 50", MainBar(100, 50), Leds("52L47l5r")},
        {"position = maximum", MainBar(100, 100), Leds("99L5R")},
        {"share 12.5 to 12", MainBar(8, 1), Leds("12L87l5r")},
        {"break 2.5 to 2", MainBar(100, 0, 252), Leds("48l2r")},
        {"lit 2.5 to 2", MainBar(100, 5, 252), Leds("2L46l2r")},
        {"break 100", MainBar(100, 0, 523, 100), Leds("104r")},
        {"narrower than a segment", MainBar(100, 100, 6), ""},
        {"maximum 0", MainBar(0, 0), Leds("99l5r")},
        {"negative position", MainBar(100, -5), Leds("99l5r")},
        {"negative maximum", MainBar(-5, -5), Leds("99l5r")},
        {"system colour", MainBar(100, 50, 523, 5, clBtnFace), Leds("52W47w5r")},
    };
    for (const Row& row : rows) {
        TLedBar bar;
        bar.Load(row.Stored);
        EXPECT_EQ(Segments(bar), row.Expected) << row.What;
    }
}

TEST(LedBar, SettersRepaintWhatTheyAcceptAndIgnoreTheRest) {
    struct Row {
        const char* What;
        std::function<void(TLedBar&)> Set;
        int Paints;
    };
    const Row rows[] = {
        {"ColorLow unchanged", [](TLedBar& b) { b.SetColorLow(clLime); }, 0},
        {"ColorLow", [](TLedBar& b) { b.SetColorLow(clGreen); }, 1},
        {"MaxValue", [](TLedBar& b) { b.SetMaxValue(-7); }, 1},
        {"Position unchanged", [](TLedBar& b) { b.SetPosition(0); }, 1},
        {"Position above MaxValue", [](TLedBar& b) { b.SetPosition(101); }, 0},
        {"BreakPos 100", [](TLedBar& b) { b.SetBreakPos(100); }, 1},
        {"BreakPos 101", [](TLedBar& b) { b.SetBreakPos(101); }, 0},
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
}

TEST(LedBar, AMaximumBelowThePositionIsRaisedWhenPainted) {
    TLedBar bar;
    bar.Load(MainBar(100, 50));
    bar.SetMaxValue(20);
    EXPECT_EQ(bar.MaxValue(), 50);
    EXPECT_EQ(Segments(bar), Leds("99L5R"));
}
