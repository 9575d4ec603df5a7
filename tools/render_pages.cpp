// render-pages [--locale=NAME] OUTDIR [PROGRAMDIR]: draws the main window with its German
// captions on the offscreen platform and writes general.png, rfid.png, window.png and the menus
// as PNG files, so the layout can be looked at without a display. Without PROGRAMDIR the window
// shows its start values; with it (a folder holding the shipped files, e.g. the build's app
// folder) the whole start-up runs in temporary folders and the window shows the v2.x template.
// --locale=de_DE draws the numbers as that locale writes them, whatever the system's locale is.
// about.png shows the About box with a simulated LPX and PROGRAMDIR's about.ini, if any;
// wait.png, wait-write.png and wait-code.png the wait dialog of a read, a write and a code
// change, wait-series.png the check after a write of a series, wait_practice.png the read's in
// practice mode, changecode.png the radio ID code dialog, report.png the first page of the
// programming report of a checked series of three devices.

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocale>
#include <QMenu>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "app/about.h"
#include "app/application.h"
#include "app/codedialog.h"
#include "app/mainwindow.h"
#include "app/platform.h"
#include "app/prompts.h"
#include "app/waitdialog.h"
#include "files/templates.h"
#include "link/lpxsim.h"
#include "link/simdriver.h"
#include "record/journal.h"
#include "report/reportpages.h"
#include "resources/catalogue.h"

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

// A series of three devices of a care home written with the v2.x template and checked, each with
// its room, as the record keeps it.
Report SampleReport() {
    ImageBytes bytes = StartTemplate(2);
    const QByteArray image(reinterpret_cast<const char*>(bytes.data()), kImageSize);
    Report report;
    const QDateTime start(QDate(2026, 3, 2), QTime(9, 14, 5));
    const char* const codes[][2] = {{"4C2D", "1001"}, {"5D3E", "1002"}, {"6E4F", "1003"}};
    for (int i = 0; i < 3; ++i) {
        JournalEntry line;
        line.time = start.addSecs(41 * i);
        line.job = JournalJob::Write;
        line.codeBefore = QString::fromLatin1(codes[i][0]);
        line.codeAfter = QString::fromLatin1(codes[i][1]);
        line.firmwareVersion = QStringLiteral("2.1");
        line.site = QStringLiteral("Pflegeheim Sonnenhof, Haus B");
        line.room = QStringLiteral("Zimmer %1").arg(101 + i);
        line.fileName = QStringLiteral(
            "/home/techniker/Documents/TALO/K-ORBI config/"
            "Sonnenhof Haus B Notruf Bett.Korbi");
        line.sha256 = QString::fromLatin1(
            QCryptographicHash::hash(image, QCryptographicHash::Sha256).toHex());
        line.verifyOutcome = QString::fromUtf8(kVerifiedWord);
        report.lines << JournalFields(line);
        report.images.insert(line.sha256, image);
    }
    report.header = ReportHeaderHere(QStringLiteral("LPX info: 15-1 LPX V1"),
                                     QStringLiteral("Serie vom 02.03.2026 09:14"));
    // Who and where: the same in every picture, whoever builds it.
    report.header.made = start.addSecs(300);
    report.header.technician = QStringLiteral("Erika Mustermann");
    report.header.computer = QStringLiteral("servicelaptop-3");
    return report;
}

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
    QStringList args = app.arguments().mid(1);
    const QString localeOption = QStringLiteral("--locale=");
    if (!args.isEmpty() && args.first().startsWith(localeOption)) {
        const QLocale locale(args.takeFirst().mid(localeOption.size()));
        if (locale.language() == QLocale::C) {
            std::fprintf(stderr, "unknown locale\n");
            return 2;
        }
        QLocale::setDefault(locale);
    }
    if (args.size() != 1 && args.size() != 2) {
        std::fprintf(stderr, "usage: render-pages [--locale=NAME] OUTDIR [PROGRAMDIR]\n");
        return 2;
    }
    InstallGermanToolkitTexts(app);
    QDir out(args[0]);
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(args[0]));
        return 1;
    }

    QTemporaryDir data, documents;
    SilentPrompts prompts;
    AppEnvironment env;
    env.commonDataFolder = data.path();
    env.commonDocumentsFolder = documents.path();
    const bool startUp = args.size() == 2;
    env.programFolder = (startUp ? QDir(args[1]).absolutePath() : data.path()) + "/";
    env.arguments = QStringList{QStringLiteral("korbi-programmer")};
    env.prompts = &prompts;

    MainWindow window(env);
    if (startUp) {
        window.FormCreate();
    } else {
        window.LocaliseCaptions();
        window.BuildControlLists();
    }
    window.show();
    QApplication::processEvents();

    bool ok = true;
    window.findChild<QTabWidget*>("pgMain")->setCurrentWidget(
        window.findChild<QWidget*>("tbsGeneral"));
    ok &= Save(window.findChild<QWidget*>("tbsGeneral")->grab(), out, "general.png");
    window.findChild<QTabWidget*>("pgMain")->setCurrentWidget(
        window.findChild<QWidget*>("tbsRFID"));
    ok &= Save(window.findChild<QWidget*>("tbsRFID")->grab(), out, "rfid.png");
    window.findChild<QTabWidget*>("pgMain")->setCurrentWidget(
        window.findChild<QWidget*>("tbsGeneral"));
    ok &= Save(window.grab(), out, "window.png");
    for (QMenu* menu : {window.findChild<QMenu*>("mnuFile"), window.findChild<QMenu*>("mnuFileNew"),
                        window.findChild<QMenu*>("mnuComm"), window.findChild<QMenu*>("mnuHelp")}) {
        menu->adjustSize();
        ok &= Save(menu->grab(), out, qPrintable(menu->objectName() + ".png"));
    }

    LpxSim sim;
    SimDriver driver(sim);
    AboutBox about(&window);
    LpxAdapter lpx(&driver);
    about.Configure(
        env.programFolder, QString(), ProgramVersionRecord(),
        [&lpx](std::function<void(const QString&)> told) { told(ReadLpxInfoLine(lpx)); });
    about.show();
    QApplication::processEvents();
    ok &= Save(about.grab(), out, "about.png");

    PressWaitDialog wait(&window);
    const struct {
        int title, instruction;
        const char* file;
        const char* series;  // the device of a series the wait is for
    } waits[] = {
        {Msg::ChangeCodeTitle, Msg::PressToChangeCode, "wait-code.png", ""},
        {Msg::WriteTitle, Msg::PressToVerify, "wait-series.png", "Gerät 3 von 20"},
        {Msg::WriteTitle, Msg::PressToWrite, "wait-write.png", ""},
        {Msg::ReadTitle, Msg::PressToRead, "wait.png", ""},
    };
    for (const auto& w : waits) {
        wait.SetTitle(Text(w.title));
        wait.SetHeading(Text(Msg::WaitingForDevice));
        wait.SetInstruction(Text(w.instruction));
        wait.SetSeriesProgress(QString::fromUtf8(w.series));
        wait.show();
        QApplication::processEvents();
        ok &= Save(wait.grab(), out, w.file);
    }
    wait.AddPracticeButton([] {});
    QApplication::processEvents();
    ok &= Save(wait.grab(), out, "wait_practice.png");
    wait.hide();
    CodeChangeDialog change(window.Jobs(), &window);
    change.show();
    QApplication::processEvents();
    ok &= Save(change.grab(), out, "changecode.png");
    ok &= Save(QPixmap::fromImage(ReportPageImage(SampleReport(), 100)), out, "report.png");
    return ok ? 0 : 1;
}
