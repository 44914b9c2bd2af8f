#include "Canvas.h"

#include "Testing.h"

namespace {

// "count [left top right bottom]" of the pixels in the colour, or "none".
std::string Coverage(const TBitmap& image, TColor colour) {
    const TRect r = BoundsOf(image, colour);
    const int count = CountPixels(image, colour);
    return count == 0 ? "none"
                      : std::to_string(count) + " [" + std::to_string(r.Left) + " " +
                            std::to_string(r.Top) + " " + std::to_string(r.Right) + " " +
                            std::to_string(r.Bottom) + "]";
}

TEST(FillRect, CoversTheHalfOpenRectangleClippedToTheImage) {
    const struct {
        TRect Rect;
        TBrushStyle Style;
        std::string Red;
    } cases[] = {
        {{0, 0, 10, 8}, TBrushStyle::bsSolid, "80 [0 0 10 8]"},
        {{2, 3, 5, 4}, TBrushStyle::bsSolid, "3 [2 3 5 4]"},
        {{-5, -5, 3, 2}, TBrushStyle::bsSolid, "6 [0 0 3 2]"},
        {{8, 6, 100, 100}, TBrushStyle::bsSolid, "4 [8 6 10 8]"},
        {{5, 5, 5, 9}, TBrushStyle::bsSolid, "none"},
        {{6, 6, 4, 4}, TBrushStyle::bsSolid, "none"},
        {{20, 0, 30, 8}, TBrushStyle::bsSolid, "none"},
        {{0, 0, 10, 8}, TBrushStyle::bsClear, "none"},
    };
    for (const auto& c : cases) {
        TBitmap image = WhiteImage(10, 8);
        image.Canvas().Brush() = {clRed, c.Style};
        image.Canvas().FillRect(c.Rect);
        EXPECT_EQ(Coverage(image, clRed), c.Red) << c.Rect.Left << "," << c.Rect.Top;
    }
}

enum Paint { Fill = 1, Outline = 2, Both = 3 };

// Draws the polygon on a white 100 × 100 image with a black brush and a red pen, each clear
// unless painted.
TBitmap DrawPolygon(const std::vector<TPoint>& points, Paint paint) {
    TBitmap image = WhiteImage(100, 100);
    image.Canvas().Brush() = {clBlack, paint & Fill ? TBrushStyle::bsSolid : TBrushStyle::bsClear};
    image.Canvas().Pen() = {clRed, 1, paint & Outline ? TPenStyle::psSolid : TPenStyle::psClear};
    image.Canvas().Polygon(points);
    return image;
}

// The brush fills the pixel centres inside; the pen then outlines one pixel wide, right and
// bottom edges included. All is clipped, even edges spanning the whole int range.
TEST(Polygon, FillsCentresInsideThenOutlinesWithThePen) {
    constexpr int Lo = INT_MIN;
    constexpr int Hi = INT_MAX;
    const struct {
        std::vector<TPoint> Points;
        Paint How;
        std::string Black;
        std::string Red;
    } cases[] = {
        {{{10, 20}, {30, 20}, {30, 25}, {10, 25}}, Fill, "100 [10 20 30 25]", "none"},
        {{{10, 25}, {10, 20}, {30, 20}, {30, 25}}, Fill, "100 [10 20 30 25]", "none"},
        // A point in the middle of the top edge takes the general path.
        {{{10, 20}, {20, 20}, {30, 20}, {30, 25}, {10, 25}}, Fill, "100 [10 20 30 25]", "none"},
        // Row y holds the centres x + 0.5 < 9.5 - y: 9 + 8 + ... + 0 pixels.
        {{{0, 0}, {10, 0}, {0, 10}}, Fill, "45 [0 0 9 9]", "none"},
        // Rows 0 to 2 cross the slanted edge at 8.33, 5 and 1.67: centres up to 7.5, 4.5, 1.5.
        {{{0, 0}, {10, 0}, {0, 3}}, Fill, "15 [0 0 8 3]", "none"},
        {{{10, 10}, {20, 10}, {20, 20}, {10, 20}}, Both, "81 [11 11 20 20]", "40 [10 10 21 21]"},
        {{{10, 10}, {11, 10}, {11, 30}, {10, 30}}, Both, "none", "42 [10 10 12 31]"},
        {{{2, 2}, {8, 2}, {8, 8}, {2, 8}}, Outline, "none", "24 [2 2 9 9]"},
        {{{-5, -5}, {3, -5}, {3, 3}, {-5, 3}}, Both, "9 [0 0 3 3]", "7 [0 0 4 4]"},
        // Every edge lies outside the image, which is all interior.
        {{{-50, -50}, {250, 40}, {90, 300}, {-20, 120}}, Both, "10000 [0 0 100 100]", "none"},
        {{{Lo, 5}, {Hi, 5}, {Hi, 6}, {Lo, 6}}, Outline, "none", "200 [0 5 100 7]"},
        // Below the diagonal: row y holds the y centres left of y + 0.5.
        {{{Lo, Lo}, {Hi, Hi}, {Lo, Hi}}, Fill, "4950 [0 1 99 100]", "none"},
    };
    for (const auto& c : cases) {
        const TBitmap image = DrawPolygon(c.Points, c.How);
        EXPECT_EQ(Coverage(image, clBlack), c.Black) << c.Points[0].x << "," << c.Points[0].y;
        EXPECT_EQ(Coverage(image, clRed), c.Red) << c.Points[0].x << "," << c.Points[0].y;
    }
}

TEST(Polygon, SelfIntersectingPolygonUsesTheAlternateRule) {
    const TBitmap star = DrawPolygon({{50, 10}, {74, 82}, {12, 38}, {88, 38}, {26, 82}}, Fill);
    const ArtRows art = Art(star);
    std::string probes;
    for (const TPoint p : {TPoint{50, 50}, {15, 70}, {50, 20}, {33, 50}, {66, 50}}) {
        probes += art[p.y][p.x];
    }
    EXPECT_EQ(probes, "..###"); // the centre is outside, the points inside
}

TEST(CopyRect, StretchesByNearestPixelAnchoredAtTheDestination) {
    TBitmap source = WhiteImage(2, 2);
    source.ScanLine(0)[0] = ColorToPixel(clRed);
    source.ScanLine(0)[1] = ColorToPixel(clLime);
    source.ScanLine(1)[0] = ColorToPixel(clBlue);
    source.ScanLine(1)[1] = ColorToPixel(clYellow);
    TBitmap target = WhiteImage(6, 6);
    target.Canvas().CopyRect({1, 1, 5, 5}, source.Canvas(), {0, 0, 2, 2});
    EXPECT_EQ(Art(target), (ArtRows{"......", ".rrgg.", ".rrgg.", ".bbyy.", ".bbyy.", "......"}));
    TBitmap clipped = WhiteImage(3, 3);
    clipped.Canvas().CopyRect({-2, -2, 2, 2}, source.Canvas(), {0, 0, 2, 2});
    EXPECT_EQ(Art(clipped), (ArtRows{"yy.", "yy.", "..."}));
}

TEST(DrawFocusRect, InvertsEveryOtherOutlinePixelAndUndoesItself) {
    TBitmap image = WhiteImage(8, 6);
    image.Canvas().DrawFocusRect({1, 1, 6, 5});
    EXPECT_EQ(Art(image),
              (ArtRows{"........", ".#.#.#..", "........", ".#...#..", "..#.#...", "........"}));
    image.Canvas().DrawFocusRect({1, 1, 6, 5});
    EXPECT_EQ(CountPixels(image, clWhite), 48);
}

// Clear paints the whole image with the brush whatever was drawn since the Clear before, also
// where it paints only what the shapes since then covered, and the recording starts anew with
// that one fill.
TEST(Clear, PaintsTheWholeImageWhateverWasDrawnSince) {
    const auto check = [](const char* what, TColor brush, void (*drawing)(TCanvas&)) {
        TBitmap image = WhiteImage(20, 16);
        TCanvas& canvas = image.Canvas();
        canvas.Clear();
        canvas.Brush().Color = clBlue;
        canvas.Pen() = {clBlack, 1, TPenStyle::psClear};
        canvas.Font().Color = clLime;
        drawing(canvas);
        canvas.Brush() = {brush, TBrushStyle::bsSolid};
        canvas.Clear();
        EXPECT_EQ(CountPixels(image, brush), 20 * 16) << what;
        ASSERT_NE(image.Recording(), nullptr) << what;
        const TDrawing whole{TDrawnRect{{0, 0, 20, 16}, ColorToPixel(brush)}};
        EXPECT_EQ(*image.Recording(), whole) << what;
    };
    check("rectangle", clWhite, [](TCanvas& c) { c.FillRect({2, 3, 9, 7}); });
    check("another brush colour", clRed, [](TCanvas& c) { c.FillRect({2, 3, 9, 7}); });
    check("slanted polygon", clWhite, [](TCanvas& c) {
        c.Polygon(std::vector<TPoint>{{1, 1}, {19, 6}, {6, 15}});
    });
    check("glyphs only", clWhite, [](TCanvas& c) {
        c.Brush().Style = TBrushStyle::bsClear;
        c.TextOut(1, 2, "Wg");
    });
    check("text in a band", clWhite, [](TCanvas& c) { c.TextRect({3, 6, 17, 12}, 4, 3, "Wg"); });
    check("outline, which ends the recording", clWhite, [](TCanvas& c) {
        c.Pen().Style = TPenStyle::psSolid;
        c.Polygon(std::vector<TPoint>{{2, 2}, {12, 2}, {12, 9}});
    });
}

// The recording keeps no shape wholly outside the image, and each one that reaches into it as it
// was painted; of a text, the characters from the first to the last whose glyph reaches in,
// by its advance or by its ink in either mode (DejaVu Sans at 11 pixels: "1" 7 pixels on; the
// acute accent's ink 4 pixels left of its pen; "W" 9 pixels on, its grey ink 11 wide).
TEST(Recording, KeepsWhatReachesTheImage) {
    const std::uint32_t red = 0xFF0000;
    // TextOut's cell in red, then the characters kept from the pen position of the first.
    const auto text = [&](TPoint at, std::string_view drawn, std::string kept, int pen) {
        TBitmap probe = WhiteImage(1, 1);
        TCanvas& canvas = probe.Canvas();
        const TRect cell{at.x, at.y, at.x + canvas.TextWidth(drawn), at.y + canvas.TextHeight()};
        return TDrawing{
            TDrawnRect{cell, red},
            TDrawnText{TFont{}, {pen, at.y}, cell, std::move(kept), ColorToPixel(TFont{}.Color)}};
    };
    const std::pair<std::function<void(TCanvas&)>, TDrawing> rows[] = {
        {[](TCanvas& c) {
             c.FillRect({20, 0, 30, 10});
         },
         {}},
        {[](TCanvas& c) {
             c.FillRect({-5, 0, 0, 10});
         },
         {}},
        {[](TCanvas& c) {
             c.FillRect({0, -5, 20, 0});
         },
         {}},
        {[](TCanvas& c) {
             c.FillRect({0, 10, 20, 15});
         },
         {}},
        {[](TCanvas& c) {
             c.FillRect({19, 9, 30, 15});
         },
         {TDrawnRect{{19, 9, 30, 15}, red}}},
        {[](TCanvas& c) {
             c.FillRect({-5, -5, 1, 1});
         },
         {TDrawnRect{{-5, -5, 1, 1}, red}}},
        {[](TCanvas& c) {
             c.Polygon(std::vector<TPoint>{{0, 10}, {9, 10}, {5, 30}});
         },
         {}},
        {[](TCanvas& c) {
             c.Polygon(std::vector<TPoint>{{0, 9}, {9, 10}, {5, 30}});
         },
         {TDrawnPolygon{{{0, 9}, {9, 10}, {5, 30}}, red}}},
        {[](TCanvas& c) { c.TextOut(20, 0, "1"); }, {}},
        {[](TCanvas& c) { c.TextOut(6, 0, "111\u0301"); }, text({6, 0}, "111\u0301", "11", 6)},
        {[](TCanvas& c) { c.TextOut(6, 0, "11\u0301"); }, text({6, 0}, "11\u0301", "11\u0301", 6)},
        {[](TCanvas& c) { c.TextOut(-10, 3, "W1"); }, text({-10, 3}, "W1", "W1", -10)},
        {[](TCanvas& c) { c.TextOut(-11, 3, "W1"); }, text({-11, 3}, "W1", "1", -2)},
        // A text without characters stays as it was drawn.
        {[](TCanvas& c) {
             c.TextRect({0, 0, 20, 10}, 0, 0, "");
         },
         {TDrawnRect{{0, 0, 20, 10}, red},
          TDrawnText{TFont{}, {0, 0}, {0, 0, 20, 10}, "", ColorToPixel(TFont{}.Color)}}},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        TBitmap image = WhiteImage(20, 10);
        image.StartRecording();
        TCanvas& canvas = image.Canvas();
        canvas.Brush().Color = clRed;
        canvas.Pen().Style = TPenStyle::psClear;
        rows[i].first(canvas);
        ASSERT_NE(image.Recording(), nullptr);
        EXPECT_EQ(*image.Recording(), rows[i].second);
    }
}

} // namespace
