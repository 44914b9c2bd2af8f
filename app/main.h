#pragma once

#include "Barcode.h"
#include "CodeImage.h"

#include <QMainWindow>

class QComboBox;
class QGroupBox;
class QLabel;
class TBUDirectoryBox;
class TBUFileNameBox;
class TForm3;
class TsButton;
class TsCheckBox;
class TsEdit;

// The main window: the inputs, Generate, Save and the batch's range and destination.
class TForm1 : public QMainWindow {
public:
    explicit TForm1(QWidget* parent = nullptr);

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

    TBarcode bcode1;
    // The code window; set before this window is first shown.
    TForm3* Form3 = nullptr;

    void FormCreate(QObject* Sender);
    void FormShow(QObject* Sender);
    void GenerateButClick(QObject* Sender);
    void SaveToButClick(QObject* Sender);
    void Saveto1Click(QObject* Sender);

protected:
    void showEvent(QShowEvent* event) override;

private:
    TCodeImageInputs Inputs() const;
};
