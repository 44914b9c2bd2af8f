#pragma once

#include "sCheckedControl.h"

// The check box: a checked control with the check glyphs.
class TsCheckBox : public TsCheckedControl {
public:
    explicit TsCheckBox(QWidget* parent = nullptr);
    std::string ClassName() const override { return "TsCheckBox"; }
};
