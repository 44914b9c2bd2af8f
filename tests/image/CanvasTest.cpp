#include "Canvas.h"

#include "Pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(FillRect, CoversTheHalfOpenRectangleClippedToTheImage) {
    const struct {
        TRect Rect;
        TRect Covered;
        int Count;
    } cases[] = {
        {{0, 0, 10, 8}, {0, 0, 10, 8}, 80},
        {{2, 3, 5, 4}, {2, 3, 5, 4}, 3},
        {{-5, -5, 3, 2}, {0, 0, 3, 2}, 6},
        {{8, 6, 100, 100}, {8, 6, 10, 8}, 4},
        {{5, 5, 5, 9}, {}, 0},
        {{6, 6, 4, 4}, {}, 0},
        {{20, 0, 30, 8}, {}, 0},
    };
    for (const auto& c : cases) {
        TBitmap image = WhiteImage(10, 8);
        image.Canvas().Brush().Color = clRed;
        image.Canvas().FillRect(c.Rect);
        EXPECT_EQ(CountPixels(image, clRed), c.Count) << c.Rect.Left << "," << c.Rect.Top;
        EXPECT_EQ(BoundsOf(image, clRed), c.Covered) << c.Rect.Left << "," << c.Rect.Top;
    }
    // A clear brush paints nothing.
    TBitmap image = WhiteImage(10, 8);
    image.Canvas().Brush() = {clRed, TBrushStyle::bsClear};
    image.Canvas().FillRect({0, 0, 10, 8});
    EXPECT_EQ(CountPixels(image, clRed), 0);
}

// Draws the polygon on a white 100 × 100 image with a black brush and the given pen.
TBitmap DrawPolygon(const std::vector<TPoint>& points, TPenStyle pen,
                    TBrushStyle brush = TBrushStyle::bsSolid) {
    TBitmap image = WhiteImage(100, 100);
    TCanvas& canvas = image.Canvas();
    canvas.Brush().Color = clBlack;
    canvas.Brush().Style = brush;
    canvas.Pen().Style = pen;
    canvas.Pen().Color = clBlack;
    canvas.Polygon(points);
    return image;
}

TEST(Polygon, FillsPixelCentresInsideWithAClearPen) {
    const std::vector<TPoint> rectangle{{10, 20}, {30, 20}, {30, 25}, {10, 25}};
    const std::vector<TPoint> fromTheSide{{10, 25}, {10, 20}, {30, 20}, {30, 25}};
    // A point in the middle of the top edge takes the general path.
    const std::vector<TPoint> fivePoints{{10, 20}, {20, 20}, {30, 20}, {30, 25}, {10, 25}};
    for (const auto& points : {rectangle, fromTheSide, fivePoints}) {
        const TBitmap image = DrawPolygon(points, TPenStyle::psClear);
        EXPECT_EQ(BoundsOf(image, clBlack), (TRect{10, 20, 30, 25})) << points.size();
        EXPECT_EQ(CountPixels(image, clBlack), 20 * 5) << points.size();
    }
    // Row y holds the centres x + 0.5 < 9.5 - y: 9 + 8 + ... + 0 pixels.
    const TBitmap triangle = DrawPolygon({{0, 0}, {10, 0}, {0, 10}}, TPenStyle::psClear);
    EXPECT_EQ(CountPixels(triangle, clBlack), 45);
    EXPECT_EQ(BoundsOf(triangle, clBlack), (TRect{0, 0, 9, 9}));
}

TEST(Polygon, SelfIntersectingPolygonUsesTheAlternateRule) {
    const TBitmap star =
        DrawPolygon({{50, 10}, {74, 82}, {12, 38}, {88, 38}, {26, 82}}, TPenStyle::psClear);
    EXPECT_EQ(star.Pixel(50, 50), clWhite);
    EXPECT_EQ(star.Pixel(50, 20), clBlack);
    EXPECT_EQ(star.Pixel(33, 50), clBlack);
    EXPECT_EQ(star.Pixel(66, 50), clBlack);
    EXPECT_EQ(star.Pixel(15, 70), clWhite);
}

