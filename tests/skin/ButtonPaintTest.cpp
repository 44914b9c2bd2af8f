#include "sBorders.h"
#include "sBuiltinImages.h"
#include "sButtonPaint.h"
#include "sFade.h"
#include "sGraphUtils.h"
#include "sStyleSimply.h"

#include "FakeOwner.h"
#include "Testing.h"

namespace {

// Where a face takes each pixel from in a 10 × 10-cell mask block, for a 75 × 25 face: 10-pixel
// corners, five full top tiles and a 5-pixel one, one 5-pixel side tile; for a 15 × 9 one:
// corners 7 and 8 wide, 4 and 5 high, the right and bottom ones taking the odd pixel; for a 5 × 5
// one, corners 2 and 3 pixels wide and high, which cut out parts of the rounding.
struct TFaceTiles {
    int Width, Height;
    int (*SourceX)(int);
    int (*SourceY)(int);
};
constexpr TFaceTiles FaceTiles[] = {
    {75, 25, [](int x) { return x < 10 ? x : (x < 65 ? 10 + (x - 10) % 10 : 20 + (x - 65)); },
     [](int y) { return y < 10 ? y : (y < 15 ? 10 + (y - 10) : 20 + (y - 15)); }},
    {15, 9, [](int x) { return x < 7 ? x : x + 15; }, [](int y) { return y < 4 ? y : y + 21; }},
    {5, 5, [](int x) { return x < 2 ? x : x + 25; }, [](int y) { return y < 2 ? y : y + 25; }},
};

TEST(BorderMask, TilesCornersEdgesAndCentre) {
    const TBitmap& mask = BorderMask(pdBorder1);
    for (const TFaceTiles& tiles : FaceTiles) {
        for (const int state : {0, 1, 2}) {
            const int w = tiles.Width;
            const int h = tiles.Height;
            TBitmap face = WhiteImage(w, h);
            FillDC(face, {0, 0, w, h}, 0x336699);
            std::vector<TRect> cut;
            ApplyBorderMask(face, mask, state, clFuchsia, &cut);
            std::set<std::pair<int, int>> cutPixels;
            for (const TRect& r : cut) {
                ASSERT_EQ(r.Bottom - r.Top, 1);
                for (int x = r.Left; x < r.Right; ++x) {
                    cutPixels.insert({x, r.Top});
                }
            }
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const int sx = 30 * state + tiles.SourceX(x);
                    const int sy = tiles.SourceY(y);
                    const std::uint32_t m = mask.ScanLine(sy)[sx];
                    const std::uint32_t a = mask.ScanLine(sy + 30)[sx] & 0xFF;
                    const bool transparent = m == 0xFF00FF;
                    ASSERT_EQ(cutPixels.count({x, y}) == 1, transparent) << x << "," << y;
                    // Gray masks: every channel has the same alpha.
                    const std::uint32_t b = 0x996633;
                    std::uint32_t want = b;
                    if (!transparent) {
                        want = 0;
                        for (int s = 0; s <= 16; s += 8) {
                            want |= ((((m >> s) & 0xFF) * (256 - a) + ((b >> s) & 0xFF) * a) >> 8)
                                    << s;
                        }
                    }
                    ASSERT_EQ(face.ScanLine(y)[x], want)
                        << w << " " << state << ": " << x << "," << y;
                }
            }
        }
    }
}

TEST(Fader, FrameWeightsOfAFadeInAndOut) {
    TsFader fader;
    const auto run = [&fader](int iterations) {
        std::vector<int> weights;
        for (;;) {
            const TsFader::TStep step = fader.Tick(iterations, false);
            if (step.Kind != TsFader::skFrame) {
                weights.push_back(step.Kind == TsFader::skFinished ? -1 : -2);
                return weights;
            }
            weights.push_back(step.Weight);
        }
    };
    fader.StartIn();
    EXPECT_EQ(run(5), (std::vector<int>{204, 153, 102, 51, 0, -1}));
    fader.StartOut();
    EXPECT_EQ(run(5), (std::vector<int>{0, 51, 102, 153, 204, 255, -1}));
    EXPECT_EQ(fader.Counter(), 0);
    // No intermediate frames: the new face at once, either way.
    fader.StartIn();
    EXPECT_EQ(run(0), (std::vector<int>{-1}));
    fader.StartOut();
    EXPECT_EQ(run(0), (std::vector<int>{-1}));
    // A press halts a fade; a gone button stops it.
    fader.StartIn();
    fader.Halt(5);
    EXPECT_EQ(fader.Counter(), 4);
    EXPECT_EQ(run(5), (std::vector<int>{-2}));
    fader.StartIn();
    EXPECT_EQ(fader.Tick(5, true).Kind, TsFader::skStopped);
}

