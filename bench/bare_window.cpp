// The yardstick for the program's start-up: a bare Qt main window of the program's size, shown
// once, then the program ends as korbi-programmer --exit-after-start does. bench/startup.sh
// runs both and compares time and memory.

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(914, 581);
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
