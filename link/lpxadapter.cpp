#include "link/lpxadapter.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "link/traceframe.h"

namespace {

constexpr uint32_t kBaudRate = 57600;
constexpr uint32_t kReadTimeoutMs = 10;
constexpr uint32_t kWriteTimeoutMs = 100;

// The LPX writes its checksum digits in upper case; anything else yields a value that cannot
// match, which is what makes a lower-case checksum fail.
int ChecksumDigit(uint8_t c) {
    return c <= '9' ? c - 48 : c - 55;
}

// The texts the commands hand out end at the first NUL, as the LPX's C-string texts do: a
// payload of the required length with a NUL inside reads as a shorter text.
std::string TextUpToNul(const std::string& payload) {
    return payload.substr(0, payload.find('\0'));
}

unsigned char CharAt(const std::string& text, size_t index) {
    return index < text.size() ? static_cast<unsigned char>(text[index]) : 0;
}

bool HasStxAndEtx(const uint8_t* bytes, int count) {
    bool stx = false;
    bool etx = false;
    for (int i = 0; i < count && bytes[i] != 0; ++i) {
        stx = stx || bytes[i] == kStx;
        etx = etx || bytes[i] == kEtx;
    }
    return stx && etx;
}

// A frame passes when at any ETX the two digits before it carry the sum of everything between
// STX and those digits.
bool FrameValid(const uint8_t* bytes, int count) {
    if (count < 2 || bytes[0] != kStx || bytes[count - 1] != kEtx) return false;
    int sum = 0;  // running sum of bytes[1 .. i-1]
    for (int i = 1; i < count; ++i) {
        if (bytes[i] == kEtx && i >= 3) {
            // sum so far covers bytes[1 .. i-1]; take off the two digits in front of this ETX
            const int covered = (sum - bytes[i - 1] - bytes[i - 2]) & 0xFF;
            const int written = ChecksumDigit(bytes[i - 2]) * 16 + ChecksumDigit(bytes[i - 1]);
            if (written == covered) return true;
        }
        sum = (sum + bytes[i]) & 0xFF;
    }
    return false;
}

}  // namespace

LpxResult LpxAdapter::Open() {
    if (handle_) handle_.reset();
    lineLost_ = false;
    openFailure_ = {};
    if (!driver_) return LpxResultFailed;
    std::unique_ptr<SerialHandle> handle;
    if (driver_->OpenByDescription(kLpxDescription, &handle) != DriverOk || !handle) {
        openFailure_ = driver_->LastOpenFailure();
        return LpxResultFailed;
    }
    handle_ = std::move(handle);
    // All four settings are tried even after one failed; the caller's Close frees the handle.
    const int statuses[] = {
        handle_->SetBaudRate(kBaudRate),
        handle_->SetDataCharacteristics(kWordLength8, kStopBits2, kParityNone),
        handle_->SetFlowControl(kFlowNone, 0, 0),
        handle_->ClrDtr(),
    };
    for (int status : statuses)
        if (Track(status) != DriverOk) return LpxResultFailed;
    return LpxResultOk;
}

int LpxAdapter::Track(int status) {
    if (status == DriverLineLost) lineLost_ = true;
    return status;
}

void LpxAdapter::Close() {
    if (!handle_) return;
    if (Line()) handle_->Purge(PurgeRx);
    handle_.reset();
}

bool LpxAdapter::PurgeBoth() {
    if (!Line()) return false;
    return Track(handle_->Purge(PurgeRx | PurgeTx)) == DriverOk;
}

void LpxAdapter::SetTimeouts(uint32_t readMs, uint32_t writeMs) {
    if (Line()) Track(handle_->SetTimeouts(readMs, writeMs));
}

uint32_t LpxAdapter::QueuedBytes() {
    if (!Line()) return 0;
    uint32_t count = 0;
    if (Track(handle_->GetQueueStatus(&count)) == DriverLineLost) return 0;
    return count;
}

uint32_t LpxAdapter::ReadQueued(uint8_t* buffer, uint32_t maximum) {
    if (!Line() || maximum == 0) return 0;
    uint32_t count = maximum;
    const uint32_t queued = QueuedBytes();
    if (count >= queued) count = queued;
    if (count == 0) return 0;
    uint32_t read = 0;
    if (Track(handle_->Read(buffer, count, &read)) != DriverOk) return 0;
    return std::min(read, count);
}

