#pragma once

#include "Barcode.h"
#include "CodeImage.h"

#include <QMainWindow>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TBUDirectoryBox;
class TBUFileNameBox;
class TForm3;

// The main window: the inputs, Generate, Save and the batch's range and destination.
class TForm1 : public QMainWindow {
public:
    explicit TForm1(QWidget* parent = nullptr);

    QWidget* ClientArea;
    QGroupBox* GroupBox1;
    QComboBox* typkodu;
    QCheckBox* DualCode;
    QCheckBox* ShowText;
    QGroupBox* GroupBox2;
    QLineEdit* kod;
    QPushButton* GenerateBut;
    TBUFileNameBox* BUFileNameBox1;
    QPushButton* SaveToBut;
    QGroupBox* GroupBox3;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* fromnumber;
    QLineEdit* tonumber;
    TBUDirectoryBox* BUDirectoryBox1;
    QPushButton* sButton1;

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
