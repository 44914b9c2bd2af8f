#include "BUDirectoryBox.h"

#include "BoxGlyphs.h"

TBUDirectoryBox::TBUDirectoryBox(QWidget* parent) : TBUCustomBox(parent), FDialog(this) {
    SetPicture(FolderGlyph());
}

void TBUDirectoryBox::ButtonClick() {
    FDialog.SetClassicDialog(FClassicDialog);
    if (!FDialog.Execute()) {
        if (OnOpenCanceled) {
            OnOpenCanceled(this);
        }
        return;
    }
    SetDirectory(FDialog.Directory());
    if (OnOpened) {
        OnOpened(this, Directory());
    }
}
