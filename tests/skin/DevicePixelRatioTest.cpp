#include "FontFace.h"
#include "sBorders.h"
#include "sBuiltinImages.h"
#include "sButtonPaint.h"
#include "sCheckPaint.h"
#include "sEditPaint.h"
#include "sStyleEdits.h"
#include "sStyleSimply.h"

#include "FakeOwner.h"
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

// The top-left corner of the ink (anything but the background) right of column `from`.
TPoint InkCorner(const TBitmap& image, TColor background, int from) {
    TPoint corner{image.Width(), image.Height()};
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = from; x < image.Width(); ++x) {
            if (image.Pixel(x, y) != background) {
                corner = {std::min(corner.x, x), std::min(corner.y, y)};
            }
        }
    }
    return corner;
}

// A caption at ratio 2 is FreeType's text at 22 pixels, not the 11-pixel text doubled: its first
// letter's ink is where the 22-pixel "S" has coverage.
void ExpectAn22PixelS(const TBitmap& image, TColor background, int from) {
    TFont font;
    font.PixelsPerInch = 192;
    const TGlyph& s = TFontFace::For(font).GreyGlyph(U'S');
    ASSERT_EQ(s.Rows, 16);
    const TPoint at = InkCorner(image, background, from);
    for (int y = 0; y < s.Rows; ++y) {
        for (int x = 0; x < s.Width; ++x) {
            EXPECT_EQ(image.Pixel(at.x + x, at.y + y) != background, s.Mask[y * s.Width + x] != 0)
                << x << "," << y;
        }
    }
}

TEST(ScaledButton, CaptionIsDrawnAtTwiceThePixelSize) {
    TsButtonLook look;
    look.Caption = "Save";
    look.Scale = 2;
    TBitmap image = WhiteImage(150, 50);
    PaintButtonCaption(image, look, false, clRed, 0);
    ExpectAn22PixelS(image, clWhite, 0);
}

// A 100 × 18 check box at ratio 2: the 32 × 32 glyph drawn at that size, centred in the 36 rows,
// and the caption at 22 pixels beside it.
TEST(ScaledCheckBox, GlyphAndCaptionAtTwiceTheSize) {
    TsCheckLook look;
    look.Caption = "Save";
    look.Scale = 2;
    TBitmap image = WhiteImage(200, 36);
    const TBitmap& glyph = CheckGlyph(false, true, false, 2);
    PaintCheckBox(image, look, glyph);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const TColor g = glyph.Pixel(x, y);
            ASSERT_EQ(image.Pixel(x, y + 2), g == clFuchsia ? 0xF0F0F0 : g) << x << "," << y;
        }
    }
    ExpectAn22PixelS(image, 0xF0F0F0, 32);
}

// A hot edit at ratio 2: each of the two frame lines is two device pixels thick, inside them the
// field.
TEST(ScaledEdit, FrameLinesAreTwoDevicePixelsThick) {
    TFakeOwner owner;
    owner.HasFocus = true;
    TsStyle style(&owner);
    style.SetControlKind(3);
    TBitmap image = WhiteImage(40, 42);
    PaintEditFrame(image, style, 2);
    const std::vector<TColor> rings{0x7E756B, 0x7E756B, 0x7E756B, 0x7E756B, clWhite, clWhite};
    for (int ring = 0; ring < 6; ++ring) {
        EXPECT_EQ(image.Pixel(ring, 20), rings[ring]) << ring;
        EXPECT_EQ(image.Pixel(20, ring), rings[ring]) << ring;
        EXPECT_EQ(image.Pixel(39 - ring, 20), rings[ring]) << ring;
        EXPECT_EQ(image.Pixel(20, 41 - ring), rings[ring]) << ring;
    }
}

// A 75 × 25 button at ratio 2: its 150 × 50 face cuts out the radius-10 corners, 21 device
// pixels each, and paints them in the parent's colour. The window's region can take only the
// control pixels whose four device pixels are all cut, three a corner; the parent's colour
// stands for it in the others.
TEST(ScaledButton, CornersCutInDevicePixelsAndInControlPixels) {
    TFakeOwner owner;
    TsActiveBGStyle style(&owner);
    style.SetControlKind(93);
    style.CacheBmp().SetWidth(150);
    style.CacheBmp().SetHeight(50);
    TsButtonLook look;
    look.Scale = 2;
    const auto cut = PaintButton(style, look);
    ASSERT_TRUE(cut.has_value());
    int devicePixels = 0;
    for (const TRect& r : *cut) {
        devicePixels += (r.Right - r.Left) * (r.Bottom - r.Top);
    }
    EXPECT_EQ(devicePixels, 4 * 21);
    std::set<std::pair<int, int>> controlPixels;
    for (const TRect& r : ControlPixelsCut(*cut, 75, 25, 2)) {
        for (int x = r.Left; x < r.Right; ++x) {
            controlPixels.insert({x, r.Top});
        }
    }
    EXPECT_EQ(controlPixels, (std::set<std::pair<int, int>>{{0, 0},
                                                            {1, 0},
                                                            {0, 1},
                                                            {73, 0},
                                                            {74, 0},
                                                            {74, 1},
                                                            {0, 23},
                                                            {0, 24},
                                                            {1, 24},
                                                            {74, 23},
                                                            {73, 24},
                                                            {74, 24}}));
    EXPECT_EQ(CountPixels(style.CacheBmp(), owner.ParentColor()), 4 * 21);
}

} // namespace
