#include "Application.h"
#include "TemporaryName.h"
#include "Unit3.h"
#include "WindowIcon.h"
#include "main.h"

#include <QApplication>

int main(int argc, char** argv) {
    InstallFileSignalHandlers();
    QApplication application(argc, argv);
    QApplication::setApplicationName(Application::Title);
    // Every window, the About box among them, shows the program's own icon.
    QApplication::setWindowIcon(AppWindowIcon());
    TForm1 Form1;
    TForm3 Form3;
    Form1.Form3 = &Form3;
    // Showing the main window generates once, which shows the code window too.
    Form1.show();
    return QApplication::exec();
}
