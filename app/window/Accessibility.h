#pragma once

#include <QString>

#include <string>

// Screen readers: Qt knows its own widgets; these are the interfaces of the program's own
// controls, which paint themselves and so tell Qt nothing of what they are.

// Registers the interfaces of TsButton, TsCheckBox, TRLed, TBUImage and the About box's links
// with Qt; before the first window is made, as Qt keeps an interface once it has made one.
void InstallAccessibleFactory();

// A caption as a screen reader names its control: without the "&" that marks the accelerator
// ("&&" is a plain "&").
QString AccessibleCaption(const std::string& caption);
