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
    windows.main = std::make_unique<MainWindow>(env);
    MainWindow* main = windows.main.get();
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

    // The dialogs are made when they are first used: each would otherwise delay the window.
    auto noted = [created](auto make) {
        return [created, make] {
            auto* dialog = make();
            if (created) created(dialog);
            return dialog;
        };
    };
    MainWindow::DialogMakers makers;
    makers.receiveRadio = noted([main, lpx = env.practiceLpx] {
        auto* wait = new PressWaitDialog(main);
        if (lpx)
            wait->AddPracticeButton([main, lpx] { lpx->PressButton(main->Jobs().WriteRunning()); });
        return wait;
    });
    makers.selectDirectory = noted([main] { return new FolderDialog(main); });
    makers.changeCode = noted([main] { return new CodeChangeDialog(main->Jobs(), main); });
    makers.about = noted([main] { return new AboutBox(main); });
    main->MakeDialogsOnDemand(std::move(makers));
    if (env.prompts)
        ReportTraceFailuresIn(main, *env.prompts, [main] { return main->Jobs().Running(); });
    return windows;
}