TEST(Polygon, SolidPenOutlinesIncludingRightAndBottomEdges) {
    const TBitmap narrow =
        DrawPolygon({{10, 10}, {11, 10}, {11, 30}, {10, 30}}, TPenStyle::psSolid);
    EXPECT_EQ(BoundsOf(narrow, clBlack), (TRect{10, 10, 12, 31}));
    EXPECT_EQ(CountPixels(narrow, clBlack), 2 * 21);

    TBitmap image = WhiteImage(40, 40);
    TCanvas& canvas = image.Canvas();
    canvas.Pen().Color = clRed;
    canvas.Brush().Color = clBlue;
    canvas.Polygon(std::vector<TPoint>{{10, 10}, {20, 10}, {20, 20}, {10, 20}});
    EXPECT_EQ(BoundsOf(image, clRed), (TRect{10, 10, 21, 21}));
    EXPECT_EQ(CountPixels(image, clRed), 4 * 10);
    EXPECT_EQ(BoundsOf(image, clBlue), (TRect{11, 11, 20, 20}));
    EXPECT_EQ(CountPixels(image, clBlue), 9 * 9);

    const TBitmap hollow =
        DrawPolygon({{2, 2}, {8, 2}, {8, 8}, {2, 8}}, TPenStyle::psSolid, TBrushStyle::bsClear);
    EXPECT_EQ(CountPixels(hollow, clBlack), 4 * 6);
    EXPECT_EQ(hollow.Pixel(5, 5), clWhite);
}

TEST(Polygon, ClipsToTheImage) {
    const TBitmap corner = DrawPolygon({{-5, -5}, {3, -5}, {3, 3}, {-5, 3}}, TPenStyle::psSolid);
    EXPECT_EQ(BoundsOf(corner, clBlack), (TRect{0, 0, 4, 4}));
    EXPECT_EQ(CountPixels(corner, clBlack), 16);
    const TBitmap beyond =
        DrawPolygon({{-50, -50}, {250, 40}, {90, 300}, {-20, 120}}, TPenStyle::psSolid);
    // Every edge lies outside the image, which is all interior.
    EXPECT_EQ(CountPixels(beyond, clBlack), 100 * 100);
}

TEST(Polygon, ExtremeCoordinatesDrawOnlyWhatIsVisible) {
    // Edges spanning the whole int range are cut to the image: no overflow, no endless line.
    const std::vector<TPoint> band = {{INT_MIN, 5}, {INT_MAX, 5}, {INT_MAX, 6}, {INT_MIN, 6}};
    const TBitmap outlined = DrawPolygon(band, TPenStyle::psSolid, TBrushStyle::bsClear);
    EXPECT_EQ(CountPixels(outlined, clBlack), 200);
    EXPECT_EQ(BoundsOf(outlined, clBlack), (TRect{0, 5, 100, 7}));
    const std::vector<TPoint> slanted = {
        {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
    const TBitmap filled = DrawPolygon(slanted, TPenStyle::psClear);
    EXPECT_GT(CountPixels(filled, clBlack), 4000);
    EXPECT_EQ(filled.Pixel(10, 90), clBlack);
    EXPECT_EQ(filled.Pixel(90, 10), clWhite);
}

TEST(CopyRect, StretchesByNearestPixel) {
    TBitmap source = WhiteImage(2, 2);
    const TColor colours[2][2] = {{clRed, clLime}, {clBlue, clYellow}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            source.Canvas().Brush().Color = colours[y][x];
            source.Canvas().FillRect({x, y, x + 1, y + 1});
        }
    }
    TBitmap target = WhiteImage(6, 6);
    target.Canvas().CopyRect({1, 1, 5, 5}, source.Canvas(), {0, 0, 2, 2});
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 5 && y >= 1 && y < 5;
            const TColor expected = inside ? colours[(y - 1) / 2][(x - 1) / 2] : clWhite;
            EXPECT_EQ(target.Pixel(x, y), expected) << x << "," << y;
        }
    }

    // Clipping at the top-left keeps the stretch anchored at the destination's corner.
    TBitmap clipped = WhiteImage(3, 3);
    clipped.Canvas().CopyRect({-2, -2, 2, 2}, source.Canvas(), {0, 0, 2, 2});
    EXPECT_EQ(CountPixels(clipped, clYellow), 4);
    EXPECT_EQ(BoundsOf(clipped, clYellow), (TRect{0, 0, 2, 2}));
}

TEST(Font, HeightIsNegativePixelsAtNinetySixPerInch) {
    TFont font;
    EXPECT_EQ(font.Name, "MS Sans Serif");
    EXPECT_EQ(font.Height(), -11);
    const struct {
        int Size;
        int Height;
    } sizes[] = {{6, -8}, {9, -12}, {10, -13}, {11, -15}, {12, -16}, {-8, 11}};
    for (const auto& s : sizes) {
        font.Size = s.Size;
        EXPECT_EQ(font.Height(), s.Height) << s.Size;
    }
}

