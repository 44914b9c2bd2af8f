#include "main.h"

#include "AboutDlg.h"
#include "Application.h"
#include "BUDirectoryBox.h"
#include "BUFileNameBox.h"
#include "BUImage.h"
#include "BUSurfTo.h"
#include "Batch.h"
#include "BatchWorker.h"
#include "Exception.h"
#include "FormControls.h"
#include "ListColumnDialog.h"
#include "PrintSymbol.h"
#include "Product.h"
#include "QtBridge.h"
#include "RLed.h"
#include "Stream.h"
#include "SymbologyNames.h"
#include "Unit3.h"
#include "Version.h"
#include "sButton.h"
#include "sCheckbox.h"
#include "sEdit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace {

// Where Save and the batch write unless the user says otherwise.
struct TDefaultPaths {
    std::string FileName;
    std::string DialogDir;
    std::string Directory;
    std::string ExportFileName;
};

TDefaultPaths DefaultPaths() {
#ifdef _WIN32
    return {"c:\\output.bmp", "c:\\", "C:\\qmk output", "c:\\label.pdf"};
#else
    const std::string home = TBUCustomBox::HomeDirectory();
    return {home + "/output.bmp", home, home + "/qmk output", home + "/label.pdf"};
#endif
}

// The symbology list's rows are 16 pixels high.
class TFixedHeightItems : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 16};
    }
};

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint),
      ClientArea(new QWidget(this)), FBatch(new TBatchWorker(this)),
      FTitle(QString("Quillmark ver ") + Product::Version + " - " +
             QString::fromUtf8(Product::MakerNotice)),
      FStopFromCodeWindow(new QAction(this)) {
    setWindowTitle(FTitle);
    setFont(ScreenFont("MS Sans Serif", 8));
    SetPaletteColor(this, QPalette::Window, clBtnFace);
    ClientArea->setFixedSize(523, 182);
    setCentralWidget(ClientArea);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    move(198, 102);

    GroupBox1 = NewGroup(ClientArea, " Code information input: ", 0, 49);
    typkodu = new QComboBox(GroupBox1);
    typkodu->setGeometry(8, 17, 145, 22);
    typkodu->setItemDelegate(new TFixedHeightItems(typkodu));
    for (const TSymbologyName& name : SymbologyNames) {
        typkodu->addItem(QString::fromUtf8(name.ListText.data(), name.ListText.size()));
    }
    DualCode = NewCheckBox(GroupBox1, "Dual Code", 160, 16);
    ShowText = NewCheckBox(GroupBox1, "Show Text", 280, 16);

    GroupBox2 = NewGroup(ClientArea, " Generate only one code: ", 49, 50);
    kod = NewEdit(GroupBox2, "1234567890128", {8, 16, 145, 21});
    kod->setFont(ScreenFont("MS Sans Serif", 10, true));
    // The one field without a label beside it.
    kod->setAccessibleName("Data");
    GenerateBut = NewButton(GroupBox2, "Generate", {160, 14, 83, 33});
    const TDefaultPaths paths = DefaultPaths();
    BUFileNameBox1 = new TBUFileNameBox(GroupBox2);
    BUFileNameBox1->setGeometry(248, 19, 185, 20);
    BUFileNameBox1->SetFileName(paths.FileName);
    BUFileNameBox1->SetDialogTitle("Uložit Kód so souboru");
    BUFileNameBox1->SetDialogInitialDir(paths.DialogDir);
    // Save writes the format the name's extension asks for; a name typed without one gets the
    // chosen filter's.
    BUFileNameBox1->SetDialogKind(TDialogKind::dkSave);
    BUFileNameBox1->SetDialogFilter(
        "BMP image|*.bmp|PNG image|*.png|SVG image|*.svg|JPEG image|*.jpg;*.jpeg|All files|*");
    BUFileNameBox1->SetDefaultExtension("bmp");
    BUFileNameBox1->SetDialogOptions(
        {TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing, TOpenOption::ofOverwritePrompt});
    BUFileNameBox1->SetButtonIsFlat(true);
    BUFileNameBox1->Edit()->setAccessibleName("File name");
    BUFileNameBox1->Button()->setAccessibleName("Choose the file");
    FExport.FileName = paths.ExportFileName;
    SaveToBut = NewButton(GroupBox2, "Save", {440, 14, 75, 25});
    SaveToBut->setEnabled(false);

    GroupBox3 = NewGroup(ClientArea, " Multiple code generator: ", 99, 62);
    Label1 = NewLabel(GroupBox3, "From number:", 11, 16);
    Label2 = NewLabel(GroupBox3, "To number:", 119, 16);
    Label3 = NewLabel(GroupBox3, "Destination:", 227, 16);
    fromnumber = NewEdit(GroupBox3, "0", {8, 32, 97, 21});
    tonumber = NewEdit(GroupBox3, "10", {120, 32, 97, 21});
    Label1->setBuddy(fromnumber);
    Label2->setBuddy(tonumber);
    BUDirectoryBox1 = new TBUDirectoryBox(GroupBox3);
    BUDirectoryBox1->setGeometry(224, 32, 150, 20);
    BUDirectoryBox1->SetDirectory(paths.Directory);
    BUDirectoryBox1->SetButtonIsFlat(false);
    // The folder dialog with a button for a new folder.
    BUDirectoryBox1->SetDialogOptions({TSelectDirOpt::sdAllowCreate});
    Label3->setBuddy(BUDirectoryBox1);
    // The label names the box; the edit in it, which has the focus, is named the same.
    BUDirectoryBox1->Edit()->setAccessibleName(Label3->text());
    BUDirectoryBox1->Button()->setAccessibleName("Choose the destination directory");
    sButton1 = NewButton(GroupBox3, "Generate and save", {384, 16, 129, 33});
    RLed1 = new TRLed(ClientArea);
    RLed1->Load(MainWindowLedBar);
    RLed1->setAccessibleName("Progress");
    // Along the bottom of the client area.
    RLed1->move(0, ClientArea->height() - RLed1->height());

    QWidget* const tabOrder[] = {fromnumber,     tonumber,  BUDirectoryBox1, sButton1,
                                 BUFileNameBox1, SaveToBut, GenerateBut,     kod,
                                 ShowText,       DualCode,  typkodu};
    for (std::size_t i = 0; i + 1 < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    }
    fromnumber->setFocus();

    ConfigureMainBarcode(bcode1);
    BUSurfTo1 = new TBUSurfTo(this);
    const std::pair<TsButton*, void (TForm1::*)(QObject*)> buttons[] = {
        {GenerateBut, &TForm1::GenerateButClick},
        {SaveToBut, &TForm1::SaveToButClick},
        {sButton1, &TForm1::sButton1Click}};
    for (const auto& [button, handler] : buttons) {
        button->OnClick = [this, handler](QObject* sender) {
            Application::Guarded([&] { (this->*handler)(sender); });
        };
    }
    CreateMenu();
    // Enter in the data field generates, as Ctrl+Enter does.
    connect(kod, &QLineEdit::returnPressed, this,
            [this] { Application::Guarded([this] { GenerateButClick(kod); }); });
    for (QWidget* field : findChildren<QLineEdit*>()) {
        field->installEventFilter(this);
    }
    FStopFromCodeWindow->setShortcut(Qt::Key_Escape);
    FStopFromCodeWindow->setEnabled(false);
    connect(FStopFromCodeWindow, &QAction::triggered, this, [this] { FBatch->Stop(); });
    FBatch->OnProgress = [this](const TBatchView& view) { ShowBatchView(view); };
    FBatch->OnFinished = [this](const TBatchView& view, const TBarcode& barcode,
                                std::exception_ptr error) { BatchFinished(view, barcode, error); };
    FormCreate(this);
}

