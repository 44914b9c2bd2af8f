#include "BUDirectoryBox.h"

#include "BoxGlyphs.h"

#include <filesystem>

TBUDirectoryBox::TBUDirectoryBox(QWidget* parent) : TBUCustomBox(parent), FDialog(this) {
    SetPicture(FolderGlyph());
}

namespace {

// The directory itself, or its nearest parent that exists while it does not yet.
std::string ExistingPart(const std::string& directory) {
    std::filesystem::path path = directory;
    std::error_code error;
    while (!path.empty() && !std::filesystem::is_directory(path, error) &&
           path.has_relative_path()) {
        path = path.parent_path();
    }
    return path.string();
}

} // namespace

void TBUDirectoryBox::ButtonClick() {
    FDialog.SetClassicDialog(FClassicDialog);
    // Without an initial directory of its own, the classic dialog starts at the box's, for this
    // time only: the property keeps its value whatever the dialog raises.
    struct TStartFor {
        TBUSelectDirectory& Dialog;
        const std::string Kept;
        ~TStartFor() { Dialog.SetStartDir(Kept); }
    } start{FDialog, FDialog.StartDir()};
    if (start.Kept.empty() && FClassicDialog) {
        FDialog.SetStartDir(ExistingPart(Directory()));
    }
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
