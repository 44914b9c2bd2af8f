#pragma once

#include <QRect>

class QGroupBox;
class QLabel;
class QWidget;
class TsButton;
class TsCheckBox;
class TsEdit;

// The controls of the program's windows as their forms describe them, in the program's skin.

// Far beyond any data that fits the code image, and short enough that a field stays quick.
inline constexpr int FieldLengthLimit = 4096;

// A classic group box across the window's width: an etched frame that starts half a line down,
// the caption on its top edge, so that the controls keep their places below it.
QGroupBox* NewGroup(QWidget* parent, const char* caption, int top, int height, int width = 523);
// Checked, in the Tab order, with its focus frame.
TsCheckBox* NewCheckBox(QWidget* parent, const char* caption, int left, int top);
// Holds at most FieldLengthLimit characters.
TsEdit* NewEdit(QWidget* parent, const char* text, QRect place);
// The shared gray-to-white face with its hot gradient.
TsButton* NewButton(QWidget* parent, const char* caption, QRect place);
// Bold, right-aligned at (left, top).
QLabel* NewLabel(QWidget* parent, const char* caption, int left, int top);
