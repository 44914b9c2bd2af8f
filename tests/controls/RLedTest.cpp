#include "RLed.h"

#include "QtBridge.h"

#include <QEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        Count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

} // namespace

TEST(RLed, PaintsEachAcceptedChangeBeforeTheSetterReturns) {
    QWidget window;
    window.resize(523, 40);
    TRLed led(&window);
    led.Load(MainWindowLedBar);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    PaintCounter counter;
    led.installEventFilter(&counter);

    // No event loop runs after the setter, as in a batch run.
    led.SetPosition(50);
    EXPECT_EQ(counter.Count, 1);
    EXPECT_EQ(led.grab().toImage().convertToFormat(QImage::Format_RGB32),
              BitmapImage(led.Bar().Image()));
}