QAction* TForm1::AddItem(QMenu* menu, const char* caption, void (TForm1::*handler)(QObject*),
                         QList<QKeySequence> shortcuts) {
    QAction* item = menu->addAction(caption);
    item->setShortcuts(shortcuts);
    connect(item, &QAction::triggered, this,
            [this, item, handler] { Application::Guarded([&] { (this->*handler)(item); }); });
    return item;
}

void TForm1::CreateMenu() {
    File1 = menuBar()->addMenu("&File");
    Generate1 = AddItem(File1, "Generate", &TForm1::Generate1Click,
                        {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter});
    // The default item, shown bold.
    QFont bold = Generate1->font();
    bold.setBold(true);
    Generate1->setFont(bold);
    File1->setDefaultAction(Generate1);
    Generatemultiple1 =
        AddItem(File1, "Generate multiple", &TForm1::Generatemultiple1Click, {Qt::Key_F4});
    Generatefromlist1 = AddItem(File1, "Generate from list...", &TForm1::Generatefromlist1Click,
                                {Qt::CTRL | Qt::Key_L});
    Saveto1 = AddItem(File1, "Save to...", &TForm1::Saveto1Click, {Qt::CTRL | Qt::Key_S});
    Exportforprint1 = AddItem(File1, "Export for print...", &TForm1::Exportforprint1Click,
                              {Qt::CTRL | Qt::Key_E});
    Print1 = AddItem(File1, "Print...", &TForm1::Print1Click, {Qt::CTRL | Qt::Key_P});
    File1->addSeparator();
    // Inside a text field Ctrl+X cuts: the field takes the key before the menu sees it.
    Exit1 = AddItem(File1, "Exit", &TForm1::Exit1Click, {Qt::CTRL | Qt::Key_X});

    Help1 = menuBar()->addMenu("&Help");
    About1 = AddItem(Help1, "About", &TForm1::About1Click);
    Websiteofthisproduct1 =
        AddItem(Help1, "Website of this product", &TForm1::Websiteofthisproduct1Click);
    Authorswebsite1 = AddItem(Help1, "Authors website", &TForm1::Authorswebsite1Click);
    HELPDESK1 = AddItem(Help1, "HELPDESK", &TForm1::HELPDESK1Click);
}