uint32_t LpxAdapter::WriteText(const char* text) {
    if (!Line() || !text) return 0;
    uint32_t written = 0;
    const uint32_t length = static_cast<uint32_t>(std::strlen(text));
    if (Track(handle_->Write(reinterpret_cast<const uint8_t*>(text), length, &written)) != DriverOk)
        return 0;
    return written;
}

void LpxAdapter::SendCommand(const std::string& command) {
    if (command.empty() || command.size() > static_cast<size_t>(kMaxCommandLength)) return;
    // Old bytes that a failed purge leaves in the way fail the answer's own checks.
    PurgeBoth();
    frameLength_ = 0;
    checksum_ = 0;
    auto append = [this](uint8_t byte) {
        frame_[frameLength_++] = byte;
        frame_[frameLength_] = 0;
    };
    append(kStx);
    checksum_ = 0;
    for (char c : command) {
        const uint8_t byte = static_cast<uint8_t>(c);
        append(byte);
        checksum_ = static_cast<uint8_t>(checksum_ + byte);
    }
    for (char digit : ByteToHex(checksum_)) append(static_cast<uint8_t>(digit));
    append(kEtx);
    TraceFrame(TraceDirection::ToLpx, frame_, frameLength_);
    WriteText(reinterpret_cast<const char*>(frame_));
}

int LpxAdapter::ReceiveAnswer(std::string& payload, int timeoutMs, AnswerKind kind) {
    using std::chrono::milliseconds;
    payload.clear();
    SetTimeouts(kReadTimeoutMs, kWriteTimeoutMs);
    uint8_t bytes[kMaxAnswerBytes + 1] = {};
    int count = 0;
    if (lineLost_) return 0;
    if (!handle_) {
        // Nothing can arrive on a closed adapter; the caller still sees the answer time-out.
        std::this_thread::sleep_for(milliseconds(std::max(timeoutMs, 0)));
        return 0;
    }
    auto deadline = handle_->Now() + milliseconds(timeoutMs);
    for (auto now = handle_->Now(); now < deadline && !lineLost_; now = handle_->Now()) {
        const auto remaining = std::chrono::duration_cast<milliseconds>(deadline - now).count() + 1;
        if (QueuedBytes() == 0) {
            if (!lineLost_) Track(handle_->WaitForBytes(static_cast<int>(remaining)));
            continue;
        }
        const uint32_t got = ReadQueued(bytes + count, kMaxAnswerBytes - count);
        if (got == 0) {
            // Queued bytes that cannot be read: do not spin on them.
            std::this_thread::sleep_for(milliseconds(1));
            continue;
        }
        count += static_cast<int>(got);
        bytes[count] = 0;
        if (kind == AnswerKind::SingleByte && count == 1) break;
        if (kind == AnswerKind::Framed && HasStxAndEtx(bytes, count)) break;
        // A framed answer begins with STX; one that begins otherwise (the NAK that ends the
        // records) is complete as it stands: more bytes could not make it a valid frame.
        if (kind == AnswerKind::Framed && bytes[0] != kStx) break;
        // A full buffer can take no more bytes, so further waiting could not change the answer.
        if (count >= kMaxAnswerBytes) break;
        deadline = handle_->Now() + milliseconds(kAnswerTimeoutMs);
    }
    TraceFrame(TraceDirection::FromLpx, bytes, count);
    if (count == 0) return 0;
    if (count == 1) {
        payload.assign(1, static_cast<char>(bytes[0]));
        return 1;
    }
    if (!FrameValid(bytes, count)) return 0;
    payload.assign(reinterpret_cast<const char*>(bytes + 1), static_cast<size_t>(count - 4));
    return count - 4;
}

int LpxAdapter::Transact(const std::string& command, std::string& payload, int timeoutMs,
                         AnswerKind kind) {
    SendCommand(command);
    return ReceiveAnswer(payload, timeoutMs, kind);
}

namespace {

// Result of a command answered with a single control byte.
LpxResult SingleByteResult(int length, const std::string& answer, uint8_t alternative,
                           LpxResult alternativeResult) {
    if (length != 1) return LpxResultFailed;
    const uint8_t byte = static_cast<uint8_t>(answer[0]);
    if (byte == kAck) return LpxResultOk;
    if (alternative != 0 && byte == alternative) return alternativeResult;
    return LpxResultFailed;
}

}  // namespace

