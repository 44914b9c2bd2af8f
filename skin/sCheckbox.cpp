#include "sCheckbox.h"

#include "sConst.h"

TsCheckBox::TsCheckBox(QWidget* parent) : TsCheckedControl(parent) {
    sStyle().SetControlKind(ckCheckBox);
}
