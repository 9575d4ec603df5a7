// CPU time against wall time of the LPX exchanges: waiting for an answer must sleep, not spin.
// Build with -DKORBI_BENCH=ON and run build/bench/link-bench; compare the Time (wall) and CPU
// columns, and the cpu_share counter (CPU time / wall time).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <thread>

#include "config/settingsmodel.h"
#include "jobs/devicejobs.h"
#include "jobs/jobview.h"
#include "link/lpxadapter.h"
#include "link/lpxsim.h"
#include "link/simdriver.h"
#include "link/ttydriver.h"

namespace {

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Measures the share of CPU time in wall time over the whole benchmark run.
struct Share {
    double cpu = ThreadCpuSeconds();
    double wall = WallSeconds();
    void Report(benchmark::State& state) const {
        state.counters["cpu_share"] = (ThreadCpuSeconds() - cpu) / (WallSeconds() - wall);
    }
};

struct Pty {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    std::string slave;
    Pty() {
        grantpt(master);
        unlockpt(master);
        slave = ptsname(master);
    }
    ~Pty() { close(master); }
};

// The adapter opened on the terminal's slave side through the tty driver.
struct PtyAdapter {
    Pty pty;
    std::unique_ptr<TtyDriver> driver = TtyDriver::ForPort(pty.slave);
    LpxAdapter adapter{driver.get()};
    bool Open(benchmark::State& state) {
        if (adapter.Open() == LpxResultOk) return true;
        state.SkipWithError("cannot open the pseudo-terminal");
        return false;
    }
};

// The simulated LPX answering on a pseudo-terminal in a thread of its own, as lpx-sim does.
class PtyLpx {
  public:
    explicit PtyLpx(LpxSim& sim) : thread_([this, &sim] { Serve(sim); }) {}
    ~PtyLpx() {
        stop_ = true;
        thread_.join();
    }
    const std::string& Port() const { return pty_.slave; }

  private:
    void Serve(LpxSim& sim) {
        while (!stop_) {
            pollfd p{pty_.master, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN)) continue;
            char buffer[128];
            const ssize_t n = read(pty_.master, buffer, sizeof buffer);
            if (n <= 0) continue;
            for (const SimPiece& piece : sim.Receive(std::string(buffer, size_t(n))))
                if (write(pty_.master, piece.bytes.data(), piece.bytes.size()) < 0) break;
        }
    }
    Pty pty_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The identification and the read of a generation-2 device, command by command as the jobs
// send them, with the button pressed at the first status poll. False when a command was refused.
bool ReadJobConversation(LpxAdapter& adapter) {
    std::string text;
    int refused = 0;
    const auto sent = [&refused](LpxResult result) { refused += result != LpxResultOk; };
    sent(adapter.Open());
    sent(adapter.CheckLpxFirmware("15-1"));
    sent(adapter.EnterIdentifyMode());
    sent(adapter.RequestReadBlock(""));
    sent(adapter.RequestReadBlock(kIdentifyBlock));
    sent(adapter.StartJob("FFFF"));
    while (adapter.QueryReadJobStatus(text) == LpxResultOk && text != "03") {
    }
    sent(adapter.FetchRecord(text));
    sent(adapter.LeaveIdentifyMode());
    sent(adapter.RequestReadBlock(""));
    for (const std::string& block : ReadPlan(2)) sent(adapter.RequestReadBlock(block));
    sent(adapter.StartJob("12AB"));
    while (adapter.QueryReadJobStatus(text) == LpxResultOk && text != "03") {
    }
    ConfigImage image;
    while (adapter.FetchRecord(text) == LpxResultOk) StoreReadRecord(image, text, MarkFromDevice);
    sent(adapter.RequestReadBlock(""));
    adapter.Close();
    return refused == 0;
}

void BM_NoAnswerOnTty(benchmark::State& state) {
    PtyAdapter line;
    if (!line.Open(state)) return;
    LpxAdapter& adapter = line.adapter;
    Share share;
    std::string payload;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            adapter.ReceiveAnswer(payload, kAnswerTimeoutMs, AnswerKind::Framed));
    share.Report(state);
    adapter.Close();
}
BENCHMARK(BM_NoAnswerOnTty)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);

// The status poll of a wait after the converter went away: the terminal's other side hangs up,
// and every poll tick must cost next to nothing instead of spinning through its answer time.
void BM_StatusPollOnHungUpTty(benchmark::State& state) {
    PtyAdapter line;
    if (!line.Open(state)) return;
    LpxAdapter& adapter = line.adapter;
    close(line.pty.master);
    line.pty.master = -1;
    Share share;
    std::string status;
    // Ticks every 500 ms, as the poll timer gives them during a wait.
    auto tick = std::chrono::steady_clock::now();
    for (auto _ : state) {
        benchmark::DoNotOptimize(adapter.QueryReadJobStatus(status));
        tick += std::chrono::milliseconds(500);
        std::this_thread::sleep_until(tick);
    }
    share.Report(state);
    adapter.Close();
}
BENCHMARK(BM_StatusPollOnHungUpTty)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);

