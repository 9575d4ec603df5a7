#include "link/lpxsim.h"

#include <algorithm>
#include <cctype>

#include "config/image.h"

namespace {

constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kEot = 0x04;
constexpr char kAck = 0x06;
constexpr char kNak = 0x15;
constexpr char kEsc = 0x1B;
// A frame longer than this cannot come from the PC; its bytes are dropped.
constexpr size_t kMaxInput = 200;

uint8_t Sum(const std::string& text) {
    uint8_t sum = 0;
    for (char c : text) sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
    return sum;
}

bool IsHex(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

uint8_t HexByte(const std::string& text, size_t at) {
    return static_cast<uint8_t>(HexDigitValue(text[at]) * 16 + HexDigitValue(text[at + 1]));
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string CodeText(uint16_t code) {
    return ByteToHex(static_cast<uint8_t>(code >> 8)) + ByteToHex(static_cast<uint8_t>(code));
}

}  // namespace

LpxSim::LpxSim() = default;

int LpxSim::AddDevice(uint16_t radioCode, uint8_t firmwareVersion, uint8_t firmwareType) {
    const std::lock_guard<std::recursive_mutex> lock(mutex_);
    SimDevice device;
    auto& m = device.memory;
    // Settings a device could leave the factory with; the press time (2.5 s) fits the activation
    // delay (0.5 s) with triple press on, so that what is read can be written back unchanged.
    const std::pair<int, uint8_t> values[] = {
        {0x22, 0x14}, {0x23, 0x05}, {0x24, 0x27}, {0x27, 24},   {0x28, 3},    {0x29, 1},
        {0x2A, 0x01}, {0x2B, 0x2C}, {0x2C, 24},   {0x2D, 0x11}, {0x30, 0x00}, {0x31, 0x01},
        {0x32, 0},    {0x33, 0x35}, {0x34, 10},   {0x35, 5},    {0x36, 5},    {0x38, 0x00},
        {0x39, 0x42}, {0x3A, 30},   {0x3B, 0x0E}, {0x3C, 25},   {0x40, 0x12}, {0x41, 0x34},
    };
    for (const auto& [address, value] : values) m[static_cast<size_t>(address)] = value;
    m[0x20] = static_cast<uint8_t>(radioCode >> 8);
    m[0x21] = static_cast<uint8_t>(radioCode);
    m[0x2E] = firmwareType;
    m[0x2F] = firmwareVersion;
    devices_.push_back(device);
    return static_cast<int>(devices_.size()) - 1;
}

void LpxSim::InjectFault(SimFault fault, const std::string& target, int times) {
    const std::lock_guard<std::recursive_mutex> lock(mutex_);
    faults_.push_back(Fault{fault, target, times});
}

bool LpxSim::TakeFault(SimFault kind, const std::string& subject) {
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->kind != kind || subject.compare(0, it->target.size(), it->target) != 0) continue;
        if (it->times > 0 && --it->times == 0) faults_.erase(it);
        return true;
    }
    return false;
}

void LpxSim::SetAutoPress(int deviceIndex, int atPoll) {
    const std::lock_guard<std::recursive_mutex> lock(mutex_);
    autoPressDevice_ = atPoll > 0 ? deviceIndex : -1;
    autoPressAt_ = atPoll;
}

std::string LpxSim::Frame(const std::string& text) {
    return std::string(1, kStx) + text + ByteToHex(Sum(text)) + std::string(1, kEtx);
}

std::vector<SimPiece> LpxSim::Receive(const std::string& bytes) {
    const std::lock_guard<std::recursive_mutex> lock(mutex_);
    std::vector<SimPiece> pieces;
    input_ += bytes;
    for (;;) {
        const size_t stx = input_.find(kStx);
        if (stx == std::string::npos) {
            input_.clear();
            break;
        }
        input_.erase(0, stx);
        const size_t etx = input_.find(kEtx);
        if (etx == std::string::npos) {
            if (input_.size() > kMaxInput) input_.clear();
            break;
        }
        const std::string body = input_.substr(1, etx - 1);
        input_.erase(0, etx + 1);
        if (body.size() < 3 ||
            body.substr(body.size() - 2) != ByteToHex(Sum(body.substr(0, body.size() - 2)))) {
            ++badFrames_;
            continue;
        }
        const std::string command = body.substr(0, body.size() - 2);
        log_.push_back(command);
        for (SimPiece& piece : Answer(command)) pieces.push_back(std::move(piece));
    }
    return pieces;
}

std::vector<SimPiece> LpxSim::Answer(const std::string& command) {
    if (TakeFault(SimFault::NoAnswer, command)) return {};
    bool framed = false;
    const std::string answer = HandleCommand(command, &framed);
    if (answer.empty()) return {};
    std::string bytes = answer;
    if (framed) {
        bytes = Frame(answer);
        if (TakeFault(SimFault::WrongChecksum, command)) {
            const uint8_t wrong = static_cast<uint8_t>(Sum(answer) + 1);
            bytes.replace(bytes.size() - 3, 2, ByteToHex(wrong));
        } else if (TakeFault(SimFault::LowerCaseChecksum, command)) {
            for (size_t i = bytes.size() - 3; i < bytes.size() - 1; ++i)
                bytes[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(bytes[i])));
        }
    }
    if (bytes.size() < 2 || !TakeFault(SimFault::SplitAnswer, command))
        return {SimPiece{std::chrono::milliseconds(0), bytes}};
    // Three pieces (two for short answers), each pieceDelay after the one before.
    std::vector<SimPiece> pieces;
    const size_t parts = bytes.size() >= 3 ? 3 : 2;
    const size_t size = (bytes.size() + parts - 1) / parts;
    for (size_t at = 0; at < bytes.size(); at += size)
        pieces.push_back(
            SimPiece{at == 0 ? std::chrono::milliseconds(0) : pieceDelay_, bytes.substr(at, size)});
    return pieces;
}