void TForm1::FormCreate(QObject*) {
    // Before any handler is connected to the list, so no change is reported.
    typkodu->setCurrentIndex(11);
}

void TForm1::showEvent(QShowEvent* event) {
    FClosed = false;
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) {
        Application::Guarded([this] { FormShow(this); });
    }
}

void TForm1::FormShow(QObject*) {
    SaveToBut->setEnabled(true);
    GenerateButClick(this);
}

TCodeImageInputs TForm1::Inputs() const {
    return {typkodu->currentText().toStdString(), kod->text().toStdString(), ShowText->Checked(),
            DualCode->Checked()};
}

void TForm1::ShowCodeWindow() {
    Form3->ShowInFront();
    Form3->Image1->move(0, 0);
}

void TForm1::NameCodeImage(const TCodeImageInputs* inputs) {
    TBUImage* image = Form3->Image1;
    if (inputs == nullptr) {
        image->setAccessibleName("No barcode");
        image->setAccessibleDescription("");
        return;
    }
    const QString typ = QString::fromStdString(inputs->TypeText);
    const QString text = QString::fromStdString(inputs->Data);
    image->setAccessibleName(inputs->DualCode ? QString("Two %1 barcodes of %2").arg(typ, text)
                                              : QString("%1 barcode of %2").arg(typ, text));
    image->setAccessibleDescription(inputs->ShowText ? "The data is printed under the bars"
                                                     : "No text under the bars");
}

void TForm1::GenerateButClick(QObject*) {
    // A stopped run's bar goes back; a failed run's keeps the failing number until the next run.
    if (!accessibleDescription().isEmpty()) {
        RLed1->SetPosition(0);
    }
    SetRunNote({});
    ShowCodeWindow();
    const TCodeImageInputs inputs = Inputs();
    try {
        ComposeCodeImage(bcode1, Form3->CodeImage(), inputs);
    } catch (...) {
        // The refusal leaves the image blank; the default handler shows it.
        NameCodeImage(nullptr);
        throw;
    }
    NameCodeImage(&inputs);
    // Drawn and saveable all the same; the person printing it should know.
    if (const std::string warning = CutOffWarning(bcode1, inputs); !warning.empty()) {
        Application::ShowWarning("Warning: " + warning + ".");
    }
}

void TForm1::SaveToButClick(QObject*) {
    SetRunNote({});
    const std::string name = BUFileNameBox1->FileName();
    if (name.empty()) {
        Application::ShowMessage("Vyberte cíl pro uložení!");
        return;
    }
    const TPicture& picture = Form3->Image1->Picture();
    if (picture.Bitmap() == nullptr) {
        throw Exception("There is no code image to save");
    }
    picture.SaveToFile(name);
    Application::ShowMessage("Uloženo do " + EscapedFileName(name));
}

