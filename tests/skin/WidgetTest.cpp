#include "Canvas.h"
#include "sButton.h"
#include "sCheckbox.h"
#include "sEdit.h"

#include "FakeOwner.h"
#include "Testing.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>

namespace {

struct TWindow {
    QWidget Window;
    TsButton* Button = new TsButton(&Window);
    TsEdit* Edit = new TsEdit(&Window);
    TsCheckBox* Check = new TsCheckBox(&Window);
    int Clicks = 0;
    int Changes = 0;
    int CheckClicks = 0;

    TWindow() {
        Button->SetCaption("&Generate");
        Button->move(10, 10);
        Edit->move(10, 50);
        Check->move(10, 80);
        Check->SetCaption("Show Text");
        Button->OnClick = [this](QObject*) { ++Clicks; };
        Check->OnChange = [this](QObject*) { ++Changes; };
        Check->OnClick = [this](QObject*) { ++CheckClicks; };
        Window.resize(200, 120);
        Window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }
};

TEST(TsButtonWidget, ADisabledButtonIsNeitherClickedNorHot) {
    TWindow w;
    w.Button->setEnabled(false);
    QTest::mouseClick(w.Button, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(w.Clicks, 0);
    EXPECT_FALSE(w.Button->sStyle().IsHot());
}

TEST(TsButtonWidget, EnterEscapeSpaceAndAccelerator) {
    TWindow w;
    w.Edit->setFocus();
    QTest::keyClick(w.Edit, Qt::Key_Return);
    EXPECT_EQ(w.Clicks, 0);
    w.Button->SetDefault(true);
    EXPECT_TRUE(w.Button->sStyle().IsHot());
    QTest::keyClick(w.Edit, Qt::Key_Return);
    QTest::keyClick(w.Edit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(w.Clicks, 2);
    QTest::keyClick(w.Edit, Qt::Key_Escape);
    EXPECT_EQ(w.Clicks, 2);
    w.Button->SetCancel(true);
    QTest::keyClick(w.Edit, Qt::Key_Escape);
    EXPECT_EQ(w.Clicks, 3);
    QTest::keyClick(w.Edit, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(w.Clicks, 4);
    w.Button->setFocus();
    QTest::keyClick(w.Button, Qt::Key_Space);
    EXPECT_EQ(w.Clicks, 5);
}

// A press clicks the button when released inside it, a key only if it pressed the button: the
// space bar, once however long it is held. Esc cancels the mouse's press. Steps: p press inside,
// r release inside, o release outside; a capital key letter goes down, a small one up (S Shift, E
// Esc, K space); a is one auto-repeat of the space bar, a release and a press both marked as
// repeated, as X11 sends them.
TEST(TsButtonWidget, MouseAndKeysAndAHeldSpaceBar) {
    const std::pair<const char*, int> rows[] = {{"pr", 1},   {"po", 0},   {"pSsr", 1},
                                                {"pEeo", 0}, {"pEer", 0}, {"Kaak", 1}};
    for (const auto& [steps, clicks] : rows) {
        SCOPED_TRACE(steps);
        TWindow w;
        w.Button->setFocus();
        const auto key = [&](QEvent::Type type, int code, bool repeat) {
            QKeyEvent e(type, code, Qt::NoModifier, code == Qt::Key_Space ? " " : "", repeat);
            QApplication::sendEvent(w.Button, &e);
        };
        for (const char* step = steps; *step != 0; ++step) {
            const char c = *step;
            const int code = std::toupper(c) == 'S'   ? Qt::Key_Shift
                             : std::toupper(c) == 'E' ? Qt::Key_Escape
                                                      : Qt::Key_Space;
            if (c == 'p') {
                QTest::mousePress(w.Button, Qt::LeftButton, {}, QPoint(30, 12));
            } else if (c == 'r' || c == 'o') {
                QTest::mouseRelease(w.Button, Qt::LeftButton, {}, QPoint(c == 'r' ? 30 : 300, 12));
            } else if (c == 'a') {
                key(QEvent::KeyRelease, code, true);
                key(QEvent::KeyPress, code, true);
            } else {
                key(std::isupper(c) ? QEvent::KeyPress : QEvent::KeyRelease, code, false);
            }
        }
        EXPECT_EQ(w.Clicks, clicks);
        EXPECT_FALSE(w.Button->Down());
    }
}

TEST(TsButtonWidget, CutCorners) {
    TWindow w;
    const QRegion mask = w.Button->mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(74, 24)));
    EXPECT_TRUE(mask.contains(QPoint(3, 0)));
    EXPECT_TRUE(mask.contains(QPoint(37, 12)));
}

// The face is painted in device pixels at the screen's ratio (these tests run at 1 and at 2):
// the widget shows the cache pixel for pixel, and down the face every device row has a colour
// of its own, where a face blown up from control pixels would repeat each row.
TEST(TsButtonWidget, PaintsInDevicePixels) {
    TWindow w;
    w.Edit->setFocus();
    w.Button->sStyle().Background().Gradient().SetData(NormalGradient);
    const double ratio = w.Button->devicePixelRatioF();
    const TBitmap& cache = w.Button->sStyle().CacheBmp();
    ASSERT_EQ(cache.Width(), static_cast<int>(std::ceil(75 * ratio)));
    ASSERT_EQ(cache.Height(), static_cast<int>(std::ceil(25 * ratio)));
    const QImage shown = w.Button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(cache.Width(), cache.Height()));
    const int x = static_cast<int>(6 * ratio);
    for (int y = static_cast<int>(6 * ratio); y < cache.Height() - 6 * ratio; ++y) {
        EXPECT_EQ(shown.pixel(x, y) & 0xFFFFFF, ColorToPixel(cache.Pixel(x, y))) << y;
        EXPECT_NE(cache.Pixel(x, y), cache.Pixel(x, y + 1)) << y;
    }
    const TBitmap& check = w.Check->sStyle().CacheBmp();
    EXPECT_EQ(check.Width(), static_cast<int>(std::ceil(100 * ratio)));
    EXPECT_EQ(check.Height(), static_cast<int>(std::ceil(18 * ratio)));
}

TEST(TsCheckBoxWidget, TogglesOnReleaseWhereverUnlessReadOnly) {
    TWindow w;
    QTest::mouseClick(w.Check, Qt::LeftButton, {}, QPoint(5, 9));
    EXPECT_TRUE(w.Check->Checked());
    EXPECT_EQ(w.Changes, 1);
    EXPECT_EQ(w.CheckClicks, 1);
    QTest::mousePress(w.Check, Qt::LeftButton, {}, QPoint(5, 9));
    QTest::mouseRelease(w.Check, Qt::LeftButton, {}, QPoint(500, 9));
    EXPECT_FALSE(w.Check->Checked());
    EXPECT_EQ(w.Changes, 2);
    EXPECT_EQ(w.CheckClicks, 1);
    w.Check->setFocus();
    QTest::keyClick(w.Check, Qt::Key_Space);
    EXPECT_TRUE(w.Check->Checked());
    EXPECT_EQ(w.Changes, 3);
    // The repeats of a space bar held down before the box had the focus do not press it.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(w.Check, &repeat);
    QTest::keyRelease(w.Check, Qt::Key_Space);
    EXPECT_EQ(w.Changes, 3);

    w.Check->SetReadOnly(true);
    QTest::mouseClick(w.Check, Qt::LeftButton, {}, QPoint(5, 9));
    QTest::keyClick(w.Check, Qt::Key_Space);
    EXPECT_TRUE(w.Check->Checked());
    EXPECT_EQ(w.Changes, 3);
    w.Check->SetChecked(false);
    EXPECT_EQ(w.Changes, 3);
}

// A check box showing its focus (as the forms' do): under the mouse it lights its glyph and
// nothing else; focused, it shows the same face and the dotted frame round its caption, one
// inverted line a control pixel thick: every other pixel of each outline, from its top-left
// corner on.
TEST(TsCheckBoxWidget, TheFocusFrameTellsTheFocusFromTheMouse) {
    TWindow w;
    w.Check->SetShowFocus(true);
    w.Edit->setFocus();
    const auto face = [&] {
        w.Check->repaint();
        return w.Check->sStyle().CacheBmp();
    };
    const TBitmap plain = face();
    QEnterEvent enter(QPointF(5, 5), QPointF(15, 85), QPointF(15, 85));
    QApplication::sendEvent(w.Check, &enter);
    const TBitmap hovered = face();
    const double ratio = w.Check->devicePixelRatioF();
    const int glyph = static_cast<int>(std::lround(16 * ratio));
    for (int y = 0; y < plain.Height(); ++y) {
        for (int x = glyph; x < plain.Width(); ++x) {
            ASSERT_EQ(hovered.Pixel(x, y), plain.Pixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_NE(BmpBytes(hovered), BmpBytes(plain));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w.Check, &leave);
    w.Check->setFocus();
    const TBitmap focused = face();
    TRect frame{INT_MAX, INT_MAX, 0, 0};
    for (int y = 0; y < focused.Height(); ++y) {
        for (int x = 0; x < focused.Width(); ++x) {
            if (focused.Pixel(x, y) != hovered.Pixel(x, y)) {
                frame = {std::min(frame.Left, x), std::min(frame.Top, y),
                         std::max(frame.Right, x + 1), std::max(frame.Bottom, y + 1)};
            }
        }
    }
    TBitmap expected = hovered;
    for (int line = 0; line < std::lround(ratio); ++line) {
        expected.Canvas().DrawFocusRect(
            {frame.Left + line, frame.Top + line, frame.Right - line, frame.Bottom - line});
    }
    EXPECT_NE(BmpBytes(focused), BmpBytes(hovered));
    EXPECT_GT(frame.Left, glyph);
    EXPECT_EQ(BmpBytes(focused), BmpBytes(expected));
}

// The arrow keys, on the keypad too, move the focus as the virtual-key numbers name them: 39 and
// 40 to the next control, 37 and 38 to the previous one. The focus runs button, edit, check box.
TEST(TsCheckBoxWidget, ArrowKeysMoveTheFocus) {
    const std::tuple<int, Qt::KeyboardModifiers, bool> rows[] = {
        {Qt::Key_Right, Qt::NoModifier, true},    {Qt::Key_Down, Qt::NoModifier, true},
        {Qt::Key_Left, Qt::NoModifier, false},    {Qt::Key_Up, Qt::NoModifier, false},
        {Qt::Key_Down, Qt::KeypadModifier, true}, {Qt::Key_Up, Qt::KeypadModifier, false}};
    TWindow w;
    w.Check->SetTabStop(true);
    for (TsStyle* style : {&w.Edit->sStyle(), &w.Check->sStyle()}) {
        style->SetKeysNextControl("39,40");
        style->SetKeysPrevControl("37,38");
    }
    for (const auto& [key, modifiers, next] : rows) {
        QWidget* const button = w.Button;
        QWidget* const edit = w.Edit;
        QWidget* const check = w.Check;
        const std::pair<QWidget*, QWidget*> moves[] = {{edit, next ? check : button},
                                                       {check, next ? button : edit}};
        for (const auto& [from, to] : moves) {
            from->setFocus();
            QTest::keyClick(from, static_cast<Qt::Key>(key), modifiers);
            EXPECT_TRUE(to->hasFocus()) << key << " " << modifiers << " from " << (from == edit);
        }
    }
}

// Hovering fades the face in. A caption changed during a fade, or without one, shows as soon as it
// is painted.
TEST(TsButtonWidget, ANewCaptionShows) {
    TWindow w;
    w.Edit->setFocus();
    // What is shown, then what a fresh composition shows.
    const auto shownIsCurrent = [&] {
        const QImage shown = w.Button->grab().toImage();
        w.Button->sStyle().SetBGChanged(true);
        return shown == w.Button->grab().toImage();
    };
    QEnterEvent enter(QPointF(5, 5), QPointF(15, 15), QPointF(15, 15));
    QApplication::sendEvent(w.Button, &enter);
    EXPECT_EQ(w.Button->Fader().Direction(), fdIn);
    w.Button->SetCaption("Stop");
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Button->Fader().Direction() == fdNone; }, 2000));
    EXPECT_EQ(w.Button->Fader().Counter(), 5);
    EXPECT_TRUE(shownIsCurrent());
    w.Button->SetCaption("Generate and save");
    EXPECT_TRUE(shownIsCurrent());
}

} // namespace
