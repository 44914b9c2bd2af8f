#include "ProgramFixture.h"

#include "PrintSymbol.h"

#include "RenderedPage.h"

#include <QAction>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>

namespace {

// Runs `inDialog` with the export dialog once Ctrl+E in the data field has shown it. (Where the
// field itself takes the key, on X11, the desktop test shows the menu has it all the same.)
void ExportWith(TForm1& form, const std::function<void(TExportDialog&)>& inDialog) {
    bool shown = false;
    Activate(form);
    form.kod->setFocus();
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<TExportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = true;
        inDialog(*dialog);
    });
    QTest::keyClick(form.kod, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(shown);
}

void Fill(TExportDialog& dialog, const char* xDim, const char* height, const char* dpi,
          const std::string& name) {
    dialog.XDimEdit->setText(xDim);
    dialog.HeightEdit->setText(height);
    dialog.ResolutionEdit->setText(dpi);
    dialog.FileNameBox->SetFileName(name);
}

Bytes Expected(TBarcodeType typ, const std::string& data, const TSymbolOptions& options, int dpi) {
    const ScratchDir scratch;
    TBarcode barcode;
    barcode.SetTyp(typ);
    barcode.SetText(data);
    barcode.SetChecksum(true);
    SaveSymbolFile(barcode, options, scratch / "expected.png", {.Dpi = dpi});
    return ReadFile(scratch / "expected.png");
}

} // namespace

// The File menu in its order: the list after the range, export and print after "Save to...".
TEST_F(MainWindowTest, FileMenuHoldsExportAndPrint) {
    QStringList items;
    for (const QAction* item : Form1.File1->actions()) {
        items << item->text() + " " + item->shortcut().toString();
    }
    EXPECT_EQ(items,
              (QStringList{"Generate Ctrl+Return", "Generate multiple F4",
                           "Generate from list... Ctrl+L", "Save to... Ctrl+S",
                           "Export for print... Ctrl+E", "Print... Ctrl+P", " ", "Exit Ctrl+X"}));
}

// Export writes the symbol of the window's symbology and data with the dialog's sizes, says
// where (the name's control characters escaped) and, for a raster, what X-dimension it drew; the
// dialog keeps its values for the next time. A field it cannot take keeps the dialog open with a
// message; data the symbology refuses is refused as Generate refuses it, and data longer than the
// symbol takes, before the dialog opens.
TEST_F(MainWindowTest, ExportForPrintWritesTheSymbol) {
    Form1.typkodu->setCurrentText("Code 128B");
    Form1.kod->setText("Q-42");
    const std::string label = dir / "label\x01.png";
    ExportWith(Form1, [&](TExportDialog& dialog) {
        EXPECT_EQ(dialog.XDimEdit->text(), "0.33");
        EXPECT_EQ(dialog.ResolutionEdit->text(), "600");
        EXPECT_EQ(dialog.FileNameBox->FileName(), TBUCustomBox::HomeDirectory() + "/label.pdf");
        Fill(dialog, "0.19", "12.5", "96", label);
        dialog.HumanReadable->SetChecked(false);
        QTest::mouseClick(dialog.ExportBut, Qt::LeftButton);
    });
    EXPECT_EQ(ReadFile(label), Expected(TBarcodeType::bcCode128B, "Q-42",
                                        {.XDim = 0.19, .Height = 12.5, .ShowText = false}, 96));
    EXPECT_EQ(messages,
              "Uloženo do " + (dir / "label\\x01.png").string() +
                  "\n(the X-dimension drawn is 0.265 mm (1 dot at 96 dpi), not 0.19 mm)\n");

    messages.clear();
    ExportWith(Form1, [&](TExportDialog& dialog) {
        EXPECT_EQ(dialog.XDimEdit->text(), "0.19");
        EXPECT_EQ(dialog.HeightEdit->text(), "12.5");
        EXPECT_FALSE(dialog.HumanReadable->Checked());
        EXPECT_EQ(dialog.FileNameBox->FileName(), label);
        const std::pair<const char*, std::string> refused[] = {
            {"abc", "The X-dimension takes millimetres, such as 0.33, not 'abc'"},
            {"0.01", "The X-dimension is from 0.05 to 10 mm, not 0.01."},
        };
        for (const auto& [xDim, message] : refused) {
            dialog.XDimEdit->setText(xDim);
            QTest::mouseClick(dialog.ExportBut, Qt::LeftButton);
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(messages, "error: " + message + "\n");
            messages.clear();
        }
        dialog.XDimEdit->setText("0.33");
        for (const char* dpi : {"300.5", "0", "65536"}) {
            dialog.ResolutionEdit->setText(dpi);
            QTest::mouseClick(dialog.ExportBut, Qt::LeftButton);
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(messages, std::string("error: The resolution takes whole dots per inch from "
                                            "1 to 65535, not '") +
                                    dpi + "'\n");
            messages.clear();
        }
        Fill(dialog, "0.33", "", "600", dir / "other.pdf");
        QTest::mouseClick(dialog.CancelBut, Qt::LeftButton);
    });
    EXPECT_FALSE(fs::exists(dir / "other.pdf"));
    EXPECT_EQ(messages, "");

    const std::tuple<const char*, const char*, std::string> refusedData[] = {
        {"Code EAN13", "12A", "'A' is not a valid integer value."},
        {"Code PostNet", "1234567890123",
         "Cannot draw the symbol: the data of PostNet is at most 12 characters, not 13."},
    };
    for (const auto& [type, data, message] : refusedData) {
        Form1.typkodu->setCurrentText(type);
        Form1.kod->setText(data);
        Activate(Form1);
        QTest::keyClick(Form1.kod, Qt::Key_E, Qt::ControlModifier);
        EXPECT_EQ(messages, "error: " + message + "\n");
        messages.clear();
    }
}

