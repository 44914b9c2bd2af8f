#pragma once

#include "BUCustomBox.h"
#include "BUSelectDirectory.h"

// A directory with a button that picks it with the directory dialog.
class TBUDirectoryBox : public TBUCustomBox {
public:
    explicit TBUDirectoryBox(QWidget* parent = nullptr);

    const std::string& DialogTitle() const { return FDialog.Title(); }
    void SetDialogTitle(const std::string& v) { FDialog.SetTitle(v); }
    const std::string& DialogInitialDir() const { return FDialog.StartDir(); }
    void SetDialogInitialDir(const std::string& v) { FDialog.SetStartDir(v); }
    const TSelectDirOpts& DialogOptions() const { return FDialog.Options(); }
    void SetDialogOptions(const TSelectDirOpts& v) { FDialog.SetOptions(v); }
    // The edit's text as a path ("~" is the home directory); set as it stands.
    std::string Directory() const { return Path(); }
    void SetDirectory(const std::string& v) { SetText(v); }
    bool ClassicDialog() const { return FClassicDialog; }
    void SetClassicDialog(bool v) { FClassicDialog = v; }

    TOnOpened OnOpened;
    TNotifyEvent OnOpenCanceled;

protected:
    void ButtonClick() override;

private:
    TBUSelectDirectory FDialog;
    bool FClassicDialog = true;
};