bool LpxSim::ParseBlock(const std::string& text, bool withData, Block* block) {
    if (text.size() < 4 || !IsHex(text)) return false;
    const int count = HexByte(text, 0);
    const int start = HexByte(text, 2);
    if (count < 1 || count > 8 || start + count > 256) return false;
    const size_t expected = withData ? 4 + 2 * static_cast<size_t>(count) : 4;
    if (text.size() != expected) return false;
    *block = Block{count, start, text.substr(4)};
    return true;
}

std::string LpxSim::HandleCommand(const std::string& command, bool* framed) {
    *framed = false;
    const std::string nak(1, kNak);
    const std::string ack(1, kAck);
    const char letter = command[0];
    const std::string argument = command.substr(1);
    if (command == "v") {
        *framed = true;
        std::string info = infoText_;
        if (TakeFault(SimFault::OldFirmware, command)) info = "14-1" + info.substr(4);
        return info;
    }
    if (command == "s1" || command == "s0") {
        identifyMode_ = command == "s1";
        return ack;
    }
    if (command == "M" || command == "N") {
        *framed = true;
        return Status(command == "M" ? SimJobKind::Read : SimJobKind::Write);
    }
    if (command == "c1") {
        *framed = true;
        return lastPressedCode_ + "0000";
    }
    if (command == "x") {
        if (records_.empty()) return endOfRecords_ < 0 ? "" : std::string(1, char(endOfRecords_));
        *framed = true;
        std::string record = records_.front();
        records_.pop_front();
        return record;
    }
    if (letter == 'm' || letter == 'n') {
        const bool write = letter == 'n';
        if (write && TakeFault(SimFault::WriteBlockEsc, command)) return std::string(1, kEsc);
        std::vector<Block>& list = write ? writeList_ : readList_;
        lastList_ = write ? SimJobKind::Write : SimJobKind::Read;
        if (argument.empty()) {
            list.clear();
            return ack;
        }
        Block block;
        if (!ParseBlock(argument, write, &block)) return nak;
        list.push_back(block);
        return ack;
    }
    if (letter == 'i') {
        if (TakeFault(SimFault::StartJobEot, command)) return std::string(1, kEot);
        if (argument.size() != 4 || !IsHex(argument)) return nak;
        jobKind_ = lastList_;
        jobCode_ = Upper(argument);
        jobStatus_ = 0;
        jobPolls_ = 0;
        records_.clear();
        return ack;
    }
    return nak;
}

std::string LpxSim::Status(SimJobKind kind) {
    if (jobKind_ != kind) return "00";
    ++jobPolls_;
    if (jobStatus_ == 0 && autoPressDevice_ >= 0 && jobPolls_ >= autoPressAt_)
        PressButton(autoPressDevice_);
    return ByteToHex(static_cast<uint8_t>(jobStatus_));
}

bool LpxSim::PressButton(int deviceIndex) {
    const std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (deviceIndex < 0 || deviceIndex >= DeviceCount() || !JobWaiting()) return false;
    const std::string code = CodeText(devices_[static_cast<size_t>(deviceIndex)].RadioCode());
    if (jobCode_ != "FFFF" && jobCode_ != code) return false;
    lastPressedCode_ = code;
    if (TakeFault(SimFault::JobFails, {})) {
        jobStatus_ = 4;
    } else if (TakeFault(SimFault::JobTimesOut, {})) {
        jobStatus_ = 5;
    } else {
        CarryOut(deviceIndex);
        jobStatus_ = 3;
    }
    return true;
}

void LpxSim::CarryOut(int deviceIndex) {
    SimDevice& device = devices_[static_cast<size_t>(deviceIndex)];
    if (jobKind_ == SimJobKind::Write) {
        bool changed = false;
        for (const Block& block : writeList_) {
            for (int i = 0; i < block.count; ++i)
                device.memory[static_cast<size_t>(block.start + i)] =
                    HexByte(block.data, 2 * static_cast<size_t>(i));
            const std::string name =
                ByteToHex(uint8_t(block.count)) + ByteToHex(uint8_t(block.start));
            if (!changed && TakeFault(SimFault::ChangesByte, name)) {
                device.memory[static_cast<size_t>(block.start)] ^= 0x01;
                changed = true;
            }
        }
        return;
    }
    const std::string code = CodeText(device.RadioCode());
    for (const Block& block : readList_) {
        const std::string name = ByteToHex(uint8_t(block.count)) + ByteToHex(uint8_t(block.start));
        if (TakeFault(SimFault::MissingBlock, name)) continue;
        int first = block.start;
        if (TakeFault(SimFault::ShortRecord, name)) first = block.start + block.count - 1;
        const int bytes = block.start + block.count - first;
        int count = bytes;
        if (TakeFault(SimFault::BadRecordCount, name)) ++count;
        std::string record = code + ByteToHex(uint8_t(count)) + ByteToHex(uint8_t(first));
        for (int i = 0; i < bytes; ++i) {
            const int address = first + i;
            uint8_t value = device.memory[static_cast<size_t>(address)];
            if (address == 0x2E && TakeFault(SimFault::ForeignProduct, name)) value = 0x01;
            record += ByteToHex(value);
        }
        records_.push_back(record);
    }
}
