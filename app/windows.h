#pragma once
// The program's five windows, created once at start in a fixed order: the main window first
// (its creation runs the start-up sequence), then the wait dialog, the default folder dialog,
// the radio ID code dialog and the About box. All stay hidden until they are needed.

#include <QPointer>
#include <functional>
#include <memory>

#include "app/environment.h"

class QWidget;
class TfrmMain;
class TfrmReceiveRadio;
class TfrmSelectDirectory;
class TfrmChangeCode;
class TfrmAbout;

struct AppWindows {
    std::unique_ptr<TfrmMain> main;
    // Children of the main window, released with it.
    QPointer<TfrmReceiveRadio> receiveRadio;
    QPointer<TfrmSelectDirectory> selectDirectory;
    QPointer<TfrmChangeCode> changeCode;
    QPointer<TfrmAbout> about;
};

// Called once the main window exists, before its start-up runs (e.g. to make it the parent of
// the prompts' boxes).
using MainWindowReady = std::function<void(TfrmMain*)>;
// Called after each window is complete, in creation order.
using WindowCreated = std::function<void(QWidget*)>;

AppWindows CreateWindows(const AppEnvironment& env, const MainWindowReady& ready = {},
                         const WindowCreated& created = {});