void TForm1::sButton1Click(QObject*) {
    if (FBatch->Running()) {
        FBatch->Stop();
        return;
    }
    // The closing sync of an earlier run ends first, and its failure is shown.
    FinishBatch();
    ShowCodeWindow();
    const TBatchRange range =
        ParseBatchRange(fromnumber->text().toStdString(), tonumber->text().toStdString(),
                        [this](std::int32_t to) { RLed1->SetMaxValue(to); });
    // An empty destination would put the files at the root of the file system.
    if (BUDirectoryBox1->Directory().empty()) {
        Application::ShowMessage("Vyberte cíl pro uložení!");
        return;
    }
    CheckBatchFits(range, BUDirectoryBox1->Directory(), Form3->CodeImage().BmpFileSize());
    SetBatchRunning(true);
    FBatch->Start(bcode1, Form3->CodeImage(), Inputs(),
                  std::make_shared<TRangeBatch>(range, BUDirectoryBox1->Directory(), "bmp"),
                  BUDirectoryBox1->Directory());
}

bool TForm1::BatchRunning() const {
    return FBatch->Running();
}

void TForm1::FinishBatch() {
    FBatch->Finish();
}

void TForm1::SetBatchRunning(bool running) {
    if (running) {
        SetRunNote({});
        RLed1->SetPosition(0);
        Form3->addAction(FStopFromCodeWindow);
    }
    FStopFromCodeWindow->setEnabled(running);
    sButton1->SetCaption(running ? "Stop" : "Generate and save");
    sButton1->SetCancel(running);
    QWidget* const inputs[] = {typkodu,        DualCode,  ShowText,   kod,      GenerateBut,
                               BUFileNameBox1, SaveToBut, fromnumber, tonumber, BUDirectoryBox1};
    for (QWidget* input : inputs) {
        input->setEnabled(!running);
    }
    for (QAction* item :
         {Generate1, Generatemultiple1, Generatefromlist1, Saveto1, Exportforprint1, Print1}) {
        item->setEnabled(!running);
    }
}

void TForm1::ShowBatchView(const TBatchView& view) {
    if (view.Position) {
        RLed1->SetPosition(*view.Position);
    }
    if (!view.Data.empty()) {
        kod->setText(QString::fromStdString(view.Data));
    }
    if (!view.FileName.empty()) {
        BUFileNameBox1->SetFileName(view.FileName);
    }
    if (!view.Image.Empty()) {
        TBitmap& image = Form3->CodeImage();
        image = view.Image;
        image.Changed();
        const TCodeImageInputs inputs = Inputs();
        NameCodeImage(&inputs);
    }
}

void TForm1::BatchFinished(const TBatchView& view, const TBarcode& barcode,
                           std::exception_ptr error) {
    bcode1 = barcode;
    ShowBatchView(view);
    SetBatchRunning(false);
    if (error) {
        // The bar keeps the failing number until the next run.
        Application::Guarded([&] { std::rethrow_exception(error); });
        return;
    }
    const QString files = QString(view.Count == 1 ? "%1 file" : "%1 files").arg(view.Count);
    // A stopped run's bar keeps showing how far it got.
    if (view.Files < view.Count) {
        SetRunNote(QString("stopped after %1 of ").arg(view.Files) + files);
    } else {
        RLed1->SetPosition(0);
        SetRunNote("wrote " + files);
    }
    if (!FClosed) {
        Form3->ShowInFront();
    }
}

void TForm1::SetRunNote(const QString& note) {
    setWindowTitle(note.isEmpty() ? FTitle : FTitle + QString::fromUtf8(" \u2014 ") + note);
    setAccessibleDescription(note);
}

