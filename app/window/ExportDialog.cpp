#include "ExportDialog.h"

#include "Application.h"
#include "BUFileNameBox.h"
#include "Exception.h"
#include "FormControls.h"
#include "NumberText.h"
#include "QtBridge.h"
#include "sButton.h"
#include "sCheckbox.h"
#include "sEdit.h"

#include <QComboBox>
#include <QLabel>

#include <cctype>

namespace {

// What the dialog ends with when Cancel closes it: not Accepted.
constexpr int mrCancel = 2;

std::string Text(const TsEdit* edit) {
    return edit->text().trimmed().toStdString();
}

QLabel* NewHint(QWidget* parent, const char* caption, int left, int top) {
    auto* hint = new QLabel(caption, parent);
    hint->move(left, top);
    hint->adjustSize();
    return hint;
}

} // namespace

TExportDialog::TExportDialog(QWidget* parent, const TExportSettings& settings, TBarcodeType typ)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      FSettings(settings), FTyp(typ) {
    setWindowTitle("Export for print");
    setFixedSize(360, 224);
    setFont(ScreenFont("MS Sans Serif", 8));
    SetPaletteColor(this, QPalette::Window, clBtnFace);

    const TSymbolRules& rules = SymbolRules(typ);
    Label1 = NewLabel(this, "X-dimension (mm):", 12, 14);
    XDimEdit = NewEdit(this, Number(settings.Symbol.XDim.value_or(rules.DefaultXDim)).c_str(),
                       {140, 10, 80, 21});
    Label2 = NewLabel(this, "Bar height (mm):", 12, 42);
    HeightEdit =
        NewEdit(this, settings.Symbol.Height ? Number(*settings.Symbol.Height).c_str() : "",
                {140, 38, 80, 21});
    HeightHint = NewHint(this, "empty: nominal", 228, 42);
    Label3 = NewLabel(this, "Resolution (dpi):", 12, 70);
    ResolutionEdit = NewEdit(this, std::to_string(settings.Dpi).c_str(), {140, 66, 80, 21});
    ResolutionHint = NewHint(this, "for BMP, PNG and JPEG", 228, 70);
    Label5 = NewLabel(this, "Bearer bars:", 12, 98);
    BearerBox = new QComboBox(this);
    BearerBox->setGeometry(140, 94, 120, 22);
    BearerBox->addItems({"Frame", "Above and below", "None"});
    BearerBox->setCurrentIndex(static_cast<int>(settings.Symbol.Bearer));
    BearerBox->setEnabled(rules.BearerBar > 0);
    Label5->setEnabled(rules.BearerBar > 0);
    HumanReadable = NewCheckBox(this, "Human-readable line", 140, 124);
    HumanReadable->resize(160, HumanReadable->height());
    HumanReadable->SetChecked(settings.Symbol.ShowText);
    Label4 = NewLabel(this, "File:", 12, 156);
    FileNameBox = new TBUFileNameBox(this);
    FileNameBox->setGeometry(60, 154, 288, 20);
    FileNameBox->SetFileName(settings.FileName);
    FileNameBox->SetDialogTitle("Export for print");
    FileNameBox->SetDialogKind(TDialogKind::dkSave);
    FileNameBox->SetDialogFilter("PDF document|*.pdf|EPS image|*.eps|BMP image|*.bmp|PNG "
                                 "image|*.png|SVG image|*.svg|JPEG image|*.jpg;*.jpeg|All files|*");
    FileNameBox->SetDefaultExtension("pdf");
    FileNameBox->SetDialogOptions(
        {TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing, TOpenOption::ofOverwritePrompt});
    FileNameBox->SetButtonIsFlat(true);
    ExportBut = NewButton(this, "Export", {184, 188, 75, 25});
    ExportBut->SetDefault(true);
    ExportBut->OnClick = [this](QObject* sender) {
        Application::Guarded([&] { ExportButClick(sender); });
    };
    CancelBut = NewButton(this, "Cancel", {268, 188, 75, 25});
    CancelBut->SetCancel(true);
    CancelBut->SetModalResult(mrCancel);
    XDimEdit->setFocus();
}

TExportSettings TExportDialog::ReadFields() const {
    TExportSettings settings = FSettings;
    const std::string xDim = Text(XDimEdit);
    const std::optional<double> x = DecimalOf(xDim);
    if (!x) {
        throw Exception("The X-dimension takes millimetres, such as 0.33, not '" + xDim + "'");
    }
    // The symbology's default stays unset, so that it follows the symbology.
    const TSymbolRules& rules = SymbolRules(FTyp);
    settings.Symbol.XDim = Number(*x) == Number(rules.DefaultXDim) ? std::nullopt : x;
    const std::string height = Text(HeightEdit);
    settings.Symbol.Height = DecimalOf(height);
    if (!height.empty() && !settings.Symbol.Height) {
        throw Exception("The bar height takes millimetres, such as 22.85, or nothing, not '" +
                        height + "'");
    }
    const std::string dpi = Text(ResolutionEdit);
    const std::optional<double> resolution = DecimalOf(dpi);
    if (!resolution || *resolution != static_cast<int>(*resolution) || *resolution < 1 ||
        *resolution > MaxImageDpi) {
        throw Exception("The resolution takes whole dots per inch from 1 to " +
                        std::to_string(MaxImageDpi) + ", not '" + dpi + "'");
    }
    settings.Dpi = static_cast<int>(*resolution);
    settings.Symbol.Bearer = static_cast<TBearer>(BearerBox->currentIndex());
    settings.Symbol.ShowText = HumanReadable->Checked();
    settings.FileName = FileNameBox->FileName();
    if (settings.FileName.empty()) {
        throw Exception("Vyberte cíl pro uložení!");
    }
    TBarcode barcode;
    barcode.SetTyp(FTyp);
    std::string refusal = SymbolOptionsRefusal(
        barcode, settings.Symbol,
        SymbolRasterDpi(SymbolFormatOfName(settings.FileName), {.Dpi = settings.Dpi}));
    if (!refusal.empty()) {
        refusal[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(refusal[0])));
        throw Exception(refusal);
    }
    return settings;
}

void TExportDialog::ExportButClick(QObject*) {
    FSettings = ReadFields();
    accept();
}
