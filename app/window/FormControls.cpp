#include "FormControls.h"

#include "LengthLimit.h"
#include "QtBridge.h"
#include "sButton.h"
#include "sCheckbox.h"
#include "sEdit.h"

#include <QGroupBox>
#include <QLabel>

namespace {

// An etched frame that starts half a line down, the caption on its top edge.
constexpr const char* GroupStyle = "QGroupBox { border: 2px groove #d8d8d8; margin-top: 6px; }"
                                   "QGroupBox::title { subcontrol-origin: margin; left: 7px;"
                                   " padding: 0px 0px; }";

// The skinned controls' stored style: the shared gray-to-white button face with its hot
// gradient, and the edits' and check boxes' light top border.
constexpr const char* ButtonGradient = "8421504;16777215;99;0;0;16777215;16777215;0;0;0";
constexpr const char* ButtonHotGradient =
    "8421504;8421504;10;0;0;8421504;16777215;43;0;0;16777215;10658466;28;0;0;10658466;"
    "13816530;18;0;0;13816530;13816530;0;0;0";

void StyleEditor(TsStyle& style, const char* section) {
    style.SetSkinSection(section);
    style.Painting().SetColorBorderTop(clBtnHighlight);
    style.Caption().SetActive(false);
}

} // namespace

QGroupBox* NewGroup(QWidget* parent, const char* caption, int top, int height, int width) {
    auto* group = new QGroupBox(caption, parent);
    group->setGeometry(0, top, width, height);
    group->setStyleSheet(GroupStyle);
    return group;
}

TsCheckBox* NewCheckBox(QWidget* parent, const char* caption, int left, int top) {
    auto* box = new TsCheckBox(parent);
    box->setGeometry(left, top, 100, 18);
    StyleEditor(box->sStyle(), "TsCheckBox");
    box->SetCaption(caption);
    box->SetChecked(true);
    box->SetTabStop(true);
    // The dotted frame round the caption tells the focus from the mouse, which both light the
    // glyph.
    box->SetShowFocus(true);
    return box;
}

TsEdit* NewEdit(QWidget* parent, const char* text, QRect place) {
    auto* edit = new TsEdit(parent);
    edit->setGeometry(place);
    StyleEditor(edit->sStyle(), "TsEdit");
    new TLengthLimit(edit, FieldLengthLimit);
    edit->setText(text);
    return edit;
}

TsButton* NewButton(QWidget* parent, const char* caption, QRect place) {
    auto* button = new TsButton(parent);
    button->setGeometry(place);
    button->SetCaption(caption);
    TsActiveBGStyle& style = button->sStyle();
    style.SetSkinSection("TsButton");
    style.Painting().SetColor(clBtnFace);
    style.Background().Gradient().SetData(ButtonGradient);
    style.HotStyle().HotBackground().Gradient().SetData(ButtonHotGradient);
    style.HotStyle().HotPainting().SetTransparency(0);
    return button;
}

QLabel* NewLabel(QWidget* parent, const char* caption, int left, int top) {
    auto* label = new QLabel(caption, parent);
    label->setFont(ScreenFont("MS Sans Serif", 8, true));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->move(left, top);
    label->adjustSize();
    return label;
}