void TForm1::closeEvent(QCloseEvent* event) {
    FBatch->Stop();
    FClosed = true;
    Form3->hide();
    QMainWindow::closeEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence key(static_cast<QKeyEvent*>(event)->keyCombination());
        // Not accepted, the override lets the menu's shortcut have the key.
        if (Exportforprint1->shortcuts().contains(key) || Print1->shortcuts().contains(key)) {
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::Generate1Click(QObject* Sender) {
    GenerateButClick(Sender);
}

void TForm1::Generatemultiple1Click(QObject* Sender) {
    sButton1Click(Sender);
}

void TForm1::Generatefromlist1Click(QObject*) {
    const QString destination = QString::fromStdString(BUDirectoryBox1->Directory());
    QFileDialog dialog(this, "Generate from list",
                       !destination.isEmpty() && QDir(destination).exists() ? destination : "",
                       "Lists (*.txt *.csv *.tsv);;All files (*)");
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString file = dialog.selectedFiles().front();
    const QString extension = QFileInfo(file).suffix().toLower();
    TListOptions options;
    if (extension == "csv" || extension == "tsv") {
        const std::string text = ReadListFile(file.toStdString());
        TListColumnDialog columns(this, text, extension == "tsv");
        if (columns.exec() != QDialog::Accepted) {
            return;
        }
        options = columns.Options();
    }
    GenerateFromList(file.toStdString(), options);
}

void TForm1::GenerateFromList(const std::string& file, const TListOptions& options) {
    // The closing sync of an earlier run ends first, and its failure is shown.
    FinishBatch();
    ShowCodeWindow();
    const std::string directory = BUDirectoryBox1->Directory();
    // An empty destination would put the files at the root of the file system.
    if (directory.empty()) {
        Application::ShowMessage("Vyberte cíl pro uložení!");
        return;
    }
    std::shared_ptr<const TDataList> list = LoadDataList(file, options, directory, "bmp");
    CheckCodeImageData(*list, bcode1, typkodu->currentText().toStdString());
    CheckBatchFits(*list, directory, Form3->CodeImage().BmpFileSize());
    RLed1->SetMaxValue(static_cast<std::int32_t>(list->Count()));
    SetBatchRunning(true);
    FBatch->Start(bcode1, Form3->CodeImage(), Inputs(), std::move(list), directory);
}

void TForm1::Saveto1Click(QObject* Sender) {
    if (SaveToBut->isEnabled()) {
        SaveToButClick(Sender);
    }
}

TBarcode TForm1::SymbolBarcode() const {
    TBarcode barcode = bcode1;
    if (const auto typ = FindSymbology(typkodu->currentText().toStdString())) {
        barcode.SetTyp(*typ);
    }
    barcode.SetText(kod->text().toStdString());
    barcode.SetChecksum(true);
    SymbolPattern(barcode);
    return barcode;
}

void TForm1::Exportforprint1Click(QObject*) {
    const TBarcode barcode = SymbolBarcode();
    TExportDialog dialog(this, FExport, barcode.Typ());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    FExport = dialog.Settings();
    TImageFileOptions file;
    file.Dpi = FExport.Dpi;
    SaveSymbolFile(barcode, FExport.Symbol, FExport.FileName, file);
    std::string done = "Uloženo do " + EscapedFileName(FExport.FileName);
    const std::string note = XDimNote(barcode.Typ(), FExport.Symbol,
                                      SymbolRasterDpi(SymbolFormatOfName(FExport.FileName), file));
    if (!note.empty()) {
        done += "\n(" + note + ")";
    }
    Application::ShowMessage(done);
}

void TForm1::Print1Click(QObject*) {
    const TBarcode barcode = SymbolBarcode();
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    PrintSymbol(printer, barcode, FExport.Symbol);
    // Printing lays the symbol out on the printer's dots.
    if (const std::string note = XDimNote(barcode.Typ(), FExport.Symbol, printer.resolution());
        !note.empty()) {
        Application::ShowWarning("Warning: " + note + ".");
    }
}

void TForm1::Exit1Click(QObject*) {
    close();
}

void TForm1::About1Click(QObject*) {
    ShowAboutDlg(Product::Name, "1", QString::fromUtf8(Product::MakerNotice), Product::Description,
                 Product::Email, Product::Website);
}

void TForm1::Websiteofthisproduct1Click(QObject*) {
    BUSurfTo1->SurfTo(Product::Website);
}

void TForm1::Authorswebsite1Click(QObject*) {
    BUSurfTo1->SurfTo(Product::AuthorsWebsite);
}

void TForm1::HELPDESK1Click(QObject*) {
    BUSurfTo1->SurfTo(Product::Helpdesk);
}
