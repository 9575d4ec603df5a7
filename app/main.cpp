// Program entry: the options that need no window, a file handed to a window that runs already,
// German toolkit texts, the platform, the LPX driver, the five windows, the loop.

#include <QTimer>
#include <cstdio>
#include <exception>

#include "app/application.h"
#include "app/applicationbus.h"
#include "app/commandline.h"
#include "app/devicepicture.h"
#include "app/firstpaint.h"
#include "app/jobsignals.h"
#include "app/mainwindow.h"
#include "app/platform.h"
#include "app/qtprompts.h"
#include "app/windowaids.h"
#include "app/windows.h"
#include "files/filewrite.h"
#include "link/trace.h"
#include "version_record.h"

int main(int argc, char** argv) {
    ProgramOptions options;
    const int early = HandleCommandLineBeforeStart(argc, argv, stdout, stderr, &options);
    if (early >= 0) return early;

    IgnoreFileSizeSignal();
    KorbiApplication app(argc, argv);
    // A double-click on a file while the program runs: the running window opens it.
    if (HandFileToRunningWindow(options)) return 0;
    InstallGermanToolkitTexts(app);
    // The installed desktop entry's name: Wayland compositors find the entry and its icon by it.
    QGuiApplication::setDesktopFileName(QStringLiteral(KORBI_APP_ID));

    // Declared before the windows, so that they outlive them.
    QtPrompts prompts;
    app.SetPrompts(&prompts);
    std::unique_ptr<SerialDriver> driver;
    AppWindows windows;
    try {
        AppEnvironment env =
            PlatformEnvironment(StartupArguments(QCoreApplication::arguments().value(0), options));
        driver = ConnectLpx(options, env);
        env.journalServer = options.journal;
        env.prompts = &prompts;
        windows =
            CreateWindows(env, [&prompts](MainWindow* main) { prompts.SetParentWindow(main); });
        AddWindowAids(windows.main.get(), env);
        EndJobsOnSignals(windows.main->Jobs(), windows.main.get());
        windows.main->show();
        // On X11 the icon goes to the window manager drawn at five sizes, which would hold up
        // the first paint; the desktop entry's icon stands for the program until then.
        AfterFirstPaint(windows.main.get(), &app,
                        [] { QApplication::setWindowIcon(ProgramWindowIcon()); });
        // Files handed over go to a window that works on real devices and stays open: not to a
        // practice window (a real file would land in practice unnoticed), nor to an
        // installation check that ends at once. Connecting to the session bus and claiming the
        // name wait for the bus daemon twice; that waiting comes after the window is shown.
        if (!env.practiceMode && !(options.given & OptExitAfterStart))
            QTimer::singleShot(0, windows.main.get(),
                               [main = windows.main.get()] { ServeApplicationBus(main); });
        if (options.given & OptExitAfterStart) QTimer::singleShot(0, &app, &QCoreApplication::quit);
        app.exec();
    } catch (const std::exception& error) {
        ShowEscapedError(&prompts, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowEscapedError(&prompts, QString());
    }
    // The windows go first: a line still on its way to a company's server reaches the record.
    windows = AppWindows();
    StopTrace();
    RaiseEndingSignal();
    return 0;
}
