#include "Canvas.h"
#include "FontFace.h"
#include "TextLayout.h"
#include "Utf8.h"

#include "Testing.h"

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

// Outside r every pixel is red; inside, each is one of the letters (as Art writes them).
void ExpectOnly(const TBitmap& image, const TRect& r, const std::string& inside) {
    const ArtRows art = Art(image);
    int strange = 0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const bool in = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
            strange += (in ? inside : "r").find(art[y][x]) == std::string::npos;
        }
    }
    EXPECT_EQ(strange, 0);
}

// A font's pixel height: its points at 96 pixels per inch, then scaled to its resolution as the
// window system scales fonts sized in pixels.
TEST(Text, HeightFollowsTheResolution) {
    const struct {
        int Size, PixelsPerInch, Height, FacePixels;
    } rows[] = {{8, 96, -11, 11},
                {8, 192, -22, 22},
                {8, 144, -17, 17},
                {10, 192, -26, 26},
                {-8, 192, 22, 22}};
    for (const auto& row : rows) {
        TFont font;
        font.Size = row.Size;
        font.PixelsPerInch = row.PixelsPerInch;
        EXPECT_EQ(font.Height(), row.Height) << row.Size << " at " << row.PixelsPerInch;
        EXPECT_EQ(TFontFace::For(font).Pixels(), row.FacePixels);
    }
}

// Over a red image: TextOut in the default font colour (window text, black) keeps to its cell and
// moves the pen to the text's end, TextRect in blue clips to its rectangle; a solid white brush
// paints the background first.
TEST(Text, TextOutAndTextRectPaintTheirOwnAreaOnly) {
    std::vector<int> glyphPixels;
    for (const TBrushStyle brush : {TBrushStyle::bsSolid, TBrushStyle::bsClear}) {
        const std::string background = brush == TBrushStyle::bsSolid ? "." : "r";
        TBitmap out = WhiteImage(120, 40);
        TBitmap rect = WhiteImage(80, 40);
        for (TBitmap* image : {&out, &rect}) {
            image->Canvas().Brush().Color = clRed;
            image->Canvas().FillRect({0, 0, 120, 40});
            image->Canvas().Brush() = {clWhite, brush};
        }
        TCanvas& canvas = out.Canvas();
        canvas.TextOut(5, 6, "Hg");
        const TRect cell{5, 6, 5 + canvas.TextWidth("Hg"), 6 + canvas.TextHeight()};
        EXPECT_EQ(canvas.PenPos(), (TPoint{cell.Right, 6}));
        ExpectOnly(out, cell, background + "#");
        glyphPixels.push_back(CountPixels(out, clBlack));

        rect.Canvas().Font().Color = clBlue;
        rect.Canvas().TextRect({12, 10, 40, 16}, 5, 5, "WWWWWWWW");
        ExpectOnly(rect, {12, 10, 40, 16}, background + "b");
        EXPECT_GT(CountPixels(rect, clBlue), 0);
    }
    EXPECT_GT(glyphPixels[0], 10);
    EXPECT_EQ(glyphPixels[0], glyphPixels[1]);
}

// Anti-aliased text over red in blue: every pixel of each grey glyph gets blue at its coverage and
// red at the rest; the glyphs stand where two-colour glyphs stand, the pen moves as far.
TEST(Text, AntiAliasedTextBlendsTheGreyLevels) {
    TBitmap image = WhiteImage(60, 20);
    TCanvas& canvas = image.Canvas();
    canvas.Brush().Color = clRed;
    canvas.FillRect({0, 0, 60, 20});
    canvas.Brush().Style = TBrushStyle::bsClear;
    canvas.Font().Color = clBlue;
    canvas.SetTextMode(TTextMode::tmAntialiased);
    canvas.TextOut(5, 3, "Hg");
    EXPECT_EQ(canvas.PenPos(), (TPoint{5 + Width("Hg"), 3}));
    TBitmap expected = WhiteImage(60, 20);
    expected.Canvas().Brush().Color = clRed;
    expected.Canvas().FillRect({0, 0, 60, 20});
    int x = 5;
    int partial = 0;
    for (const char32_t ch : {U'H', U'g'}) {
        const TGlyph& g = Face().GreyGlyph(ch);
        for (int r = 0; r < g.Rows; ++r) {
            for (int c = 0; c < g.Width; ++c) {
                const int coverage = g.Mask[static_cast<std::size_t>(r) * g.Width + c];
                partial += coverage > 0 && coverage < 255;
                expected.ScanLine(3 + Face().Ascent() - g.Top + r)[x + g.Left + c] =
                    static_cast<std::uint32_t>((255 - coverage) << 16 | coverage);
            }
        }
        x += Face().Glyph(ch).Advance;
    }
    EXPECT_GT(partial, 10);
    for (int y = 0; y < 20; ++y) {
        for (int column = 0; column < 60; ++column) {
            ASSERT_EQ(image.ScanLine(y)[column], expected.ScanLine(y)[column])
                << column << "," << y;
        }
    }
}

