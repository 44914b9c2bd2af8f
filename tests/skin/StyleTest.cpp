#include "sGraphUtils.h"
#include "sStyleEdits.h"
#include "sStyleSimply.h"

#include "Exception.h"
#include "FakeOwner.h"
#include "Testing.h"

TEST(Style, ImageAndGradientSharesNeverExceed100) {
    TsActiveBGStyle s(nullptr);
    TsBackground& bg = s.Background();
    bg.Image().SetPercent(50);
    EXPECT_EQ(bg.Gradient().Percent(), 50);
    bg.Gradient().SetPercent(80);
    EXPECT_EQ(bg.Image().Percent(), 20);
    bg.Gradient().SetPercent(101);
    EXPECT_EQ(bg.Gradient().Percent(), 80);
    bg.Image().SetPercent(10);
    EXPECT_EQ(bg.Gradient().Percent(), 80);
}

TEST(Style, DataIsStoredBeforeAConversionErrorAndInvalidates) {
    TFakeOwner owner;
    TsActiveBGStyle s(&owner);
    s.Background().Gradient().SetData(NormalGradient);
    EXPECT_EQ(s.Background().Gradient().Segments().size(), 2u);
    EXPECT_EQ(owner.Repaints, 1);
    EXPECT_THROW(s.Background().Gradient().SetData("1;2;3;4;5;a;7;8;9;10"), EConvertError);
    EXPECT_EQ(s.Background().Gradient().Data(), "1;2;3;4;5;a;7;8;9;10");
    s.Background().Gradient().SetData(std::string(300, '1'));
    EXPECT_EQ(s.Background().Gradient().Data().size(), 255u);
}

TEST(Style, HotRuleFirstMatchWins) {
    const struct {
        const char* Name;
        int Kind;
        bool Destroying, ActiveDefault, Enabled, Down, Focused, FocusFlag, Mouse;
        bool Hot;
    } cases[] = {
        {"destroying", 93, true, true, true, true, true, true, true, false},
        {"active default, disabled", 93, false, true, false, false, false, false, false, true},
        {"disabled under the mouse", 93, false, false, false, false, false, false, true, false},
        {"button held down", 91, false, false, true, true, false, false, false, true},
        {"edit 'held down'", 3, false, false, true, true, false, false, false, false},
        {"never-hot kind, focused", 60, false, false, true, false, true, true, true, false},
        {"focus flag", 3, false, false, true, false, false, true, false, true},
        {"input focus", 32, false, false, true, false, true, false, false, true},
        {"mouse over", 32, false, false, true, false, false, false, true, true},
        {"nothing", 93, false, false, true, false, false, false, false, false},
    };
    for (const auto& c : cases) {
        TFakeOwner owner;
        TsStyle s(&owner);
        s.SetControlKind(c.Kind);
        if (c.FocusFlag) {
            s.Notify(TsMessage::SetFocus);
        }
        if (c.Mouse) {
            s.Notify(TsMessage::MouseEnter);
        }
        owner.IsDestroying = c.Destroying;
        owner.IsActiveDefault = c.ActiveDefault;
        owner.IsEnabled = c.Enabled;
        owner.IsDown = c.Down;
        owner.HasFocus = c.Focused;
        EXPECT_EQ(s.IsHot(), c.Hot) << c.Name;
    }
    EXPECT_FALSE(TsStyle(nullptr).IsHot());
}

