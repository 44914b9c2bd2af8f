#pragma once

#include "Symbol.h"

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class TBUFileNameBox;
class TsButton;
class TsCheckBox;
class TsEdit;

// What "Export for print..." and "Print..." draw the symbol with, kept for the session.
struct TExportSettings {
    // An unset X-dimension is the symbology's default.
    TSymbolOptions Symbol;
    // The resolution of raster files.
    int Dpi = SymbolDpi;
    std::string FileName;
};

// "Export for print": the symbol's X-dimension, bar height, the resolution of raster files,
// ITF-14's bearer bars, the human-readable line and the file to write, in the window's skin. The
// bearer bars are chosen only for ITF-14; the choice stays as it was for the others. Export checks
// the fields and closes the dialog only when they hold sizes the symbology can take.
class TExportDialog : public QDialog {
public:
    TExportDialog(QWidget* parent, const TExportSettings& settings, TBarcodeType typ);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* HeightHint;
    QLabel* ResolutionHint;
    TsEdit* XDimEdit;
    TsEdit* HeightEdit;
    TsEdit* ResolutionEdit;
    // Frame, Above and below, None: in the order of TBearer.
    QComboBox* BearerBox;
    TsCheckBox* HumanReadable;
    TBUFileNameBox* FileNameBox;
    TsButton* ExportBut;
    TsButton* CancelBut;

    // The settings that Export accepted.
    const TExportSettings& Settings() const { return FSettings; }

    void ExportButClick(QObject* Sender);

private:
    // The fields as settings; raises a message naming the field that holds no value it takes.
    TExportSettings ReadFields() const;

    TExportSettings FSettings;
    TBarcodeType FTyp;
};
