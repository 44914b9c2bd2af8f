#include "OpenDialog.h"

#include <QFileDialog>

QStringList TOpenDialog::NameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    if (parts.size() == 1) {
        return parts;
    }
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        filters << parts[i] + " (" + patterns.replace(';', ' ') + ")";
    }
    return filters;
}

std::string TOpenDialog::TypedNameExtension(int index) const {
    const QStringList parts = QString::fromStdString(FFilter).split('|');
    // A bare pattern is its own only filter; pairs hold the patterns second.
    const qsizetype at = parts.size() == 1 ? qsizetype{index} - 1 : 2 * qsizetype{index} - 1;
    if (index >= 1 && at < parts.size()) {
        const QString first = parts[at].split(';').front().trimmed();
        if (first.startsWith("*.") && first.size() > 2 && first.indexOf('*', 1) < 0) {
            return first.mid(2).toStdString();
        }
    }
    return FDefaultExt;
}

bool TOpenDialog::Execute(QWidget* parent) {
    if (Runner) {
        return Runner(*this);
    }
    QFileDialog dialog(parent, QString::fromStdString(FTitle), QString::fromStdString(FInitialDir));
    if (FKind == TDialogKind::dkSave) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite,
                         !FOptions.contains(TOpenOption::ofOverwritePrompt));
    } else if (FOptions.contains(TOpenOption::ofAllowMultiSelect)) {
        dialog.setFileMode(QFileDialog::ExistingFiles);
    } else if (FOptions.contains(TOpenOption::ofFileMustExist)) {
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    const QStringList filters = NameFilters(FFilter);
    if (!FFilter.empty()) {
        dialog.setNameFilters(filters);
        if (FFilterIndex >= 1 && FFilterIndex <= filters.size()) {
            dialog.selectNameFilter(filters[FFilterIndex - 1]);
        }
    }
    // The dialog adds the suffix before it checks for an existing file, so the question about
    // overwriting is asked for the name that is written.
    const auto followFilter = [&](const QString& filter) {
        dialog.setDefaultSuffix(
            QString::fromStdString(TypedNameExtension(int(filters.indexOf(filter)) + 1)));
    };
    followFilter(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    FFilterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    FFiles.clear();
    for (const QString& name : dialog.selectedFiles()) {
        FFiles.push_back(name.toStdString());
    }
    FFileName = FFiles.empty() ? std::string() : FFiles.front();
    return true;
}
