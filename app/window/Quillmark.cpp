#include "Accessibility.h"
#include "Application.h"
#include "TemporaryName.h"
#include "Unit3.h"
#include "Version.h"
#include "WindowIcon.h"
#include "WindowPlacement.h"
#include "main.h"

#include <QApplication>
#include <QCommandLineParser>

#include <memory>
#include <string_view>

namespace {

// The name of the menu entry and of the AppStream data, so that the desktop matches the windows
// to them.
constexpr const char* DesktopFileName = "org.example.quillmark";

// --help and --version are answered by a core application, which needs no display, so they work
// in a terminal without one. --help-all lists the window system's options and so takes the
// QApplication.
bool AsksForHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "-v" || arg == "--version") {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    InstallFileSignalHandlers();
    const std::unique_ptr<QCoreApplication> application =
        AsksForHelpOrVersion(argc, argv) ? std::make_unique<QCoreApplication>(argc, argv)
                                         : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(Application::Title);
    QCoreApplication::setApplicationVersion(Product::Version);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Draws linear barcodes (EAN, Code 39, Code 93, Code 128, 2 of 5, Codabar, MSI, PostNet)\n"
        "in a window and saves them as image files, one at a time or a numbered range.\n"
        "quillmark-cli does the same without a window.");
    parser.addHelpOption();
    parser.addVersionOption();
    // Exits after --help and --version, and with a message on an unknown option.
    parser.process(*application);

    QGuiApplication::setDesktopFileName(DesktopFileName);
    InstallAccessibleFactory();
    // Every window, the About box among them, shows the program's own icon.
    QApplication::setWindowIcon(AppWindowIcon());
    TForm1 Form1;
    TForm3 Form3;
    Form1.Form3 = &Form3;
    QWidget* const windows[] = {&Form1, &Form3};
    PlaceOnScreen(windows);
    // Showing the main window generates once, which shows the code window too.
    Form1.show();
    const int code = QApplication::exec();
    // A run the close box stopped ends here, its files synced and a failure shown.
    Form1.FinishBatch();
    return code;
}