TEST(Text, TextAtTheIntLimitsDrawsNothing) {
    TBitmap image = WhiteImage(40, 20);
    TCanvas& canvas = image.Canvas();
    canvas.TextOut(INT_MAX - 1, INT_MAX - 1, "abc");
    EXPECT_EQ(canvas.PenPos(), (TPoint{INT_MAX, INT_MAX - 1}));
    canvas.Brush().Color = clBlack;
    canvas.TextOut(INT_MIN, INT_MIN, "abc");
    EXPECT_EQ(CountPixels(image, clWhite), 40 * 20);
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
    // The accelerator's mark takes no room.
    EXPECT_EQ(LayoutText(Face(), U"Sa&ve", 1000, 0)[0].Width, Width("Save"));
}

// DT_CALCRECT measures the lines and draws nothing.
TEST(DrawText, MeasuresTheLines) {
    TBitmap image = WhiteImage(100, 40);
    TCanvas& canvas = image.Canvas();
    const int lineHeight = canvas.TextHeight();
    TRect measured{10, 5, 10 + Width("Generate and") - 1, 0};
    EXPECT_EQ(canvas.DrawText("Generate and save", measured, DT_WORDBREAK | DT_CALCRECT),
              2 * lineHeight);
    const int widest = std::max(Width("Generate"), Width("and save"));
    EXPECT_EQ(measured, (TRect{10, 5, 10 + widest, 5 + 2 * lineHeight}));
    EXPECT_EQ(CountPixels(image, clWhite), 100 * 40);
}

// Each aligned line stands where its width's and its height's distance to the rectangle's edges
// put it, exactly as drawn there unaligned.
TEST(DrawText, AlignedLinesStandWhereTheirSizePutsThem) {
    const int h = Face().LineHeight();
    const struct {
        const char* Text;
        unsigned Format;
        std::vector<std::tuple<const char*, int, int>> Lines;
    } rows[] = {
        {"Save", DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, {{"Save", 57 - Width("Save"), 40 - h}}},
        {"Save", DT_SINGLELINE | DT_VCENTER, {{"Save", 0, (40 - h) / 2}}},
        {"ii\niiii",
         DT_CENTER,
         {{"ii", (57 - Width("ii")) / 2, 0}, {"iiii", (57 - Width("iiii")) / 2, h}}},
    };
    for (const auto& row : rows) {
        TBitmap aligned = WhiteImage(60, 40);
        TRect r{0, 0, 57, 40};
        aligned.Canvas().DrawText(row.Text, r, row.Format);
        TBitmap placed = WhiteImage(60, 40);
        for (const auto& [line, x, y] : row.Lines) {
            placed.Canvas().TextOut(x, y, line);
        }
        EXPECT_EQ(Art(aligned), Art(placed)) << row.Text << " " << row.Format;
    }
}

// The accelerator's rule runs under its character's advance, an underlined font's under the
// whole text, one row below the baseline.
TEST(DrawText, Underlined) {
    TBitmap plain = WhiteImage(60, 20);
    TBitmap marked = WhiteImage(60, 20);
    TBitmap underlined = WhiteImage(60, 20);
    TRect r{0, 0, 60, 20};
    plain.Canvas().DrawText("Save", r, 0);
    marked.Canvas().DrawText("S&ave", r, 0);
    underlined.Canvas().Font().Style = fsUnderline;
    underlined.Canvas().TextOut(0, 0, "Save");
    const int row = Face().Ascent() + 1;
    plain.Canvas().Brush().Color = clBlack;
    plain.Canvas().FillRect({Width("S"), row, Width("Sa"), row + 1});
    EXPECT_EQ(Art(plain), Art(marked));
    plain.Canvas().FillRect({0, row, Width("Save"), row + 1});
    EXPECT_EQ(Art(plain), Art(underlined));
}

} // namespace
