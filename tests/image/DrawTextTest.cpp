#include "Canvas.h"
#include "FontFace.h"
#include "TextLayout.h"
#include "Utf8.h"

#include "Pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

TFontFace& Face() {
    return TFontFace::For(TFont{});
}

int Width(std::string_view text) {
    TBitmap image = WhiteImage(1, 1);
    return image.Canvas().TextWidth(text);
}

std::vector<std::u32string> Lines(std::string_view text, int width, unsigned format) {
    std::vector<std::u32string> out;
    for (const TTextLine& line : LayoutText(Face(), DecodeUtf8(text), width, format)) {
        out.push_back(line.Chars);
    }
    return out;
}

TEST(LayoutText, BreaksAtSpacesLineFeedsAndKeepsLongWordsWhole) {
    const int both = Width("Generate and");
    const struct {
        const char* Text;
        int Width;
        unsigned Format;
        std::vector<std::u32string> Lines;
    } cases[] = {
        {"Generate and save", both, DT_WORDBREAK, {U"Generate and", U"save"}},
        {"Generate and save", both - 1, DT_WORDBREAK, {U"Generate", U"and save"}},
        {"Generate   and", Width("Generate"), DT_WORDBREAK, {U"Generate", U"and"}},
        {"Generate and save", 5, DT_WORDBREAK, {U"Generate", U"and", U"save"}},
        {"Generate and save", 5, 0, {U"Generate and save"}},
        {"one\r\ntwo\nthree\rfour", 1000, DT_WORDBREAK, {U"one", U"two", U"three", U"four"}},
        {"one\r\ntwo", 1000, DT_SINGLELINE, {U"onetwo"}},
        {"", 1000, DT_WORDBREAK, {U""}},
        {"a\tb", 1000, DT_EXPANDTABS, {U"a       b"}},
        {"a&&b", 1000, 0, {U"a&b"}},
        {"a&&b", 1000, DT_NOPREFIX, {U"a&&b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Lines(c.Text, c.Width, c.Format), c.Lines) << c.Text << " in " << c.Width;
    }
    const std::vector<TTextLine> save = LayoutText(Face(), U"Sa&ve", 1000, 0);
    EXPECT_EQ(save[0].Chars, U"Save");
    EXPECT_EQ(save[0].Underline, 2);
    EXPECT_EQ(save[0].Width, Width("Save"));
}

TEST(DrawText, MeasuresPlacesAndClipsLines) {
    TBitmap image = WhiteImage(100, 40);
    TCanvas& canvas = image.Canvas();
    const int lineHeight = canvas.TextHeight();
    TRect measured{10, 5, 10 + Width("Generate and") - 1, 0};
    EXPECT_EQ(canvas.DrawText("Generate and save", measured, DT_WORDBREAK | DT_CALCRECT),
              2 * lineHeight);
    const int widest = std::max(Width("Generate"), Width("and save"));
    EXPECT_EQ(measured, (TRect{10, 5, 10 + widest, 5 + 2 * lineHeight}));
    EXPECT_EQ(CountPixels(image, clWhite), 100 * 40);

    // Each line of a centred text sits in the middle of the rectangle.
    TRect box{0, 0, 100, 40};
    canvas.DrawText("ii\niiii", box, DT_CENTER);
    const TRect first = BoundsOf(image, clBlack);
    EXPECT_LT(first.Top, lineHeight);
    for (int line = 0; line < 2; ++line) {
        int left = 100;
        int right = 0;
        for (int y = line * lineHeight; y < (line + 1) * lineHeight; ++y) {
            for (int x = 0; x < 100; ++x) {
                if (image.Pixel(x, y) == clBlack) {
                    left = std::min(left, x);
                    right = std::max(right, x + 1);
                }
            }
        }
        EXPECT_LE(std::abs((left + right) - 100), 2) << line;
    }

    // A single line centred vertically, clipped to its rectangle.
    TBitmap clipped = WhiteImage(100, 40);
    TRect narrow{0, 0, 100, 40};
    clipped.Canvas().DrawText("WWWWWWWWWWWWWWWWWWWW", narrow, DT_SINGLELINE | DT_VCENTER);
    const TRect ink = BoundsOf(clipped, clBlack);
    EXPECT_EQ(ink.Right, 100);
    EXPECT_GE(ink.Top, (40 - lineHeight) / 2);
    EXPECT_LE(ink.Bottom, (40 + lineHeight) / 2 + 1);
}

TEST(DrawText, UnderlinesTheAcceleratorUnderItsCharacter) {
    TBitmap plain = WhiteImage(60, 20);
    TBitmap marked = WhiteImage(60, 20);
    TRect r{0, 0, 60, 20};
    plain.Canvas().DrawText("Save", r, 0);
    marked.Canvas().DrawText("S&ave", r, 0);
    const int from = Width("S");
    const int row = TFontFace::For(TFont{}).Ascent() + 1;
    int added = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (plain.Pixel(x, y) != marked.Pixel(x, y)) {
                EXPECT_EQ(y, row);
                EXPECT_GE(x, from);
                EXPECT_LT(x, from + Width("a"));
                ++added;
            }
        }
    }
    EXPECT_GT(added, 0);
}

TEST(DrawFocusRect, InvertsEveryOtherOutlinePixelAndUndoesItself) {
    TBitmap image = WhiteImage(8, 6);
    image.Canvas().DrawFocusRect({1, 1, 6, 5});
    const std::vector<std::string> expected{
        "........", ".#.#.#..", "........", ".#...#..", "..#.#...", "........",
    };
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(image.Pixel(x, y), expected[y][x] == '#' ? clBlack : clWhite)
                << x << "," << y;
        }
    }
    image.Canvas().DrawFocusRect({1, 1, 6, 5});
    EXPECT_EQ(CountPixels(image, clWhite), 48);
}

} // namespace
