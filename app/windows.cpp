#include "app/windows.h"

#include <exception>

#include "app/about.h"
#include "app/application.h"
#include "app/codedialog.h"
#include "app/folderdialog.h"
#include "app/mainwindow.h"
#include "app/prompts.h"
#include "app/tracenotice.h"
#include "app/waitdialog.h"
#include "link/practicelpx.h"

AppWindows CreateWindows(const AppEnvironment& env, const MainWindowReady& ready,
                         const WindowCreated& created) {
    AppWindows windows;
    windows.main = std::make_unique<TfrmMain>(env);
    TfrmMain* main = windows.main.get();
    if (ready) ready(main);
    // An error in start-up ends start-up only: the box shows it, the other windows are still
    // created and the program runs on with the main window as far as it got.
    try {
        main->FormCreate();
    } catch (const std::exception& error) {
        ShowEscapedError(env.prompts, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowEscapedError(env.prompts, QString());
    }
    if (created) created(main);

    auto note = [&created](QWidget* window) {
        if (created) created(window);
    };
    windows.receiveRadio = new TfrmReceiveRadio(main);
    if (env.practiceLpx) {
        TfrmReceiveRadio* wait = windows.receiveRadio;
        PracticeLpx* lpx = env.practiceLpx;
        wait->AddPracticeButton([main, lpx] { lpx->PressButton(main->Jobs().WriteRunning()); });
    }
    note(windows.receiveRadio);
    windows.selectDirectory = new TfrmSelectDirectory(main);
    note(windows.selectDirectory);
    windows.changeCode = new TfrmChangeCode(main->Jobs(), main);
    note(windows.changeCode);
    windows.about = new TfrmAbout(main);
    note(windows.about);

    main->AttachDialogs(windows.receiveRadio, windows.selectDirectory, windows.changeCode,
                        windows.about);
    if (env.prompts)
        ReportTraceFailuresIn(main, *env.prompts, [main] { return main->Jobs().Running(); });
    return windows;
}
