#include "Accessibility.h"

#include "AboutLinkAccessible.h"
#include "BUImage.h"
#include "BUImageAccessible.h"
#include "RLed.h"
#include "RLedAccessible.h"
#include "TextLayout.h"
#include "Utf8.h"
#include "sButton.h"
#include "sButtonAccessible.h"
#include "sCheckBoxAccessible.h"
#include "sCheckbox.h"

#include <QLabel>

namespace {

// Qt asks once per class name of the object's meta-object chain; the skinned controls have no
// meta-object of their own, so the object's type decides, whatever the name.
QAccessibleInterface* AccessibleFactory(const QString&, QObject* object) {
    if (auto* button = dynamic_cast<TsButton*>(object)) {
        return new TsButtonAccessible(button);
    }
    if (auto* box = dynamic_cast<TsCheckBox*>(object)) {
        return new TsCheckBoxAccessible(box);
    }
    if (auto* led = qobject_cast<TRLed*>(object)) {
        return new TRLedAccessible(led);
    }
    if (auto* image = dynamic_cast<TBUImage*>(object)) {
        return new TBUImageAccessible(image);
    }
    if (auto* label = qobject_cast<QLabel*>(object); label != nullptr && IsAboutLink(label)) {
        return new TAboutLinkAccessible(label);
    }
    return nullptr;
}

} // namespace

void InstallAccessibleFactory() {
    QAccessible::installFactory(AccessibleFactory);
}

QString AccessibleCaption(const std::string& caption) {
    return QString::fromStdU32String(WithoutPrefixes(DecodeUtf8(caption)));
}
