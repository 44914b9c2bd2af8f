#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

// The yardstick of the start-up benchmark: the least a Qt program with a window shows, a menu bar
// and one button.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Bare window");
    window.menuBar()->addMenu("File")->addAction("Exit", &application, &QApplication::quit);
    window.setCentralWidget(new QPushButton("Generate"));
    window.show();
    return QApplication::exec();
}
