// Feeds arbitrary answers, in pieces at arbitrary times, to the adapter's exchanges. The line
// runs on a virtual clock that WaitForBytes advances, so every exchange ends at once in real
// time however long it waits on the line.
//
// Input: one byte choosing the exchange, then pieces of [length][delay in 4 ms steps][bytes].

#include <cstdlib>
#include <deque>
#include <string>

#include "config/image.h"
#include "link/lpxadapter.h"

namespace {

using Clock = std::chrono::steady_clock;

#define CHECK(condition) \
    if (!(condition)) std::abort()

struct Piece {
    Clock::duration delay;
    std::string bytes;
};

class VirtualLine : public SerialHandle {
  public:
    std::deque<Piece> script;
    Clock::time_point now = Clock::time_point() + std::chrono::hours(1);
    int readsSinceWrite = 0;

    int SetBaudRate(uint32_t) override { return DriverOk; }
    int SetDataCharacteristics(uint8_t, uint8_t, uint8_t) override { return DriverOk; }
    int SetFlowControl(uint16_t, uint8_t, uint8_t) override { return DriverOk; }
    int ClrDtr() override { return DriverOk; }
    int Purge(uint32_t mask) override {
        Arrive();
        if (mask & PurgeRx) queue_.clear();
        return DriverOk;
    }
    int SetTimeouts(uint32_t, uint32_t) override { return DriverOk; }
    int GetQueueStatus(uint32_t* count) override {
        Arrive();
        *count = static_cast<uint32_t>(queue_.size());
        return DriverOk;
    }
    int Read(uint8_t* buffer, uint32_t count, uint32_t* read) override {
        Arrive();
        CHECK(count <= queue_.size());  // the adapter never asks for bytes that are not there
        queue_.copy(reinterpret_cast<char*>(buffer), count);
        queue_.erase(0, count);
        readsSinceWrite += static_cast<int>(count);
        CHECK(readsSinceWrite <= kMaxAnswerBytes);
        *read = count;
        return DriverOk;
    }
    int Write(const uint8_t*, uint32_t, uint32_t* written) override {
        *written = 0;
        readsSinceWrite = 0;
        next_ = now;
        started_ = true;
        return DriverOk;
    }
    int WaitForBytes(int timeoutMs) override {
        Arrive();
        if (!queue_.empty()) return DriverOk;
        Clock::time_point wake = now + std::chrono::milliseconds(timeoutMs);
        if (started_ && !script.empty()) wake = std::min(wake, next_ + script.front().delay);
        now = std::max(now, wake);
        return DriverOk;
    }
    Clock::time_point Now() override { return now; }

  private:
    void Arrive() {
        while (started_ && !script.empty() && next_ + script.front().delay <= now) {
            next_ += script.front().delay;
            queue_ += script.front().bytes;
            script.pop_front();
        }
    }

    std::string queue_;
    Clock::time_point next_;
    bool started_ = false;
};

class VirtualDriver : public SerialDriver {
  public:
    VirtualLine* line = nullptr;
    std::deque<Piece> script;
    int OpenByDescription(const std::string&, std::unique_ptr<SerialHandle>* handle) override {
        auto created = std::make_unique<VirtualLine>();
        created->script = script;
        line = created.get();
        *handle = std::move(created);
        return DriverOk;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    VirtualDriver driver;
    for (size_t at = 1; at + 2 <= size;) {
        const size_t length = data[at];
        const auto delay = std::chrono::milliseconds(4 * data[at + 1]);
        at += 2;
        const size_t take = std::min(length, size - at);
        driver.script.push_back(
            Piece{delay, std::string(reinterpret_cast<const char*>(data + at), take)});
        at += take;
    }
    LpxAdapter adapter(&driver);
    CHECK(adapter.Open() == 0);
    const Clock::time_point start = driver.line->Now();
    std::string text;
    int result = 0;
    switch (data[0] % 10) {
        case 0:
        case 1: {
            const AnswerKind kind = data[0] % 2 ? AnswerKind::Framed : AnswerKind::SingleByte;
            const int length = adapter.Transact("v", text, kAnswerTimeoutMs, kind);
            CHECK(length >= 0 && length <= kMaxAnswerBytes - 4);
            CHECK(text.size() == static_cast<size_t>(length));
            break;
        }
        case 2:
            result = adapter.QueryLpxInfo(text);
            CHECK(result == LpxResultOk ? text.size() <= 11 : text.empty());
            break;
        case 3:
            result = adapter.CheckLpxFirmware("15-1");
            CHECK(result == LpxResultOk || result == LpxResultOldFirmware ||
                  result == LpxResultFailed);
            break;
        case 4:
            result = adapter.EnterIdentifyMode();
            CHECK(result == LpxResultOk || result == LpxResultFailed);
            break;
        case 5:
            result = adapter.StartJob("FFFF");
            CHECK(result == LpxResultOk || result == LpxResultEot || result == LpxResultFailed);
            break;
        case 6:
            result = adapter.AddWriteBlock("0220ABCD");
            CHECK(result == LpxResultOk || result == LpxResultEsc || result == LpxResultFailed);
            break;
        case 7:
            result = adapter.QueryReadJobStatus(text);
            CHECK(result == LpxResultOk ? text.size() <= 2 : result == LpxResultNoData);
            break;
        case 8: {
            result = adapter.FetchRecord(text);
            CHECK(result == LpxResultOk ? text.size() <= 24
                                        : result == LpxResultNoData && text.empty());
            ConfigImage image;
            StoreReadRecord(image, text, MarkFromDevice);
            break;
        }
        default:
            result = adapter.QueryWriteJobStatus(text);
            CHECK(result == LpxResultOk ? text.size() <= 2 : result == LpxResultNoData);
            break;
    }
    // A text handed out ends at the payload's first NUL (the raw exchange of cases 0 and 1
    // hands out the whole payload).
    if (data[0] % 10 > 1) CHECK(text.find('\0') == std::string::npos);
    // Every exchange ends: at the latest 250 ms after the last piece that arrived.
    Clock::duration scripted{};
    for (const Piece& piece : driver.script) scripted += piece.delay;
    CHECK(driver.line->Now() - start <= scripted + std::chrono::milliseconds(2 * kAnswerTimeoutMs));
    adapter.Close();
    return 0;
}
