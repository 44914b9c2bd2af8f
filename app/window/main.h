#pragma once

#include "Barcode.h"
#include "CodeImage.h"
#include "DataList.h"
#include "ExportDialog.h"

#include <QMainWindow>

#include <exception>
#include <string>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class TBUDirectoryBox;
class TBUFileNameBox;
class TBUSurfTo;
class TBatchWorker;
struct TBatchView;
class TForm3;
class TRLed;
class TsButton;
class TsCheckBox;
class TsEdit;

// The main window: the inputs, Generate, Save, the batch's range and destination with its LED
// bar, and the File and Help menus.
class TForm1 : public QMainWindow {
public:
    explicit TForm1(QWidget* parent = nullptr);

    QMenu* File1;
    QAction* Generate1;
    QAction* Generatemultiple1;
    QAction* Generatefromlist1;
    QAction* Saveto1;
    QAction* Exportforprint1;
    QAction* Print1;
    QAction* Exit1;
    QMenu* Help1;
    QAction* About1;
    QAction* Websiteofthisproduct1;
    QAction* Authorswebsite1;
    QAction* HELPDESK1;
    QWidget* ClientArea;
    QGroupBox* GroupBox1;
    QComboBox* typkodu;
    TsCheckBox* DualCode;
    TsCheckBox* ShowText;
    QGroupBox* GroupBox2;
    TsEdit* kod;
    TsButton* GenerateBut;
    TBUFileNameBox* BUFileNameBox1;
    TsButton* SaveToBut;
    QGroupBox* GroupBox3;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    TsEdit* fromnumber;
    TsEdit* tonumber;
    TBUDirectoryBox* BUDirectoryBox1;
    TsButton* sButton1;
    TRLed* RLed1;

    TBarcode bcode1;
    TBUSurfTo* BUSurfTo1;
    // The code window; set before this window is first shown.
    TForm3* Form3 = nullptr;

    void FormCreate(QObject* Sender);
    void FormShow(QObject* Sender);
    void GenerateButClick(QObject* Sender);
    void SaveToButClick(QObject* Sender);
    void sButton1Click(QObject* Sender);
    void Generate1Click(QObject* Sender);
    void Generatemultiple1Click(QObject* Sender);
    // Asks for a list file, and for a CSV list (.csv or .tsv) how to read it, then generates
    // from it.
    void Generatefromlist1Click(QObject* Sender);
    void Saveto1Click(QObject* Sender);
    // The symbol of the symbology and data in the window, for print: written to a file with the
    // sizes of the export dialog, or printed with them through the system's print dialog.
    void Exportforprint1Click(QObject* Sender);
    void Print1Click(QObject* Sender);
    void Exit1Click(QObject* Sender);
    void About1Click(QObject* Sender);
    void Websiteofthisproduct1Click(QObject* Sender);
    void Authorswebsite1Click(QObject* Sender);
    void HELPDESK1Click(QObject* Sender);

    // "Generate and save" for the data of a list file: every datum checked with the symbology in
    // the window and every file name before the first file, the files code_<n>.bmp in the
    // destination, n the datum's line or record.
    void GenerateFromList(const std::string& file, const TListOptions& options);

    // From "Generate and save" or "Generate from list..." until the window shows the run's end (its
    // files may still be syncing).
    bool BatchRunning() const;
    // Waits for a batch run and the closing sync of its files, and shows now what it has not
    // shown yet: the run's end or its failure.
    void FinishBatch();

protected:
    void showEvent(QShowEvent* event) override;
    // The close box stops a running batch and hides both windows at once; the run ends with the
    // file being written whole and its files synced while the program ends (FinishBatch).
    void closeEvent(QCloseEvent* event) override;
    // Ctrl+E and Ctrl+P reach the menu from a text field too, where the field would take them
    // for moving the cursor.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenu();
    // A menu item that runs handler, guarded, when chosen or when its shortcut is pressed.
    QAction* AddItem(QMenu* menu, const char* caption, void (TForm1::*handler)(QObject*),
                     QList<QKeySequence> shortcuts = {});
    // Shows the code window in front with its image control in place.
    void ShowCodeWindow();
    TCodeImageInputs Inputs() const;
    // Names the code image after what it shows, for screen readers: the copies, the symbology
    // and the data, or no barcode when a refusal left it blank (inputs null).
    void NameCodeImage(const TCodeImageInputs* inputs);
    // The barcode of the symbology and data in the window, its check characters on; raises what
    // Generate raises for data the symbology refuses, then the symbol's refusal of data longer
    // than its symbology's maximum.
    TBarcode SymbolBarcode() const;
    // While a batch runs "Generate and save" reads "Stop" (Esc clicks it), and whatever would
    // start another run or change this one's inputs is disabled.
    void SetBatchRunning(bool running);
    void ShowBatchView(const TBatchView& view);
    void BatchFinished(const TBatchView& view, const TBarcode& barcode, std::exception_ptr error);
    // What the last run did, after the window's title and as its accessible description, until
    // the next Generate, Save or run; empty clears it.
    void SetRunNote(const QString& note);

    TBatchWorker* FBatch;
    TExportSettings FExport;
    QString FTitle;
    // Esc in the code window during a run.
    QAction* FStopFromCodeWindow;
    // Closed during a run: the code window stays hidden when the run ends.
    bool FClosed = false;
};
