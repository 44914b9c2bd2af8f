#include "ListColumnDialog.h"

#include "FormControls.h"
#include "QtBridge.h"
#include "sButton.h"
#include "sCheckbox.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>

#include <algorithm>
#include <array>
#include <string>

namespace {

// The dialog's results, as QDialog has them.
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

// The delimiters of DelimiterBox, in its order.
constexpr std::array<char, 3> Delimiters = {',', ';', '\t'};

// The lines of the list the dialog shows.
constexpr int PreviewLines = 5;

// The line rest starts with, without its line break; rest moves on past it.
std::string_view NextLine(std::string_view& rest) {
    const std::size_t newline = std::min(rest.find('\n'), rest.size());
    std::string_view line = rest.substr(0, newline);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    rest.remove_prefix(std::min(newline + 1, rest.size()));
    return line;
}

// The first line that holds anything, without its line break.
std::string_view FirstLine(std::string_view text) {
    while (!text.empty()) {
        if (const std::string_view line = NextLine(text); !line.empty()) {
            return line;
        }
    }
    return {};
}

// A first record of numbers only holds data rather than the columns' names.
bool NamesColumns(const std::vector<std::string>& fields) {
    return std::any_of(fields.begin(), fields.end(), [](const std::string& field) {
        return std::any_of(field.begin(), field.end(), [](char c) { return c < '0' || c > '9'; });
    });
}

} // namespace

TListColumnDialog::TListColumnDialog(QWidget* parent, std::string_view text, bool tabSeparated)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      FText(WithoutByteOrderMark(text)) {
    setWindowTitle("Column of the data");
    setFixedSize(420, 236);
    setFont(ScreenFont("MS Sans Serif", 8));
    SetPaletteColor(this, QPalette::Window, clBtnFace);

    Label1 = NewLabel(this, "First lines:", 12, 10);
    Preview = new QPlainTextEdit(this);
    Preview->setGeometry(12, 28, 396, 92);
    Preview->setReadOnly(true);
    Preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    Preview->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QStringList lines;
    for (std::string_view rest = FText; !rest.empty() && lines.size() < PreviewLines;) {
        const std::string_view line = NextLine(rest);
        lines << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    }
    Preview->setPlainText(lines.join('\n'));

    Label2 = NewLabel(this, "Delimiter:", 12, 134);
    DelimiterBox = new QComboBox(this);
    DelimiterBox->setGeometry(84, 130, 110, 22);
    DelimiterBox->addItems({"Comma", "Semicolon", "Tab"});
    const std::string_view first = FirstLine(FText);
    std::size_t most = 0;
    for (std::size_t i = 0; i < Delimiters.size(); ++i) {
        if (std::count(first.begin(), first.end(), Delimiters[i]) >
            std::count(first.begin(), first.end(), Delimiters[most])) {
            most = i;
        }
    }
    DelimiterBox->setCurrentIndex(tabSeparated ? 2 : static_cast<int>(most));
    Header = NewCheckBox(this, "First line is a header", 216, 132);
    Header->resize(180, Header->height());
    Header->SetChecked(NamesColumns(ListFirstRecord(FText, Delimiter())));
    Label3 = NewLabel(this, "Column:", 12, 166);
    ColumnBox = new QComboBox(this);
    ColumnBox->setGeometry(84, 162, 200, 22);
    FillColumns();
    connect(DelimiterBox, &QComboBox::currentIndexChanged, this, [this] { FillColumns(); });
    Header->OnChange = [this](QObject*) { FillColumns(); };

    OkBut = NewButton(this, "OK", {244, 200, 75, 25});
    OkBut->SetDefault(true);
    OkBut->SetModalResult(mrOk);
    CancelBut = NewButton(this, "Cancel", {328, 200, 75, 25});
    CancelBut->SetCancel(true);
    CancelBut->SetModalResult(mrCancel);
    ColumnBox->setFocus();
}

void TListColumnDialog::FillColumns() {
    const int chosen = std::max(ColumnBox->currentIndex(), 0);
    const std::vector<std::string> fields = ListFirstRecord(FText, Delimiter());
    QStringList columns;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& name = fields[i];
        columns << (Header->Checked() && !name.empty()
                        ? QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))
                        : QString::number(i + 1));
    }
    ColumnBox->clear();
    ColumnBox->addItems(columns);
    ColumnBox->setCurrentIndex(std::min(chosen, static_cast<int>(columns.size()) - 1));
}

char TListColumnDialog::Delimiter() const {
    return Delimiters[static_cast<std::size_t>(DelimiterBox->currentIndex())];
}

TListOptions TListColumnDialog::Options() const {
    TListOptions options;
    options.Column = std::to_string(std::max(ColumnBox->currentIndex(), 0) + 1);
    options.Header = Header->Checked();
    options.Delimiter = Delimiter();
    return options;
}