LpxResult LpxAdapter::QueryLpxInfo(std::string& info) {
    std::string answer;
    if (Transact("v", answer, kAnswerTimeoutMs, AnswerKind::Framed) == 11) {
        info = TextUpToNul(answer);
        return LpxResultOk;
    }
    info.clear();
    return LpxResultFailed;
}

LpxResult LpxAdapter::CheckLpxFirmware(const std::string& reference) {
    std::string a;
    if (Transact("v", a, kAnswerTimeoutMs, AnswerKind::Framed) != 11) return LpxResultFailed;
    // Compares only the 4th, 1st and 2nd characters, in that order; "09-1" passes against
    // "15-1" because its 2nd character reaches the reference's. Kept as the LPX tools know it.
    if (CharAt(a, 3) != CharAt(reference, 3)) return LpxResultOldFirmware;
    if (CharAt(a, 0) > CharAt(reference, 0)) return LpxResultOk;
    return CharAt(a, 1) >= CharAt(reference, 1) ? LpxResultOk : LpxResultOldFirmware;
}

LpxResult LpxAdapter::EnterIdentifyMode() {
    std::string answer;
    const int length = Transact("s1", answer, kAnswerTimeoutMs, AnswerKind::SingleByte);
    return SingleByteResult(length, answer, 0, LpxResultFailed);
}

LpxResult LpxAdapter::LeaveIdentifyMode() {
    std::string answer;
    const int length = Transact("s0", answer, kAnswerTimeoutMs, AnswerKind::SingleByte);
    return SingleByteResult(length, answer, 0, LpxResultFailed);
}

LpxResult LpxAdapter::RequestReadBlock(const std::string& blockText) {
    std::string answer;
    const int length = Transact("m" + blockText, answer, kAnswerTimeoutMs, AnswerKind::SingleByte);
    return SingleByteResult(length, answer, 0, LpxResultFailed);
}

LpxResult LpxAdapter::AddWriteBlock(const std::string& blockText) {
    std::string answer;
    const int length = Transact("n" + blockText, answer, kAnswerTimeoutMs, AnswerKind::SingleByte);
    return SingleByteResult(length, answer, kEsc, LpxResultEsc);
}

LpxResult LpxAdapter::StartJob(const std::string& radioCode) {
    std::string answer;
    const int length = Transact("i" + radioCode, answer, kAnswerTimeoutMs, AnswerKind::SingleByte);
    return SingleByteResult(length, answer, kEot, LpxResultEot);
}

namespace {

LpxResult JobStatus(LpxAdapter& adapter, const char* command, std::string& status) {
    std::string answer;
    if (adapter.Transact(command, answer, kAnswerTimeoutMs, AnswerKind::Framed) == 2) {
        status = TextUpToNul(answer);
        return LpxResultOk;
    }
    status.clear();
    return LpxResultNoData;
}

}  // namespace

LpxResult LpxAdapter::QueryReadJobStatus(std::string& status) {
    return JobStatus(*this, "M", status);
}

LpxResult LpxAdapter::QueryWriteJobStatus(std::string& status) {
    return JobStatus(*this, "N", status);
}

LpxResult LpxAdapter::FetchRecord(std::string& record) {
    std::string answer;
    const int length = Transact("x", answer, kAnswerTimeoutMs, AnswerKind::Framed);
    if (length >= 10 && length <= 24) {
        record = TextUpToNul(answer);
        return LpxResultOk;
    }
    record.clear();
    return LpxResultNoData;
}

bool ParseReadRecord(const std::string& text, ReadRecord* record) {
    auto byteAt = [&text](size_t index) {
        return static_cast<uint8_t>(HexDigitValue(text[index]) * 16 +
                                    HexDigitValue(text[index + 1]));
    };
    if (text.size() < 10) return false;
    const int count = byteAt(4);
    const int start = byteAt(6);
    if (count < 1 || count > 8 || text.size() != static_cast<size_t>(8 + 2 * count) ||
        start + count > kImageSize)
        return false;
    ReadRecord parsed;
    parsed.codeHigh = byteAt(0);
    parsed.codeLow = byteAt(2);
    parsed.count = count;
    parsed.start = start;
    for (int i = 0; i < count; ++i) parsed.values[i] = byteAt(8 + 2 * static_cast<size_t>(i));
    if (record) *record = parsed;
    return true;
}

bool StoreReadRecord(ConfigImage& image, const std::string& text, uint8_t mark) {
    ReadRecord record;
    if (!ParseReadRecord(text, &record)) return false;
    StoreBlock(image, record.start, record.count, record.values, mark);
    return true;
}
