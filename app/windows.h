#pragma once
// The program's windows: the main window, created at start (its creation runs the start-up
// sequence), and its four dialogs, each made hidden as the main window's child the first time it
// is used: the wait dialog, the default folder dialog, the radio ID code dialog and the About
// box.

#include <functional>
#include <memory>

#include "app/environment.h"

class QWidget;
class MainWindow;

struct AppWindows {
    std::unique_ptr<MainWindow> main;  // the dialogs are its children, released with it
};

// Called once the main window exists, before its start-up runs (e.g. to make it the parent of
// the prompts' boxes).
using MainWindowReady = std::function<void(MainWindow*)>;
// Called after each window is complete, in creation order: the main window at once, a dialog
// when it is first used.
using WindowCreated = std::function<void(QWidget*)>;

AppWindows CreateWindows(const AppEnvironment& env, const MainWindowReady& ready = {},
                         const WindowCreated& created = {});
