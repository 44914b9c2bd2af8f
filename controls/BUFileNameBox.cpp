#include "BUFileNameBox.h"

#include "BoxGlyphs.h"

TBUFileNameBox::TBUFileNameBox(QWidget* parent) : TBUCustomBox(parent) {
    SetPicture(FileGlyph());
}

void TBUFileNameBox::ButtonClick() {
    if (!FDialog.Execute(this)) {
        if (OnOpenCanceld) {
            OnOpenCanceld(this);
        }
        return;
    }
    if (FDialog.Options().contains(TOpenOption::ofAllowMultiSelect)) {
        const std::vector<std::string>& files = FDialog.Files();
        std::string names;
        for (std::size_t i = 0; i < files.size(); ++i) {
            names += (i > 0 ? "," : "") + files[i];
        }
        SetFileName(names);
        FFiles = FDialog.Files();
    } else {
        SetFileName(FDialog.FileName());
    }
    if (OnOpened) {
        OnOpened(this, FileName());
    }
}
