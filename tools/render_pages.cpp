// render-pages OUTDIR [PROGRAMDIR]: draws the main window with its German captions on the
// offscreen platform and writes general.png, rfid.png, window.png and the menus as PNG files,
// so the layout can be looked at without a display. Without PROGRAMDIR the window shows its
// start values; with it (a folder holding the shipped files, e.g. the build's app folder) the
// whole start-up runs in temporary folders and the window shows the v2.x template.

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "app/application.h"
#include "app/mainwindow.h"
#include "app/prompts.h"

namespace {

// Says nothing, answers every question with its first button and cancels every dialog; boxes
// are listed on stderr so a surprise does not go unnoticed.
class SilentPrompts : public Prompts {
  public:
    BoxAnswer ShowMessage(BoxKind, int textId, const QString& text, BoxButtons buttons) override {
        std::fprintf(stderr, "box %d: %s\n", textId, qPrintable(text));
        return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Yes;
    }
    QString AskOpenFile(const FileDialogRequest&) override { return QString(); }
    QString AskSaveFile(const FileDialogRequest&) override { return QString(); }
    QString AskFolder(const QString&, const QString&) override { return QString(); }
};

bool Save(const QPixmap& pixmap, const QDir& dir, const char* name) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!pixmap.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s (%dx%d)\n", qPrintable(path), pixmap.width(), pixmap.height());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: render-pages OUTDIR [PROGRAMDIR]\n");
        return 2;
    }
    InstallGermanToolkitTexts(app);
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    QTemporaryDir data, documents;
    SilentPrompts prompts;
    AppEnvironment env;
    env.commonDataFolder = data.path();
    env.commonDocumentsFolder = documents.path();
    env.programFolder =
        (argc == 3 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath() : data.path()) + "/";
    env.arguments = QStringList{QStringLiteral("korbi-programmer")};
    env.prompts = &prompts;

    TfrmMain window(env);
    if (argc == 3) {
        window.FormCreate();
    } else {
        window.LocaliseCaptions();
        window.BuildControlLists();
    }
    window.show();
    QApplication::processEvents();

    bool ok = true;
    window.pgMain->setCurrentWidget(window.tbsGeneral);
    ok &= Save(window.tbsGeneral->grab(), out, "general.png");
    window.pgMain->setCurrentWidget(window.tbsRFID);
    ok &= Save(window.tbsRFID->grab(), out, "rfid.png");
    window.pgMain->setCurrentWidget(window.tbsGeneral);
    ok &= Save(window.grab(), out, "window.png");
    for (QMenu* menu : {window.mnuFile, window.mnuFileNew, window.mnuComm, window.mnuHelp}) {
        menu->adjustSize();
        ok &= Save(menu->grab(), out, qPrintable(menu->objectName() + ".png"));
    }
    return ok ? 0 : 1;
}
