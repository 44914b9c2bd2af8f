#include "sBuiltinImages.h"

#include "Testing.h"

namespace {

// The pixels of the colour in the top-left w × h pixels of an image, as 'x' (and '.' for the
// others).
ArtRows Shape(const TBitmap& image, TColor color, int left, int top, int w, int h) {
    ArtRows rows(h, std::string(w, '.'));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            rows[y][x] = image.Pixel(left + x, top + y) == color ? 'x' : '.';
        }
    }
    return rows;
}

// At ratio 2 the rounded corner of "BORD1" is a circle of radius 10 rather than the radius-5
// one with its pixels doubled (rows 3, 3, 1, 1, 1, 1), and each rim line is two pixels deep.
TEST(ScaledBuiltins, MaskCornersAreTheShapeAtTwiceTheSize) {
    const TBitmap& mask = BorderMask(pdBorder1, 2);
    ASSERT_EQ(mask.Width(), 180);
    ASSERT_EQ(mask.Height(), 120);
    EXPECT_EQ(Shape(mask, clFuchsia, 0, 0, 10, 8),
              (ArtRows{"xxxxxxx...", "xxxxx.....", "xxx.......", "xx........", "xx........",
                       "x.........", "x.........", ".........."}));
    // The alpha image down the middle of the top edge: lines 0x50, 0x98, 0xD0, 0xF0, then the
    // face.
    std::vector<TColor> alpha;
    for (int y = 60; y < 70; ++y) {
        alpha.push_back(mask.Pixel(30, y) & 0xFF);
    }
    EXPECT_EQ(alpha,
              (std::vector<TColor>{0x50, 0x50, 0x98, 0x98, 0xD0, 0xD0, 0xF0, 0xF0, 0xFF, 0xFF}));
}

// The check mark at ratio 2: its edges step by single pixels, where the 16 × 16 mark doubled
// would step by two.
TEST(ScaledBuiltins, CheckMarkIsTheShapeAtTwiceTheSize) {
    const TBitmap& glyph = CheckGlyph(false, true, false, 2);
    ASSERT_EQ(glyph.Width(), 32);
    ASSERT_EQ(glyph.Height(), 32);
    EXPECT_EQ(Shape(glyph, 0x1E1E1E, 0, 8, 32, 15),
              (ArtRows{"......................xxxx......", ".....................xxxxx......",
                       "....................xxxxxx......", "...................xxxxxx.......",
                       "..................xxxxxx........", ".................xxxxxx.........",
                       "......xxxx......xxxxxx..........", "......xxxxx....xxxxxx...........",
                       "......xxxxxx..xxxxxx............", ".......xxxxxxxxxxxx.............",
                       "........xxxxxxxxxx..............", ".........xxxxxxxx...............",
                       "..........xxxxxx................", "...........xxxx.................",
                       "............xx.................."}));
    EXPECT_EQ(CountPixels(glyph, 0x1E1E1E), 108); // nothing outside these rows
}

} // namespace
