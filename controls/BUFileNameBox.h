#pragma once

#include "BUCustomBox.h"
#include "OpenDialog.h"

// A file name with a button that picks it with the open-file dialog, or with the save dialog
// for a name to write to.
class TBUFileNameBox : public TBUCustomBox {
public:
    explicit TBUFileNameBox(QWidget* parent = nullptr);

    TDialogKind DialogKind() const { return FDialog.Kind(); }
    void SetDialogKind(TDialogKind v) { FDialog.SetKind(v); }
    const std::string& DialogTitle() const { return FDialog.Title(); }
    void SetDialogTitle(const std::string& v) { FDialog.SetTitle(v); }
    const std::string& DialogInitialDir() const { return FDialog.InitialDir(); }
    void SetDialogInitialDir(const std::string& v) { FDialog.SetInitialDir(v); }
    const TOpenOptions& DialogOptions() const { return FDialog.Options(); }
    void SetDialogOptions(const TOpenOptions& v) { FDialog.SetOptions(v); }
    const std::string& DialogFilter() const { return FDialog.Filter(); }
    void SetDialogFilter(const std::string& v) { FDialog.SetFilter(v); }
    const std::string& DefaultExtension() const { return FDialog.DefaultExt(); }
    void SetDefaultExtension(const std::string& v) { FDialog.SetDefaultExt(v); }
    // The edit's text as a path ("~" is the home directory); set as it stands.
    std::string FileName() const { return Path(); }
    void SetFileName(const std::string& v) { SetText(v); }
    // The names of the last multiple selection.
    const std::vector<std::string>& Files() const { return FFiles; }

    TOnOpened OnOpened;
    TNotifyEvent OnOpenCanceld;

protected:
    void ButtonClick() override;

private:
    TOpenDialog FDialog;
    std::vector<std::string> FFiles;
};
