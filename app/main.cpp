// Program entry: German toolkit texts, the platform, the LPX driver, the five windows, the loop.

#include <cstdio>
#include <exception>

#include "app/application.h"
#include "app/catalogue.h"
#include "app/mainwindow.h"
#include "app/platform.h"
#include "app/qtprompts.h"
#include "app/windows.h"
#include "link/driverfactory.h"

int main(int argc, char** argv) {
    // A mistyped practice option must end up neither on the real LPX nor silently in another
    // generation than the one asked for. Refused before the toolkit starts, so that the line
    // appears even without a display.
    QStringList commandLine;
    for (int i = 0; i < argc; ++i) commandLine << QString::fromLocal8Bit(argv[i]);
    if (SimulatedGeneration(commandLine) == kBadSimulateValue) {
        std::fprintf(stderr, "%s\n", Text(20152).toLocal8Bit().constData());
        return 2;
    }

    KorbiApplication app(argc, argv);
    InstallGermanToolkitTexts(app);

    // Declared before the windows, so that they outlive them.
    QtPrompts prompts;
    app.SetPrompts(&prompts);
    std::unique_ptr<SerialDriver> driver;
    AppWindows windows;
    try {
        const QStringList arguments = QCoreApplication::arguments();
        AppEnvironment env = PlatformEnvironment(arguments);
        driver = ConnectLpx(arguments, env);
        env.prompts = &prompts;
        windows = CreateWindows(env, [&prompts](TfrmMain* main) { prompts.SetParentWindow(main); });
        windows.main->show();
        app.exec();
    } catch (const std::exception& error) {
        ShowEscapedError(&prompts, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowEscapedError(&prompts, QString());
    }
    return 0;
}
