#include "AppIcon.h"

#include "Testing.h"

// The symbol (46 modules of side/64 pixels) sits centred below the band, half the side tall;
// the band covers the top eighth.
TEST(AppIcon, SymbolCentredUnderTheBand) {
    struct Case {
        int Size;
        TRect Bars;
    };
    for (const Case& c : {Case{64, {9, 20, 55, 52}}, Case{128, {18, 40, 110, 104}},
                          Case{256, {36, 80, 220, 208}}}) {
        TBitmap icon = WhiteImage(c.Size, c.Size);
        PaintAppIcon(icon);
        EXPECT_EQ(BoundsOf(icon, clBlack), c.Bars) << c.Size;
        EXPECT_EQ(BoundsOf(icon, 0x9A4E1F), (TRect{0, 0, c.Size, c.Size / 8})) << c.Size;
        EXPECT_EQ(CountPixels(icon, clWhite) + CountPixels(icon, clBlack) + c.Size * c.Size / 8,
                  c.Size * c.Size)
            << c.Size;
    }
}
