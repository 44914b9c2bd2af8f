#pragma once

#include "BUCommonDialog.h"

#include <functional>
#include <set>
#include <string>

enum class TSelectDirOpt { sdAllowCreate, sdPerformCreate, sdPrompt };
using TSelectDirOpts = std::set<TSelectDirOpt>;

// Chooses a directory with the classic directory dialog, or with the folder browser, which
// cannot leave StartDir.
class TBUSelectDirectory : public TBUCommonDialog {
public:
    using TBUCommonDialog::TBUCommonDialog;

    bool ClassicDialog() const { return FClassicDialog; }
    void SetClassicDialog(bool v) { FClassicDialog = v; }
    const std::string& StartDir() const { return FStartDir; }
    void SetStartDir(const std::string& v) { FStartDir = v; }
    const TSelectDirOpts& Options() const { return FOptions; }
    void SetOptions(const TSelectDirOpts& v) { FOptions = v; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int v) { FHelpContext = v; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& v) { FTitle = v; }
    // The directory chosen by the last Execute.
    const std::string& Directory() const { return FDirectory; }

    // The classic dialog starts at StartDir and confirms only an existing directory, or with
    // sdAllowCreate one to be made: sdPrompt asks first, sdPerformCreate creates it with its
    // parents. The browser starts empty and keeps to StartDir.
    bool Execute() override;

    // Whether path lies in root or below it (after resolving links and "..").
    static bool IsInside(const std::string& root, const std::string& path);

    // Run instead of Qt's dialogs and question when set (tests). Runner gets the directory to
    // start from (empty for the browser), leaves the choice in it and returns whether the user
    // confirmed; Ask answers a yes/no question.
    static inline std::function<bool(const TBUSelectDirectory&, std::string& directory)> Runner;
    static inline std::function<bool(const std::string& question)> Ask;

private:
    bool RunDialog();
    bool AcceptMissing();

    bool FClassicDialog = true;
    std::string FStartDir;
    TSelectDirOpts FOptions;
    int FHelpContext = 0;
    std::string FTitle;
    std::string FDirectory;
};
