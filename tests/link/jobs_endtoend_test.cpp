// A whole read and write through the tty driver on a pseudo-terminal, served by the lpx-sim
// tool in its own process.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLineEdit>
#include <QTemporaryDir>
#include <ctime>
#include <fstream>
#include <sstream>

#include "app/mainwindow.h"
#include "jobs_fixture.h"
#include "link/changecode.h"
#include "link/receiveradio.h"
#include "link/ttydriver.h"
#include "resources/catalogue.h"

namespace {

// lpx-sim with one generation 1 device whose button is pressed pressAfterMs after every job
// start, or (-1) when Press is called; its log of received commands goes to a file.
class LpxSimProcess {
  public:
    explicit LpxSimProcess(const std::string& logPath, long pressAfterMs = 50) {
        int out[2], in[2];
        if (pipe(out) != 0 || pipe(in) != 0) return;
        const std::string press = "--press-after=" + std::to_string(pressAfterMs);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            dup2(in[0], 0);
            const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(log, 2);
            close(out[0]);
            close(in[1]);
            execl(LPX_SIM_PATH, "lpx-sim", press.c_str(), "--device=4C2D:1A",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        close(in[0]);
        keys_ = in[1];
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') path += c;
        close(out[0]);
    }
    ~LpxSimProcess() {
        HangUp();
        close(keys_);
    }
    void Press() const { EXPECT_EQ(write(keys_, "\n", 1), 1); }
    // The LPX's end of the line goes away, as when the converter is unplugged.
    void HangUp() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    std::string path;

  private:
    pid_t pid_ = -1;
    int keys_ = -1;
};

// The program's main window with its wait dialog, its LPX on the serial device at port.
struct ProgramOnPort {
    explicit ProgramOnPort(const std::string& port) : driver(TtyDriver::ForPort(port)) {
        env.prompts = &prompts;
        env.serialDriver = driver.get();
        window = std::make_unique<TfrmMain>(env);
        wait = new TfrmReceiveRadio(window.get());
        window->AttachDialogs(wait, nullptr, new TfrmChangeCode(window.get(), window.get()),
                              nullptr);
    }
    std::unique_ptr<TtyDriver> driver;
    ScriptedPrompts prompts;
    AppEnvironment env;
    std::unique_ptr<TfrmMain> window;
    TfrmReceiveRadio* wait = nullptr;
};

// The commands lpx-sim logged ("lpx-sim: m0622"), without its answers and button notes.
std::vector<std::string> LoggedCommands(const std::string& logPath) {
    std::ifstream in(logPath);
    std::vector<std::string> commands;
    const std::string prefix = "lpx-sim: ";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) != 0) continue;
        const std::string rest = line.substr(prefix.size());
        if (rest.empty() || rest[0] == ' ' || rest.find(' ') != std::string::npos) continue;
        commands.push_back(rest);
    }
    return commands;
}

