#pragma once
// A real main window with its wait dialog and code change dialog on the offscreen platform,
// talking through the adapter to a simulated LPX in the same process. The user is scripted:
// message boxes answer from a queue, and each showing of the wait dialog runs the next planned
// action (by default the first device's button is pressed).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/codedialog.h"
#include "app/mainwindow.h"
#include "app/waitdialog.h"
#include "link/lpxsim.h"
#include "link/simdriver.h"
#include "lpx_commands.h"
#include "resources/catalogue.h"
#include "support/job_events.h"
#include "support/scripted_prompts.h"

// Runs an action each time the watched dialog is shown, and ends a wait that nobody ends.
// The window's success lines name the device that answered; most tests use 4C2D.
inline const QString kReadDone = QString::fromUtf8("K-ORBI 4C2D: Auslesen abgeschlossen");
inline const QString kWriteDone =
    QString::fromUtf8("K-ORBI 4C2D: Konfiguration wurde aktualisiert.");

class ShowHook : public QObject {
  public:
    std::deque<std::function<void()>> actions;
    std::function<void()> fallback;
    int shows = 0;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            ++shows;
            std::function<void()> action = fallback;
            if (!actions.empty()) {
                action = actions.front();
                actions.pop_front();
            }
            if (action) QTimer::singleShot(0, this, action);
            auto* dialog = qobject_cast<QDialog*>(watched);
            const int show = shows;
            QTimer::singleShot(15000, this, [this, dialog, show] {
                if (dialog->isVisible() && shows == show) {
                    ADD_FAILURE() << "wait dialog left open";
                    if (auto* abort = dialog->findChild<QPushButton*>("btbtnAbort")) abort->click();
                }
            });
        }
        return false;
    }
};

class JobsTest : public ::testing::Test {
  protected:
    JobsTest() : driver(sim) {
        env.prompts = &prompts;
        env.serialDriver = &driver;
        window = std::make_unique<MainWindow>(env);
        wait = new PressWaitDialog(window.get());
        change = new CodeChangeDialog(window->Jobs(), window.get());
        window->AttachDialogs(wait, nullptr, change, nullptr);
        wait->installEventFilter(&waitHook);
        waitHook.fallback = [this] { sim.PressButton(0); };
    }
    ~JobsTest() override {
        EXPECT_EQ(driver.OpenHandles(), 0) << "the adapter was left open";
        EXPECT_FALSE(window->Jobs().Running()) << "a job still runs";
        window.reset();
    }

    // A device whose settings pass the checks of both generations (its press time fits any
    // activation delay), shown in the view as a file would show it.
    int ShownDevice(uint16_t code, uint8_t firmwareVersion) {
        const int device = sim.AddDevice(code, firmwareVersion);
        sim.Device(device).memory[0x3C] = 25;
        sim.Device(device).memory[0x3B] = 0x00;
        ImageBytes bytes{};
        for (int a = 0; a < kImageSize; ++a) bytes[a] = sim.Device(device).memory[a];
        FillFileImage(window->fileImage, bytes, MarkFromFile);
        window->Model().EnableGeneration2Controls(window->fileImage);
        EXPECT_EQ(window->Model().DecodeConfigImage(window->fileImage, MarkFromFile), DecodeOk);
        window->Model().MarkClean();  // shown as a loaded file: nothing edited yet
        prompts.Clear();
        return device;
    }

    // Plans the actions for the next showings of the wait dialog.
    void Press(int device) {
        waitHook.actions.push_back([this, device] { sim.PressButton(device); });
    }
    void Abort() {
        waitHook.actions.push_back([this] { wait->btbtnAbort->click(); });
    }

    LpxSim sim;
    SimDriver driver;
    ScriptedPrompts prompts;
    AppEnvironment env;
    std::unique_ptr<MainWindow> window;
    PressWaitDialog* wait = nullptr;
    CodeChangeDialog* change = nullptr;
    ShowHook waitHook;
};