// ITF-14's bearer bars are chosen in the dialog and kept for the session; for a symbology without
// them the choice is disabled and stays as it was.
TEST_F(MainWindowTest, ExportChoosesItf14sBearerBars) {
    Form1.typkodu->setCurrentText("Code ITF-14");
    Form1.kod->setText("1540014128876");
    const std::string label = dir / "case.png";
    ExportWith(Form1, [&](TExportDialog& dialog) {
        EXPECT_TRUE(dialog.BearerBox->isEnabled());
        EXPECT_EQ(dialog.BearerBox->currentText(), "Frame");
        EXPECT_EQ(dialog.XDimEdit->text(), "1.016");
        dialog.BearerBox->setCurrentText("Above and below");
        dialog.FileNameBox->SetFileName(label);
        QTest::mouseClick(dialog.ExportBut, Qt::LeftButton);
    });
    EXPECT_EQ(ReadFile(label), Expected(TBarcodeType::bcCodeITF14, "1540014128876",
                                        {.Bearer = TBearer::Bars}, SymbolDpi));
    EXPECT_EQ(messages, "Uloženo do " + label + "\n");

    Form1.typkodu->setCurrentText("Code 2 5 interleaved");
    ExportWith(Form1, [&](TExportDialog& dialog) {
        EXPECT_FALSE(dialog.BearerBox->isEnabled());
        EXPECT_EQ(dialog.BearerBox->currentText(), "Above and below");
        QTest::mouseClick(dialog.CancelBut, Qt::LeftButton);
    });
}

// The symbol printed: at the printer's resolution, from the printable area's top-left corner,
// every bar on the dots a raster of that resolution has it and the digits where it has them. The
// print dialog cancelled prints nothing and says nothing.
TEST_F(MainWindowTest, PrintPutsTheSymbolOnThePrintersDots) {
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->reject();
    });
    Form1.Print1->trigger();
    EXPECT_EQ(messages, "");

    constexpr int Dpi = 600;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(Dpi);
    printer.setOutputFileName(QString::fromStdString(dir / "printed.pdf"));
    TBarcode barcode;
    barcode.SetText("590123412345");
    barcode.SetChecksum(true);
    PrintSymbol(printer, barcode, {});
    const QRect paper = printer.pageLayout().fullRectPixels(Dpi);
    const QRect printable = printer.pageLayout().paintRectPixels(Dpi);
    const TRenderedPage page = RenderedPage(dir / "printed.pdf", Dpi);
    // Within a dot of the paper: the renderer rounds the page's points its own way.
    ASSERT_NEAR(page.Width, paper.width(), 2);
    ASSERT_NEAR(page.Height, paper.height(), 2);
    const TPrintDrawing drawing = ComposeSymbol(barcode, {}, Dpi).Drawing;
    TBitmap expected;
    RasterisePrintDrawing(drawing, expected);
    // The bars dot for dot, above the digits.
    const TPrintRect shortest = std::ranges::min(drawing.Rects, {}, &TPrintRect::Height);
    int differing = 0;
    for (int y = 0; y < shortest.Y + shortest.Height; ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            differing += page.Dark(printable.x() + x, printable.y() + y) !=
                         (expected.Pixel(x, y) == clBlack);
        }
    }
    EXPECT_EQ(differing, 0);
    // The digits where the raster has them, their outlines filled as its glyphs are; nothing
    // else on the page.
    const TRect ink = page.Ink();
    const TRect drawn = BoundsOf(expected, clBlack);
    EXPECT_NEAR(ink.Left - printable.x(), drawn.Left, 2);
    EXPECT_NEAR(ink.Top - printable.y(), drawn.Top, 2);
    EXPECT_NEAR(ink.Right - printable.x(), drawn.Right, 2);
    EXPECT_NEAR(ink.Bottom - printable.y(), drawn.Bottom, 2);
}
