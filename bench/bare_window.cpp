// The yardstick for the program's start-up: a bare Qt main window of the program's size with a
// menu bar, a few labels and a status line, so that it lays out and paints text as every window
// with words in it does (a window without text would leave out the font set-up that any such
// window pays). Shown once, then the program ends as korbi-programmer --exit-after-start does.
// bench/startup.sh runs both and compares time and memory.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char* title : {"&Datei", "&Bearbeiten", "&Hilfe"})
        window.menuBar()->addMenu(QString::fromUtf8(title))->addAction(QStringLiteral("Beenden"));
    auto* client = new QWidget;
    auto* column = new QVBoxLayout(client);
    for (const char* text : {"Funkkennung", "Anwenderalarme", "Lesen vom K-ORBI"})
        column->addWidget(new QLabel(QString::fromUtf8(text)));
    window.setCentralWidget(client);
    window.statusBar()->showMessage(QStringLiteral("Bereit"));
    window.resize(914, 581);
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
