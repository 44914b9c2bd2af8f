#include "BUImage.h"

#include "Canvas.h"
#include "Testing.h"

#include <QTest>

namespace {

// A one-pixel picture of the colour.
TPicture& Painted(TPicture& picture, TColor color) {
    TBitmap image = WhiteImage(1, 1);
    image.Canvas().Brush().Color = color;
    image.Canvas().FillRect({0, 0, 1, 1});
    picture.SetBitmap(image);
    return picture;
}

// The colour of the shown picture, or -1 when it holds no image.
TColor Shown(TBUImage& control) {
    const TBitmap* image = control.Picture().Bitmap();
    return image ? image->Pixel(0, 0) : -1;
}

constexpr TColor Leave = clRed, Down = clBlue, Clicked1 = clYellow, Clicked2 = clAqua,
                 Drawn = clGray;

struct TBUImageTest : ::testing::Test {
    TBUImage control;
};

// Each press reports a position change with EffectDownUp, each click always.
TEST_F(TBUImageTest, ClicksCycleAsFarAsTheEffectsAllow) {
    struct Case {
        bool DownUp, Click1, Click2;
        int States[3];
        TColor Pictures[3];
    };
    const Case cases[] = {
        {false, true, true, {1, 2, 0}, {Clicked1, Clicked2, Leave}},
        {false, true, false, {1, 0, 1}, {Clicked1, Leave, Clicked1}},
        {true, false, true, {0, 0, 0}, {Leave, Leave, Leave}},
        // All effects off: the control only displays, and a click keeps what it shows.
        {false, false, false, {0, 0, 0}, {Drawn, Drawn, Drawn}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.DownUp << c.Click1 << c.Click2);
        TBUImage image;
        TPicture p;
        image.SetPictureLeave(Painted(p, Leave));
        image.SetPictureDown(Painted(p, Down));
        image.SetPictureClicked1(Painted(p, Clicked1));
        image.SetPictureClicked2(Painted(p, Clicked2));
        int positionChanges = 0;
        image.OnPositionChanged = [&](QObject*) { ++positionChanges; };
        image.SetEffectDownUp(c.DownUp);
        image.SetEffectClick1(c.Click1);
        image.SetEffectClick2(c.Click2);
        image.Picture().SetBitmap(*Painted(p, Drawn).Bitmap());
        for (int i = 0; i < 3; ++i) {
            QTest::mousePress(&image, Qt::LeftButton);
            EXPECT_EQ(Shown(image), c.DownUp ? Down : (i == 0 ? Drawn : c.Pictures[i - 1]));
            QTest::mouseRelease(&image, Qt::LeftButton);
            EXPECT_EQ(image.GetState(), c.States[i]);
            EXPECT_EQ(Shown(image), c.Pictures[i]);
        }
        EXPECT_EQ(positionChanges, c.DownUp ? 6 : 3);
    }
}

TEST_F(TBUImageTest, WheelTurnsBecomeNotches) {
    std::string notches;
    bool handleNotches = true;
    control.OnMouseWheelUp = [&](QObject*, Qt::KeyboardModifiers, QPoint, bool& handled) {
        notches += "up ";
        handled = handleNotches;
    };
    control.OnMouseWheelDown = [&](QObject*, Qt::KeyboardModifiers, QPoint, bool& handled) {
        notches += "down ";
        handled = handleNotches;
    };
    EXPECT_FALSE(control.WheelTurned({}, 60, {}));
    EXPECT_TRUE(control.WheelTurned({}, 60, {}));
    EXPECT_EQ(notches, "up ");
    EXPECT_TRUE(control.WheelTurned({}, -240, {}));
    EXPECT_EQ(notches, "up down down ");
    EXPECT_EQ(control.WheelAccumulator(), 0);
    handleNotches = false;
    EXPECT_FALSE(control.WheelTurned({}, -130, {}));
    EXPECT_EQ(control.WheelAccumulator(), -10);

    // A raw handler that takes the turn leaves the accumulator alone.
    control.OnMouseWheel = [](QObject*, Qt::KeyboardModifiers, int, QPoint, bool& handled) {
        handled = true;
    };
    EXPECT_TRUE(control.WheelTurned({}, 500, {}));
    EXPECT_EQ(control.WheelAccumulator(), -10);
}

// The code image at the screen's ratio (this runs at 1 and at 2): every pixel a whole square of
// device pixels in its own colour, no smoothed edge between two.
TEST(TBUImageWidget, ShowsEachPixelAsAWholeBlock) {
    TBitmap image = WhiteImage(4, 2);
    image.Canvas().Brush().Color = clBlack;
    image.Canvas().FillRect({1, 0, 2, 2});
    image.Canvas().FillRect({3, 1, 4, 2});
    TPicture picture;
    picture.SetBitmap(image);
    TBUImage control;
    control.resize(4, 2);
    control.Picture().Assign(picture);
    const QImage shown = control.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int ratio = static_cast<int>(control.devicePixelRatioF());
    ASSERT_EQ(shown.size(), QSize(4 * ratio, 2 * ratio));
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            EXPECT_EQ(shown.pixel(x, y) & 0xFFFFFF, ColorToPixel(image.Pixel(x / ratio, y / ratio)))
                << x << "," << y;
        }
    }
}

} // namespace
