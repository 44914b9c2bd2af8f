#include "BUSelectDirectory.h"

#include "Exception.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The absolute form of a path with links, "." and ".." resolved as far as it exists, and no
// trailing separator.
fs::path Resolved(const std::string& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
    if (!resolved.has_filename() && resolved.has_relative_path()) {
        resolved = resolved.parent_path();
    }
    return resolved;
}

} // namespace

bool TBUSelectDirectory::IsInside(const std::string& root, const std::string& path) {
    const fs::path r = Resolved(root);
    const fs::path p = Resolved(path);
    return std::mismatch(r.begin(), r.end(), p.begin(), p.end()).first == r.end();
}

bool TBUSelectDirectory::Execute() {
    FDirectory = FClassicDialog ? FStartDir : std::string();
    const bool confirmed = Runner ? Runner(*this, FDirectory) : RunDialog();
    return confirmed && (!FClassicDialog || AcceptMissing());
}

bool TBUSelectDirectory::AcceptMissing() {
    std::error_code error;
    if (FDirectory.empty() || fs::exists(FDirectory, error)) {
        return true;
    }
    if (!FOptions.contains(TSelectDirOpt::sdAllowCreate)) {
        return false;
    }
    if (FOptions.contains(TSelectDirOpt::sdPrompt)) {
        const std::string question = "The directory " + FDirectory + " does not exist. Create it?";
        const bool yes =
            Ask ? Ask(question)
                : QMessageBox::question(Owner(), QString(), QString::fromStdString(question)) ==
                      QMessageBox::Yes;
        if (!yes) {
            return false;
        }
    }
    if (FOptions.contains(TSelectDirOpt::sdPerformCreate)) {
        fs::create_directories(FDirectory, error);
        if (error) {
            throw Exception("Cannot create directory " + FDirectory);
        }
    }
    return true;
}

bool TBUSelectDirectory::RunDialog() {
    const bool keepInRoot = !FClassicDialog && !FStartDir.empty();
    const QString start = QString::fromStdString(FClassicDialog ? FDirectory : FStartDir);
    QFileDialog dialog(Owner(), QString::fromStdString(FClassicDialog ? std::string() : FTitle),
                       start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    // Without sdAllowCreate there is no button for a new folder.
    dialog.setOption(QFileDialog::ReadOnly, !FOptions.contains(TSelectDirOpt::sdAllowCreate));
    if (keepInRoot) {
        dialog.setSidebarUrls({QUrl::fromLocalFile(start)});
        QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog,
                         [&](const QString& entered) {
                             if (!IsInside(FStartDir, entered.toStdString())) {
                                 dialog.setDirectory(start);
                             }
                         });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    const std::string chosen = dialog.selectedFiles().front().toStdString();
    // A path typed by hand can still point outside the root.
    if (keepInRoot && !IsInside(FStartDir, chosen)) {
        return false;
    }
    FDirectory = chosen;
    return true;
}
