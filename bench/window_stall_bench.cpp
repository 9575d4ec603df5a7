// How long the window's thread stalls while device jobs run against the simulated LPX: a 5 ms
// timer on the window's thread notes the largest gap between its ticks. Scenes: a read, a checked
// write, a series of three, an LPX that stops answering in the middle of a wait (the user aborts
// after two seconds), and the About box opened without an LPX. Run by hand:
// build/bench/window-stall-bench (offscreen).

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/about.h"
#include "app/codedialog.h"
#include "app/mainwindow.h"
#include "app/prompts.h"
#include "app/seriesdialog.h"
#include "app/waitdialog.h"
#include "link/lpxsim.h"
#include "link/practicelpx.h"
#include "link/simdriver.h"

namespace {

// Every question is answered Yes, every box closed at once.
class YesPrompts : public Prompts {
  public:
    BoxAnswer ShowMessage(BoxKind, int, const QString&, BoxButtons buttons) override {
        return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Yes;
    }
    QString AskOpenFile(const FileDialogRequest&) override { return {}; }
    QString AskSaveFile(const FileDialogRequest&) override { return {}; }
    QString AskFolder(const QString&, const QString&) override { return {}; }
};

// The largest gap between the ticks of a 5 ms timer while the scene runs until done holds.
qint64 LargestGap(const std::function<void()>& start, const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, largest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        largest = std::max(largest, now - last);
        last = now;
    });
    tick.start(5);
    start();
    while (!done() && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return largest;
}

struct Bench {
    LpxSim sim;
    SimDriver driver{sim};
    YesPrompts prompts;
    std::unique_ptr<MainWindow> window;
    PressWaitDialog* wait = nullptr;
    AboutBox* about = nullptr;

    explicit Bench(SerialDriver* lpx = nullptr) {
        const int device = sim.AddDevice(0x4C2D, 0x21);
        sim.Device(device).memory[0x3C] = 25;  // a press time that fits the activation delay
        sim.Device(device).memory[0x3B] = 0;
        sim.SetAutoPress(device, 1);
        AppEnvironment env;
        env.prompts = &prompts;
        env.serialDriver = lpx ? lpx : &driver;
        window = std::make_unique<MainWindow>(env);
        wait = new PressWaitDialog(window.get());
        about = new AboutBox(window.get());
        window->AttachDialogs(wait, nullptr, new CodeChangeDialog(window->Jobs(), window.get()),
                              about);
    }
    bool Idle() { return !window->Jobs().Running() && !wait->isVisible(); }
};

void Report(const char* scene, qint64 ms) {
    std::printf("%-36s largest stall %4lld ms\n", scene, static_cast<long long>(ms));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    {
        Bench b;
        Report("read", LargestGap([&] { b.window->onReadClicked(); }, [&] { return b.Idle(); }));
    }
    {
        Bench b;
        b.window->findChild<QAction*>("mnuCommVerifyAfterWrite")->trigger();
        Report("checked write",
               LargestGap([&] { b.window->onWriteClicked(); }, [&] { return b.Idle(); }));
    }
    {
        // Three devices in a row: the practice LPX's, the trainee pressing every 100 ms.
        PracticeLpx practice(1);
        Bench b(&practice);
        SeriesDialog series(*b.window);
        series.edtCount->setValue(3);
        QTimer press;
        QObject::connect(&press, &QTimer::timeout,
                         [&] { practice.PressButton(b.window->Jobs().WriteRunning()); });
        press.start(100);
        Report("series of three", LargestGap([&] { series.onStartClicked(); },
                                             [&] { return series.btnStart->isEnabled(); }));
    }
    {
        Bench b;
        b.sim.SetAutoPress(0, 0);
        // The LPX answers no status poll from the wait on; the user aborts after two seconds.
        bool aborted = false;
        QTimer::singleShot(300, [&] { b.sim.InjectFault(SimFault::NoAnswer, "M"); });
        QTimer::singleShot(2300, [&] {
            b.wait->btbtnAbort->click();
            aborted = true;
        });
        Report("LPX silent in a wait, then abort",
               LargestGap([&] { b.window->onReadClicked(); }, [&] { return aborted && b.Idle(); }));
    }
    {
        Bench b;
        b.driver.SetAttached(false);
        bool closed = false;
        Report("About box without an LPX", LargestGap(
                                               [&] {
                                                   QTimer::singleShot(1000, [&] {
                                                       b.about->done(0);
                                                       closed = true;
                                                   });
                                                   b.window->onAboutTriggered();
                                               },
                                               [&] { return closed; }));
    }
    return 0;
}