TEST(JobsEndToEnd, ReadAndWriteThroughThePseudoTerminal) {
    QTemporaryDir dir;
    const std::string logPath = dir.filePath("lpx-sim.log").toStdString();
    LpxSimProcess lpx(logPath);
    ASSERT_FALSE(lpx.path.empty());
    ProgramOnPort program(lpx.path);
    TfrmMain& window = *program.window;
    const ScriptedPrompts& prompts = program.prompts;

    window.btnReadFromDeviceClick();
    EXPECT_EQ(window.StatusText(), Text(10506));
    EXPECT_EQ(window.findChild<QLineEdit*>("edtRadioCodeOld")->text(), "4C2D");
    EXPECT_EQ(window.findChild<QLineEdit*>("edtBatteryTestInterval")->text(), "24");
    EXPECT_EQ(window.findChild<QLineEdit*>("edtFirmwareVersion")->text(), "1.A");

    window.findChild<QLineEdit*>("edtBatteryTestInterval")->setText("42");
    window.btnWriteToDeviceClick();
    EXPECT_EQ(window.StatusText(), Text(10605));

    window.findChild<QLineEdit*>("edtBatteryTestInterval")->setText("7");
    window.btnReadFromDeviceClick();
    EXPECT_EQ(window.StatusText(), Text(10506));
    EXPECT_EQ(window.findChild<QLineEdit*>("edtBatteryTestInterval")->text(), "42");
    EXPECT_TRUE(prompts.MessageIds().isEmpty());

    const std::vector<std::string> identification = {"v",     "s1", "m", "m022E",
                                                     "iFFFF", "M",  "x", "s0"};
    std::vector<std::string> read = identification;
    for (const char* c : {"m", "m0622", "m0828", "m0830", "m0840", "m0848", "m0238", "i4C2D", "M",
                          "x", "x", "x", "x", "x", "x", "x", "m"})
        read.push_back(c);
    std::vector<std::string> expected = read;
    expected.insert(expected.end(), identification.begin(), identification.end());
    std::vector<std::string> logged = LoggedCommands(logPath);
    ASSERT_GE(logged.size(), expected.size() + 9 + read.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(logged[i], expected[i]) << i;
    // The write: five common blocks, the job for the device's code, one poll, list emptied.
    const size_t w = expected.size();
    const char* heads[] = {"n", "n0327", "n022C", "n0730", "n0840", "n0848", "i4C2D", "N", "n"};
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(logged[w + i].substr(0, 5), heads[i]) << w + i;
    EXPECT_EQ(logged[w + 2], "n022C2A11");  // battery test interval 42, configuration bits
    EXPECT_EQ(std::vector<std::string>(logged.begin() + static_cast<long>(w + 9), logged.end()),
              read);
}

// The converter goes away while the read waits for the button: the wait ends at the next poll
// without spinning, the user is told, nothing is left open, and once the LPX is back under its
// name the next job finds it without a restart.
TEST(JobsEndToEnd, LostLineEndsTheWaitAndTheLpxIsFoundAgain) {
    QTemporaryDir dir;
    const std::string port = dir.filePath("korbi-lpx").toStdString();  // as the udev link
    auto lpx = std::make_unique<LpxSimProcess>(dir.filePath("1.log").toStdString(), -1);
    ASSERT_EQ(symlink(lpx->path.c_str(), port.c_str()), 0);
    ProgramOnPort program(port);
    TfrmMain& window = *program.window;
    ScriptedPrompts& prompts = program.prompts;
    ShowHook hook;
    program.wait->installEventFilter(&hook);
    std::clock_t cpuAtHangUp = 0;  // the whole process's, all threads
    hook.actions = {[&] { lpx->Press(); },
                    [&] {
                        cpuAtHangUp = std::clock();
                        lpx->HangUp();
                    }};
    window.btnReadFromDeviceClick();
    const double cpu = double(std::clock() - cpuAtHangUp) / CLOCKS_PER_SEC;
    EXPECT_EQ(hook.shows, 2);
    EXPECT_LT(cpu, 0.3) << "the wait spun on the hung-up line";
    ASSERT_EQ(prompts.MessageIds(), QList<int>{10805});
    EXPECT_EQ(prompts.records[0].text, Text(10805) + "\n\n" + Text(20050));
    EXPECT_FALSE(window.adapter.IsOpen());
    EXPECT_FALSE(window.findChild<QTimer*>("tmrPollLpxInfo")->isActive());
    EXPECT_EQ(window.Jobs().pollTag, PollNone);
    EXPECT_TRUE(window.StatusText().isEmpty());

    lpx = std::make_unique<LpxSimProcess>(dir.filePath("2.log").toStdString());
    ASSERT_EQ(unlink(port.c_str()), 0);
    ASSERT_EQ(symlink(lpx->path.c_str(), port.c_str()), 0);
    prompts.Clear();
    window.btnReadFromDeviceClick();
    EXPECT_EQ(window.StatusText(), Text(10506));
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
}

}  // namespace
