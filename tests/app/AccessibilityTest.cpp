#include "Accessibility.h"
#include "BUImage.h"
#include "ProgramFixture.h"

#include <QAccessible>

namespace {

QAccessibleInterface* Interface(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

} // namespace

// The program's windows with the interfaces screen readers read.
struct AccessibilityTest : MainWindowTest {
    static void SetUpTestSuite() { InstallAccessibleFactory(); }
};

// Named by the caption without its "&", the accelerator its key; Press clicks once the call has
// returned, and a disabled button offers nothing and does nothing.
TEST_F(AccessibilityTest, AButtonPressesAsAPushButton) {
    TsButton button;
    button.SetCaption("&Generate && save");
    int clicks = 0;
    button.OnClick = [&](QObject*) { ++clicks; };
    QAccessibleInterface* face = Interface(&button);
    QAccessibleActionInterface* action = face->actionInterface();
    EXPECT_EQ(face->text(QAccessible::Name), "Generate & save");
    EXPECT_EQ(action->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
              QStringList{"Alt+G"});
    action->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
    button.setEnabled(false);
    EXPECT_TRUE(face->state().disabled);
    EXPECT_EQ(action->actionNames(), QStringList());
    action->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
}

// Toggle clicks the box as the mouse does: a ReadOnly box stays as it is.
TEST_F(AccessibilityTest, ToggleLeavesAReadOnlyCheckBox) {
    Form1.DualCode->SetReadOnly(true);
    QAccessibleInterface* face = Interface(Form1.DualCode);
    EXPECT_TRUE(face->state().readOnly);
    face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCoreApplication::processEvents();
    EXPECT_TRUE(Form1.DualCode->Checked());
}

// A refusal leaves the image blank, and so it is named; its size and place are the picture's.
TEST_F(AccessibilityTest, TheCodeImageSaysWhatItShows) {
    QAccessibleInterface* face = Interface(Form3.Image1);
    QAccessibleImageInterface* image = face->imageInterface();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->imageSize(), QSize(525, 276));
    EXPECT_EQ(image->imagePosition(), Form3.mapToGlobal(QPoint(0, 0)));
    Form1.kod->setText("12x");
    Generate();
    EXPECT_EQ(face->text(QAccessible::Name), "No barcode");
    EXPECT_EQ(image->imageDescription(), "");
}
