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

bool TOpenDialog::Execute(QWidget* parent) {
    if (Runner) {
        return Runner(*this);
    }
    QFileDialog dialog(parent, QString::fromStdString(FTitle), QString::fromStdString(FInitialDir));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (FOptions.contains(TOpenOption::ofAllowMultiSelect)) {
        dialog.setFileMode(QFileDialog::ExistingFiles);
    } else if (FOptions.contains(TOpenOption::ofFileMustExist)) {
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (!FFilter.empty()) {
        dialog.setNameFilters(NameFilters(FFilter));
    }
    dialog.setDefaultSuffix(QString::fromStdString(FDefaultExt));
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    FFiles.clear();
    for (const QString& name : dialog.selectedFiles()) {
        FFiles.push_back(name.toStdString());
    }
    FFileName = FFiles.empty() ? std::string() : FFiles.front();
    return true;
}