TEST(Text, WidthAddsUpAndFollowsSizeAndStyle) {
    TBitmap image = WhiteImage(1, 1);
    TCanvas& canvas = image.Canvas();
    EXPECT_EQ(canvas.TextWidth(""), 0);
    EXPECT_GT(canvas.TextWidth("a"), 0);
    EXPECT_EQ(canvas.TextWidth("ab"), canvas.TextWidth("a") + canvas.TextWidth("b"));
    const int regular = canvas.TextWidth("Quillmark");
    const int height = canvas.TextHeight();
    EXPECT_GE(height, 11);

    canvas.Font().Style = fsBold;
    EXPECT_GT(canvas.TextWidth("Quillmark"), regular);
    canvas.Font().Style = 0;
    canvas.Font().Size = 16;
    EXPECT_GT(canvas.TextWidth("Quillmark"), regular);
    EXPECT_GT(canvas.TextHeight(), height);
}

struct TTextImage {
    TBitmap Image = WhiteImage(120, 40);
    TRect Cell;
    TPoint PenPos;
};

// Draws "Hg" at (5, 6) over a red image in the default font colour, clWindowText (black).
TTextImage TextOverRed(TBrushStyle brush) {
    TTextImage t;
    TCanvas& canvas = t.Image.Canvas();
    canvas.Brush().Color = clRed;
    canvas.FillRect({0, 0, 120, 40});
    canvas.Brush().Color = clWhite;
    canvas.Brush().Style = brush;
    canvas.TextOut(5, 6, "Hg");
    t.PenPos = canvas.PenPos();
    t.Cell = {5, 6, 5 + canvas.TextWidth("Hg"), 6 + canvas.TextHeight()};
    return t;
}

// Every pixel inside r has one of the inside colours, every pixel outside it the outside colour.
void ExpectOnly(const TBitmap& image, const TRect& r, const std::vector<TColor>& inside,
                TColor outside) {
    int strangeInside = 0;
    int strangeOutside = 0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const TColor c = image.Pixel(x, y);
            if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) {
                strangeInside += std::find(inside.begin(), inside.end(), c) == inside.end();
            } else {
                strangeOutside += c != outside;
            }
        }
    }
    EXPECT_EQ(strangeInside, 0);
    EXPECT_EQ(strangeOutside, 0);
}

TEST(Text, TextOutPaintsTheCellWithASolidBrushOnly) {
    const TTextImage solid = TextOverRed(TBrushStyle::bsSolid);
    ExpectOnly(solid.Image, solid.Cell, {clWhite, clBlack}, clRed);
    EXPECT_GT(CountPixels(solid.Image, clBlack), 10);
    EXPECT_GT(CountPixels(solid.Image, clWhite), CountPixels(solid.Image, clBlack));
    EXPECT_EQ(solid.PenPos, (TPoint{solid.Cell.Right, 6}));

    const TTextImage clear = TextOverRed(TBrushStyle::bsClear);
    ExpectOnly(clear.Image, clear.Cell, {clRed, clBlack}, clRed);
    EXPECT_EQ(CountPixels(clear.Image, clBlack), CountPixels(solid.Image, clBlack));
    EXPECT_EQ(clear.PenPos, (TPoint{clear.Cell.Right, 6}));
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

TEST(Text, TextRectPaintsItsRectangleAndClipsTheText) {
    const TRect rect{12, 10, 40, 16};
    for (const TBrushStyle brush : {TBrushStyle::bsSolid, TBrushStyle::bsClear}) {
        TBitmap image = WhiteImage(80, 40);
        TCanvas& canvas = image.Canvas();
        canvas.Brush().Color = clRed;
        canvas.FillRect({0, 0, 80, 40});
        canvas.Brush().Color = clWhite;
        canvas.Brush().Style = brush;
        canvas.Font().Color = clBlue;
        canvas.TextRect(rect, 5, 5, "WWWWWWWW");
        const TColor background = brush == TBrushStyle::bsSolid ? clWhite : clRed;
        ExpectOnly(image, rect, {background, clBlue}, clRed);
        EXPECT_GT(CountPixels(image, clBlue), 0);
    }
}

} // namespace
