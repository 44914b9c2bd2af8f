#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <set>
#include <string>
#include <vector>

class QWidget;

enum class TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden,
};
using TOpenOptions = std::set<TOpenOption>;

// Open: the dialog picks existing files. Save: it names a file to write, which need not exist,
// and with ofOverwritePrompt asks before an existing one is taken.
enum class TDialogKind { dkOpen, dkSave };

// The open-file dialog: its settings, and the names chosen by the last confirmed Execute.
class TOpenDialog {
public:
    TDialogKind Kind() const { return FKind; }
    void SetKind(TDialogKind v) { FKind = v; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& v) { FTitle = v; }
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& v) { FInitialDir = v; }
    const TOpenOptions& Options() const { return FOptions; }
    void SetOptions(const TOpenOptions& v) { FOptions = v; }
    // "Description|pattern|…" pairs, or one bare pattern such as "*.jpg".
    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& v) { FFilter = v; }
    // The filter shown first, counted from 1; after a confirmed Execute the one the user chose.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int v) { FFilterIndex = v; }
    // The extension a name typed without one gets when the chosen filter has no extension of
    // its own (such as "*").
    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& v) { FDefaultExt = v; }

    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& v) { FFileName = v; }
    const std::vector<std::string>& Files() const { return FFiles; }
    void SetFiles(const std::vector<std::string>& v) { FFiles = v; }

    // Runs the dialog over parent; true when the user confirmed.
    bool Execute(QWidget* parent);

    // The filter as the Qt dialog's name filters.
    static QStringList NameFilters(const std::string& filter);
    // What a name typed without an extension gets with the filter of that index: the extension
    // of the filter's first pattern ("png" for "*.png;*.PNG"), else DefaultExt.
    std::string TypedNameExtension(int index) const;

    // Runs instead of Qt's dialog when set (tests): fills FileName and Files, returns whether
    // the user confirmed.
    static inline std::function<bool(TOpenDialog&)> Runner;

private:
    TDialogKind FKind = TDialogKind::dkOpen;
    std::string FTitle;
    std::string FInitialDir;
    TOpenOptions FOptions{TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing};
    std::string FFilter;
    int FFilterIndex = 1;
    std::string FDefaultExt;
    std::string FFileName;
    std::vector<std::string> FFiles;
};
