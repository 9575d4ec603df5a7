#pragma once
// A driver whose line a test scripts: each write takes the next scripted answer, whose bytes
// are readable at once. It counts every handle operation, so a test can tell that a closed
// adapter left the driver alone.

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "link/serialdriver.h"

struct FakeLine {
    int openStatus = DriverOk;
    OpenFailure openFailure;    // reported after a failed open
    int settingStatus[4] = {};  // baud, data characteristics, flow control, DTR
    int calls = 0;
    int handles = 0;
    int opens = 0;
    std::string written;
    std::deque<std::string> answers;               // one per write
    std::map<std::string, std::string> answersTo;  // command text -> bytes, when answers is empty
    std::vector<std::string> commands;             // the text of each whole frame written
    std::string incoming;
    std::vector<uint32_t> purges;
};

class FakeHandle : public SerialHandle {
  public:
    explicit FakeHandle(FakeLine* line) : line_(line) { ++line_->handles; }
    ~FakeHandle() override { --line_->handles; }
    int SetBaudRate(uint32_t) override { return Count(line_->settingStatus[0]); }
    int SetDataCharacteristics(uint8_t, uint8_t, uint8_t) override {
        return Count(line_->settingStatus[1]);
    }
    int SetFlowControl(uint16_t, uint8_t, uint8_t) override {
        return Count(line_->settingStatus[2]);
    }
    int ClrDtr() override { return Count(line_->settingStatus[3]); }
    int Purge(uint32_t mask) override {
        line_->purges.push_back(mask);
        if (mask & PurgeRx) line_->incoming.clear();
        return Count(DriverOk);
    }
    int SetTimeouts(uint32_t, uint32_t) override { return Count(DriverOk); }
    int GetQueueStatus(uint32_t* count) override {
        *count = static_cast<uint32_t>(line_->incoming.size());
        return Count(DriverOk);
    }
    int Read(uint8_t* buffer, uint32_t count, uint32_t* read) override {
        const uint32_t n = std::min<uint32_t>(count, uint32_t(line_->incoming.size()));
        line_->incoming.copy(reinterpret_cast<char*>(buffer), n);
        line_->incoming.erase(0, n);
        *read = n;
        return Count(DriverOk);
    }
    int Write(const uint8_t* bytes, uint32_t count, uint32_t* written) override {
        const std::string frame(reinterpret_cast<const char*>(bytes), count);
        line_->written += frame;
        if (count >= 4) line_->commands.push_back(frame.substr(1, count - 4));  // STX, sum, ETX
        if (!line_->answers.empty()) {
            line_->incoming += line_->answers.front();
            line_->answers.pop_front();
        } else if (count >= 4 && line_->answersTo.count(line_->commands.back())) {
            line_->incoming += line_->answersTo[line_->commands.back()];
        }
        *written = count;
        return Count(DriverOk);
    }
    int WaitForBytes(int timeoutMs) override {
        ++line_->calls;
        if (line_->incoming.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return DriverOk;
    }

  private:
    int Count(int status) {
        ++line_->calls;
        return status;
    }
    FakeLine* line_;
};

class FakeDriver : public SerialDriver {
  public:
    FakeLine line;
    int OpenByDescription(const std::string& description,
                          std::unique_ptr<SerialHandle>* handle) override {
        lastDescription = description;
        if (line.openStatus != DriverOk) return line.openStatus;
        ++line.opens;
        *handle = std::make_unique<FakeHandle>(&line);
        return DriverOk;
    }
    OpenFailure LastOpenFailure() const override {
        return line.openStatus != DriverOk ? line.openFailure : OpenFailure{};
    }
    std::string lastDescription;
};
