#include <QApplication>

#include "app/mainwindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    AppEnvironment env;
    TfrmMain main(env);
    main.show();
    app.exec();
    return 0;
}
