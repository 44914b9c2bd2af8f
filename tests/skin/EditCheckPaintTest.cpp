#include "sBuiltinImages.h"
#include "sCheckPaint.h"
#include "sEditPaint.h"
#include "sGraphUtils.h"
#include "sStyleEdits.h"

#include "FakeOwner.h"
#include "Testing.h"

namespace {

// The ring of the frame a pixel lies on, counted from the outer edge.
int Ring(int x, int y, int w, int h) {
    return std::min(std::min(x, y), std::min(w - 1 - x, h - 1 - y));
}

TEST(EditFrame, PaleWithoutLinesNormallyWhiteWithTwoLinesWhileHot) {
    constexpr TColor Field = 0xECFFFF, Bottom = 0x7E756B, White = 0xFFFFFF;
    const struct {
        const char* Name;
        bool Hot;
        TsEditorBevel SelectionBevel;
        std::vector<TColor> Rings; // top-left colour of rings 0, 1, 2
        std::vector<TColor> BottomRight;
    } cases[] = {
        {"normal", false, ebAsBottomBorder, {Field, Field, Field}, {Field, Field, Field}},
        {"hot", true, ebAsBottomBorder, {Bottom, Bottom, White}, {Bottom, Bottom, White}},
        {"hot, lowered", true, ebLowered, {0xA0A0A0, 0x696969, White}, {White, 0xE3E3E3, White}},
    };
    for (const auto& c : cases) {
        TFakeOwner owner;
        owner.HasFocus = c.Hot;
        TsStyle style(&owner);
        style.SetControlKind(3);
        style.Selection().Border().SetBevel(c.SelectionBevel);
        TBitmap image = WhiteImage(20, 21);
        FillDC(image, {0, 0, 20, 21}, clRed);
        PaintEditFrame(image, style);
        for (int ring = 0; ring < 3; ++ring) {
            EXPECT_EQ(image.Pixel(ring, 10), c.Rings[ring]) << c.Name << " left " << ring;
            EXPECT_EQ(image.Pixel(10, ring), c.Rings[ring]) << c.Name << " top " << ring;
            EXPECT_EQ(image.Pixel(19 - ring, 10), c.BottomRight[ring]) << c.Name << ring;
            EXPECT_EQ(image.Pixel(10, 20 - ring), c.BottomRight[ring]) << c.Name << ring;
        }
        int inside = 0;
        for (int y = 0; y < 21; ++y) {
            for (int x = 0; x < 20; ++x) {
                inside += Ring(x, y, 20, 21) >= 2 && image.Pixel(x, y) == c.Rings[2];
            }
        }
        EXPECT_EQ(inside, 16 * 17) << c.Name;
    }
}

TEST(CheckBox, AnEmptyCaptionDrawsOnlyTheGlyph) {
    TsCheckLook look;
    TBitmap image = WhiteImage(100, 18);
    const TBitmap& glyph = CheckGlyph(false, true, false);
    PaintCheckBox(image, look, glyph);
    int glyphPixels = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool opaque = glyph.Pixel(x, y) != clFuchsia;
            glyphPixels += opaque;
            EXPECT_EQ(image.Pixel(x, y + 1), opaque ? glyph.Pixel(x, y) : 0xF0F0F0);
        }
    }
    EXPECT_EQ(CountPixels(image, 0xF0F0F0), 100 * 18 - glyphPixels);

    look.Caption = "Show Text";
    look.FocusFrame = true;
    PaintCheckBox(image, look, glyph);
    // The focus dots around the caption, inverted to 0x0F0F0F.
    EXPECT_GT(CountPixels(image, 0x0F0F0F), 20);
    EXPECT_GE(BoundsOf(image, 0x0F0F0F).Left, 21 - 2);
}

// Disabled, the glyph is greyed as the caption is embossed: each pixel's grey level mixed half
// and half with the button face (0xF0), around it the background as before.
TEST(CheckBox, ADisabledOneGreysItsGlyph) {
    const struct {
        const char* Part;
        int X, Y; // in the glyph, which stands one row down
        TColor Enabled, Disabled;
    } rows[] = {
        {"mark", 11, 4, 0x1E1E1E, 0x878787},   {"frame", 1, 7, 0x6A6A6A, 0xADADAD},
        {"corner", 1, 1, 0xA6A6A6, 0xCBCBCB},  {"fill", 7, 13, 0xFFFFFF, 0xF8F8F8},
        {"outside", 0, 0, 0xF0F0F0, 0xF0F0F0},
    };
    const TBitmap& glyph = CheckGlyph(false, true, false);
    TsCheckLook look;
    TBitmap enabled = WhiteImage(100, 18);
    PaintCheckBox(enabled, look, glyph);
    look.Enabled = false;
    TBitmap disabled = WhiteImage(100, 18);
    PaintCheckBox(disabled, look, glyph);
    for (const auto& row : rows) {
        EXPECT_EQ(enabled.Pixel(row.X, row.Y + 1), row.Enabled) << row.Part;
        EXPECT_EQ(disabled.Pixel(row.X, row.Y + 1), row.Disabled) << row.Part;
    }
}

} // namespace