TEST(Style, NotificationsFadeOrRepaint) {
    const struct {
        const char* Name;
        int Kind;
        bool Fades, Focused;
        TsMessage Message;
        std::vector<bool> FadeCalls;
        int Repaints;
    } cases[] = {
        {"button enters: fade-in", 93, true, false, TsMessage::MouseEnter, {true}, 0},
        {"button leaves: fade-out", 93, true, false, TsMessage::MouseLeave, {false}, 0},
        {"button that does not fade", 93, false, false, TsMessage::MouseEnter, {true}, 1},
        {"focused button leaves: no fade", 93, true, true, TsMessage::MouseLeave, {}, 0},
        {"edit enters", 3, true, false, TsMessage::MouseEnter, {}, 1},
        {"edit takes the focus", 3, false, false, TsMessage::SetFocus, {}, 0},
        {"check box takes the focus", 32, false, false, TsMessage::SetFocus, {}, 1},
        {"edit loses the focus", 3, false, false, TsMessage::KillFocus, {}, 1},
        {"move", 93, false, false, TsMessage::Move, {}, 0},
    };
    for (const auto& c : cases) {
        TFakeOwner owner;
        owner.Fades = c.Fades;
        owner.HasFocus = c.Focused;
        TsStyle s(&owner);
        s.SetControlKind(c.Kind);
        s.SetBGChanged(false);
        const bool handled = s.Notify(c.Message);
        EXPECT_EQ(handled, c.Message == TsMessage::MouseEnter || c.Message == TsMessage::MouseLeave)
            << c.Name;
        EXPECT_EQ(owner.FadeCalls, c.FadeCalls) << c.Name;
        EXPECT_EQ(owner.Repaints, c.Repaints) << c.Name;
    }
    TFakeOwner owner;
    TsStyle s(&owner);
    s.SetBGChanged(false);
    s.SetRegionChanged(false);
    s.Notify(TsMessage::Size);
    EXPECT_TRUE(s.BGChanged());
    EXPECT_TRUE(s.RegionChanged());
}

TEST(Style, GettersAnswerWithTheHotValuesWhileHot) {
    TFakeOwner owner;
    TsActiveBGStyle s(&owner);
    s.SetControlKind(93);
    s.Painting().SetColor(clBtnFace);
    s.Background().Gradient().SetData(NormalGradient);
    s.HotStyle().HotBackground().Gradient().SetData(HotGradient);
    s.HotStyle().HotBackground().Gradient().SetPercent(40);
    EXPECT_EQ(s.GetColor(), 0xF0F0F0);
    EXPECT_EQ(s.GetGradientPercent(), 70);
    EXPECT_EQ(s.GetGradientData().size(), 2u);
    s.Notify(TsMessage::MouseEnter);
    EXPECT_EQ(s.GetColor(), 0xCFB78F);
    EXPECT_EQ(s.GetGradientPercent(), 40);
    EXPECT_EQ(s.GetGradientData().size(), 5u);
    EXPECT_EQ(s.GetBevelWidth(), 5);
}

TEST(Face, SharesOfPictureGradientAndColour) {
    TBitmap tile = WhiteImage(2, 2);
    tile.ScanLine(0)[0] = 0;
    const struct {
        const char* Name;
        int Image, Gradient;
        const char* Data;
        TColor TopLeft, Other;
    } cases[] = {
        {"colour alone", 0, 0, "0;0;100;0;0", 0x302010, 0x302010},
        {"gradient alone", 0, 100, "0;0;100;0;0", 0, 0},
        {"no segments fill the colour", 0, 100, "", 0x302010, 0x302010},
        {"direction 2 leaves the old pixels", 0, 100, "0;0;100;2;0", 0x777777, 0x777777},
        {"picture alone", 100, 0, "", 0, 0xFFFFFF},
        // Picture 50 %, gradient 50 %: t = 127, the picture keeps 127/256.
        {"picture and gradient", 50, 50, "0;0;100;0;0", 0, 0x7F7F7F},
    };
    for (const auto& c : cases) {
        TsActiveBGStyle s(nullptr);
        s.Painting().SetColor(0x302010);
        s.Background().Gradient().SetData(c.Data);
        s.Background().Gradient().SetPercent(c.Gradient);
        s.Background().Image().SetPercent(c.Image);
        s.Background().Image().Image().SetBitmap(tile);
        TBitmap face = WhiteImage(4, 4);
        FillDC(face, {0, 0, 4, 4}, 0x777777);
        s.PaintBG(face, {0, 0, 4, 4});
        EXPECT_EQ(face.Pixel(2, 2), c.TopLeft) << c.Name;
        EXPECT_EQ(face.Pixel(3, 2), c.Other) << c.Name;
    }
}