TEST(Fader, FramesBlendTheSnapshotAndTheNewFace) {
    TBitmap snapshot = WhiteImage(1, 1);
    snapshot.ScanLine(0)[0] = 0;
    const TBitmap cache = WhiteImage(1, 1);
    TBitmap frame;
    FadeFrame(frame, snapshot, cache, fdIn, 204);  // the black snapshot keeps 204/256
    EXPECT_EQ(frame.ScanLine(0)[0], 0x343434u);    // 255 * 52 / 256 = 51.8
    FadeFrame(frame, snapshot, cache, fdOut, 204); // the white new face keeps 204/256
    EXPECT_EQ(frame.ScanLine(0)[0], 0xCBCBCBu);    // 255 * 204 / 256 = 203.2
}

TsButtonLook Caption(const char* text) {
    TsButtonLook look;
    look.Caption = text;
    return look;
}

// Pressed, a caption moves a pixel right and down.
TEST(Caption, MovesWhenPressed) {
    TBitmap up = WhiteImage(75, 33);
    PaintButtonCaption(up, Caption("Generate and save"), false, clRed, 0);
    TsButtonLook pressed = Caption("Generate and save");
    pressed.Down = true;
    TBitmap down = WhiteImage(75, 33);
    PaintButtonCaption(down, pressed, false, clRed, 0);
    for (int y = 1; y < 33; ++y) {
        for (int x = 1; x < 75; ++x) {
            ASSERT_EQ(down.Pixel(x, y), up.Pixel(x - 1, y - 1)) << x << "," << y;
        }
    }
}

// Hot, a caption is anti-aliased in the hot colour: red over white, mixed by grey levels.
TEST(Caption, HotColour) {
    TBitmap hot = WhiteImage(75, 25);
    PaintButtonCaption(hot, Caption("Save"), true, clRed, 0);
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 75; ++x) {
            const TColor h = hot.Pixel(x, y);
            EXPECT_TRUE((h & 0xFF) == 0xFF && (h >> 8 & 0xFF) == (h >> 16)) << x << "," << y;
        }
    }
    EXPECT_GT(CountPixels(hot, clRed), 5);
}

TEST(Caption, DottedFocusFrame) {
    TBitmap image = WhiteImage(12, 8);
    FillDC(image, {0, 0, 12, 8}, clRed);
    DrawDottedFrame(image, {2, 2, 8, 5});
    EXPECT_EQ(Art(image),
              (ArtRows{"rrrrrrrrrrrr", "r.rr.rr.rrrr", "rr#rr#rr#rrr", "rrrrrrrrrrrr",
                       "r.rr.rr.rrrr", "rr#rr#rr#rrr", "rrrrrrrrrrrr", "rrrrrrrrrrrr"}));
}

TEST(PaintButton, RegionOnceAndTheFocusFrame) {
    TFakeOwner owner;
    TsActiveBGStyle style(&owner);
    style.SetControlKind(93);
    TsButtonLook look = Caption("Save");
    const auto first = PaintButton(style, look);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->size(), 12u); // three runs a corner
    EXPECT_FALSE(style.RegionChanged());
    const TBitmap plain = style.CacheBmp();
    look.FocusFrame = true;
    EXPECT_FALSE(PaintButton(style, look).has_value());
    EXPECT_GT(CountPixels(style.CacheBmp(), clBlack), CountPixels(plain, clBlack));
}

} // namespace
