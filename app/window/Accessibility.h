#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QString>

#include <string>

// Screen readers: Qt knows its own widgets; these are the interfaces of the program's own
// controls, which paint themselves and so tell Qt nothing of what they are.

// Registers the interfaces of TsButton, TsCheckBox, TRLed, TBUImage and the About box's links
// with Qt; before the first window is made, as Qt keeps an interface once it has made one.
void InstallAccessibleFactory();

// Runs act on the control once the screen reader's call has returned, as Qt's own controls act: an
// action may open a modal box, which must not hold the call up. Nothing happens when the control
// is gone by then.
template <class TControl, class TAct> void ActAfterTheCall(TControl* control, TAct act) {
    QMetaObject::invokeMethod(
        control,
        [target = QPointer<TControl>(control), act] {
            if (target) {
                act(*target);
            }
        },
        Qt::QueuedConnection);
}

// A caption as a screen reader names its control: the characters the control shows, without the
// "&" that marks the accelerator ("&&" is a plain "&").
QString AccessibleCaption(const std::string& caption);