void BM_ReadJobOnSimDriver(benchmark::State& state) {
    LpxSim sim;
    sim.SetAutoPress(sim.AddDevice(0x12AB, 0x21), 1);
    SimDriver driver(sim);
    LpxAdapter adapter(&driver);
    Share share;
    for (auto _ : state)
        if (!ReadJobConversation(adapter)) state.SkipWithError("the LPX refused a command");
    share.Report(state);
    state.counters["commands"] = static_cast<double>(sim.Log().size()) / state.iterations();
}
BENCHMARK(BM_ReadJobOnSimDriver)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);

// The same conversation through the tty driver, the simulated LPX answering on the terminal's
// other side in a thread of its own (whose CPU time is not counted).
void BM_ReadJobOnTty(benchmark::State& state) {
    LpxSim sim;
    sim.SetAutoPress(sim.AddDevice(0x12AB, 0x21), 1);
    PtyLpx lpx(sim);
    auto driver = TtyDriver::ForPort(lpx.Port());
    LpxAdapter adapter(driver.get());
    Share share;
    for (auto _ : state)
        if (!ReadJobConversation(adapter)) state.SkipWithError("the LPX refused a command");
    share.Report(state);
}
BENCHMARK(BM_ReadJobOnTty)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);

// The jobs themselves against their mandated polls: every wait asks for the job status every
// 500 ms, and the device is pressed so that the first poll sees the job done. beyond_polls_ms is
// what a job costs on top of those polls (the exchanges and their answer waits).
class YesMessages : public Messages {
  public:
    BoxAnswer ShowMessage(BoxKind, int, const QString&, BoxButtons) override {
        return BoxAnswer::Yes;
    }
};

class PollingHost : public JobHost {
  public:
    explicit PollingHost(SettingsModel& view) : view_(view) {}
    Messages& JobMessages() override { return messages_; }
    void ShowStatus(const QString&) override {}
    void SetWaitTitle(const QString&) override {}
    void WaitBegins(const WaitTexts&) override {}
    void WaitEnds() override {}
    // One poll interval between polls, as korbi-cli waits.
    bool PollInterval() override {
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollIntervalMs));
        ++polls;
        return true;
    }
    ReadShown ShowRead(const QString& code, const ConfigImage& image) override {
        return ShowReadInView(view_, code, image, nullptr);
    }
    int polls = 0;

  private:
    SettingsModel& view_;
    YesMessages messages_;
};

enum class BenchJob { Identify, Read, Write, CheckedWrite, CodeChange };

// job: a BenchJob; line 0: the in-process driver, 1: the tty driver on a pseudo-terminal.
void BM_Job(benchmark::State& state) {
    const auto job = static_cast<BenchJob>(state.range(0));
    LpxSim sim;
    const int device = sim.AddDevice(0x12AB, 0x21);
    sim.Device(device).memory[0x3C] = 25;  // a press time that fits the activation delay
    sim.Device(device).memory[0x3B] = 0;
    sim.SetAutoPress(device, 1);
    SimDriver simDriver(sim);
    std::unique_ptr<PtyLpx> pty;
    std::unique_ptr<TtyDriver> ttyDriver;
    if (state.range(1) == 1) {
        pty = std::make_unique<PtyLpx>(sim);
        ttyDriver = TtyDriver::ForPort(pty->Port());
    }
    LpxAdapter adapter(ttyDriver ? static_cast<SerialDriver*>(ttyDriver.get()) : &simDriver);
    SettingsModel settings;
    PollingHost host(settings);
    DeviceJobs jobs(adapter, host);
    ConfigImage shown;
    ImageBytes bytes{};
    std::copy(sim.Device(device).memory.begin(), sim.Device(device).memory.end(), bytes.begin());
    FillFileImage(shown, bytes, MarkFromFile);
    settings.EnableGeneration2Controls(shown);
    settings.DecodeConfigImage(shown, MarkFromFile);
    WriteRequest checked = WriteRequestOf(settings);
    checked.verify = true;
    const WriteRequest plain = WriteRequestOf(settings);
    double beyond = 0;
    for (auto _ : state) {
        const int pollsBefore = host.polls;
        const auto start = std::chrono::steady_clock::now();
        switch (job) {
            case BenchJob::Identify:
                jobs.Identify();
                break;
            case BenchJob::Read:
                jobs.Read({});
                break;
            case BenchJob::Write:
                jobs.Write(plain);
                break;
            case BenchJob::CheckedWrite:
                jobs.Write(checked);
                break;
            case BenchJob::CodeChange:
                jobs.ChangeCode({sim.Device(device).RadioCode() == 0x1A2B ? "12AB" : "1A2B"});
                break;
        }
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        beyond += took.count() - (host.polls - pollsBefore) * double(kPollIntervalMs);
    }
    state.counters["beyond_polls_ms"] = beyond / double(state.iterations());
}
BENCHMARK(BM_Job)
    ->ArgNames({"job", "tty"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
