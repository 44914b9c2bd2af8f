#include "sButton.h"
#include "sCheckbox.h"
#include "sEdit.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

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

TEST(TsButtonWidget, ClicksOnReleaseInsideOnly) {
    TWindow w;
    QTest::mouseClick(w.Button, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(w.Clicks, 1);
    EXPECT_TRUE(w.Button->hasFocus());
    QTest::mousePress(w.Button, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_TRUE(w.Button->Down());
    QTest::mouseRelease(w.Button, Qt::LeftButton, {}, QPoint(300, 12));
    EXPECT_FALSE(w.Button->Down());
    EXPECT_EQ(w.Clicks, 1);
    w.Button->setEnabled(false);
    QTest::mouseClick(w.Button, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(w.Clicks, 1);
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
    EXPECT_EQ(w.Clicks, 1);
    QTest::keyClick(w.Edit, Qt::Key_Escape);
    EXPECT_EQ(w.Clicks, 1);
    w.Button->SetCancel(true);
    QTest::keyClick(w.Edit, Qt::Key_Escape);
    EXPECT_EQ(w.Clicks, 2);
    QTest::keyClick(w.Edit, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(w.Clicks, 3);
    w.Button->setFocus();
    QTest::keyClick(w.Button, Qt::Key_Space);
    EXPECT_EQ(w.Clicks, 4);
}

// Only a key that pressed the button clicks it when released: the space bar, once however long it
// is held. A key released while the mouse holds the button does not click it, and Esc cancels
// the mouse's press.
TEST(TsButtonWidget, KeysWhileTheMouseHoldsItAndAHeldSpaceBar) {
    enum Kind { MousePress, MouseRelease, KeyPress, KeyRelease, Repeat };
    struct Step {
        Kind What;
        int Key = 0;    // for the keys
        QPoint At = {}; // for the mouse
    };
    const QPoint inside(30, 12);
    const QPoint outside(300, 12);
    const struct {
        const char* Name;
        std::vector<Step> Steps;
        int Clicks;
    } rows[] = {
        {"Shift tapped, released inside",
         {{MousePress, 0, inside},
          {KeyPress, Qt::Key_Shift},
          {KeyRelease, Qt::Key_Shift},
          {MouseRelease, 0, inside}},
         1},
        {"Esc, released outside",
         {{MousePress, 0, inside},
          {KeyPress, Qt::Key_Escape},
          {KeyRelease, Qt::Key_Escape},
          {MouseRelease, 0, outside}},
         0},
        {"Esc, released inside",
         {{MousePress, 0, inside},
          {KeyPress, Qt::Key_Escape},
          {KeyRelease, Qt::Key_Escape},
          {MouseRelease, 0, inside}},
         0},
        {"space held",
         {{KeyPress, Qt::Key_Space},
          {Repeat, Qt::Key_Space},
          {Repeat, Qt::Key_Space},
          {KeyRelease, Qt::Key_Space}},
         1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        TWindow w;
        w.Button->setFocus();
        for (const Step& step : row.Steps) {
            const auto key = [&](QEvent::Type type, bool repeat) {
                QKeyEvent e(type, step.Key, Qt::NoModifier,
                            step.Key == Qt::Key_Space ? QString(" ") : QString(), repeat);
                QApplication::sendEvent(w.Button, &e);
            };
            switch (step.What) {
            case MousePress:
                QTest::mousePress(w.Button, Qt::LeftButton, {}, step.At);
                break;
            case MouseRelease:
                QTest::mouseRelease(w.Button, Qt::LeftButton, {}, step.At);
                break;
            case KeyPress:
                key(QEvent::KeyPress, false);
                break;
            case KeyRelease:
                key(QEvent::KeyRelease, false);
                break;
            case Repeat: // as X11 repeats a held key: a release and a press, both marked
                key(QEvent::KeyRelease, true);
                key(QEvent::KeyPress, true);
                break;
            }
        }
        EXPECT_EQ(w.Clicks, row.Clicks);
        EXPECT_FALSE(w.Button->Down());
    }
}

TEST(TsButtonWidget, ModalResultEndsTheDialog) {
    QDialog dialog;
    TsButton button(&dialog);
    button.SetModalResult(QDialog::Accepted);
    dialog.show();
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(TsButtonWidget, CutCornersAndTheHotFaceWhileFocused) {
    TWindow w;
    const QRegion mask = w.Button->mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(74, 24)));
    EXPECT_TRUE(mask.contains(QPoint(3, 0)));
    EXPECT_TRUE(mask.contains(QPoint(37, 12)));

    w.Edit->setFocus();
    EXPECT_FALSE(w.Button->sStyle().IsHot());
    const QRgb normal = w.Button->grab().toImage().pixel(6, 12);
    w.Button->setFocus();
    EXPECT_TRUE(w.Button->sStyle().IsHot());
    const QRgb hot = w.Button->grab().toImage().pixel(6, 12);
    EXPECT_NE(normal, hot);
    // Leaving with the mouse starts no fade-out while focused.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w.Button, &leave);
    EXPECT_EQ(w.Button->Fader().Direction(), fdNone);
    EXPECT_TRUE(w.Button->sStyle().IsHot());
}

TEST(TsButtonWidget, HoverFadesIn) {
    TWindow w;
    w.Edit->setFocus();
    QEnterEvent enter(QPointF(5, 5), QPointF(15, 15), QPointF(15, 15));
    QApplication::sendEvent(w.Button, &enter);
    EXPECT_EQ(w.Button->Fader().Direction(), fdIn);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Button->Fader().Direction() == fdNone; }, 2000));
    EXPECT_EQ(w.Button->Fader().Counter(), 5);
}

TEST(TsEditWidget, HotUnderTheMouse) {
    TWindow w;
    w.Button->setFocus();
    const auto corner = [&] { return w.Edit->grab().toImage().pixel(0, 10) & 0xFFFFFF; };
    EXPECT_EQ(corner(), 0xFFFFECu);
    QEnterEvent enter(QPointF(5, 5), QPointF(15, 55), QPointF(15, 55));
    QApplication::sendEvent(w.Edit, &enter);
    EXPECT_EQ(corner(), 0x6B757Eu);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w.Edit, &leave);
    EXPECT_EQ(corner(), 0xFFFFECu);
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

    w.Check->SetReadOnly(true);
    QTest::mouseClick(w.Check, Qt::LeftButton, {}, QPoint(5, 9));
    QTest::keyClick(w.Check, Qt::Key_Space);
    EXPECT_TRUE(w.Check->Checked());
    EXPECT_EQ(w.Changes, 3);
    w.Check->SetChecked(false);
    EXPECT_EQ(w.Changes, 3);
}

TEST(TsCheckBoxWidget, KeyNavigationMovesTheFocus) {
    TWindow w;
    w.Check->SetTabStop(true);
    w.Edit->sStyle().SetKeysNextControl("40");
    w.Edit->setFocus();
    QTest::keyClick(w.Edit, Qt::Key_Down);
    EXPECT_TRUE(w.Check->hasFocus());
}

} // namespace
