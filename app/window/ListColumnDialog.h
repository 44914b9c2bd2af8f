#pragma once

#include "DataList.h"

#include <QDialog>

#include <string_view>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class TsButton;
class TsCheckBox;

// "Column of the data": how "Generate from list..." reads a CSV list. It shows the list's first
// lines and offers the delimiter, whether the first record names the columns, and the column,
// listed by the first record's names or by their numbers.
class TListColumnDialog : public QDialog {
public:
    // text is the list file's, and must outlive the dialog; a tab-separated list (.tsv) starts
    // with Tab as its delimiter, any other with the one its first line holds most of.
    TListColumnDialog(QWidget* parent, std::string_view text, bool tabSeparated);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QPlainTextEdit* Preview;
    // Comma, Semicolon, Tab.
    QComboBox* DelimiterBox;
    TsCheckBox* Header;
    QComboBox* ColumnBox;
    TsButton* OkBut;
    TsButton* CancelBut;

    // The column by its number from 1, the header and the delimiter as chosen.
    TListOptions Options() const;

private:
    char Delimiter() const;
    // Lists the first record's columns read with the delimiter chosen, keeping the column chosen
    // where the record still has it.
    void FillColumns();

    std::string_view FText;
};
