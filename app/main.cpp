// Program entry: German toolkit texts, the platform, the LPX driver, the five windows, the loop.

#include <exception>

#include "app/application.h"
#include "app/mainwindow.h"
#include "app/platform.h"
#include "app/qtprompts.h"
#include "app/windows.h"
#include "files/filewrite.h"
#include "link/driverfactory.h"

int main(int argc, char** argv) {
    IgnoreFileSizeSignal();
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
        driver = CreateSerialDriver(arguments);
        env.prompts = &prompts;
        env.serialDriver = driver.get();
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
