#pragma once
// The configuration image: the program's copy of the K-ORBI's 256-byte parameter memory,
// each byte with a mark that tells where it came from or where it is going.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum Mark : uint8_t {
    MarkNone = 0,
    MarkFromDevice = 1,
    MarkToDevice = 2,
    MarkFromFile = 3,
    MarkToFile = 4,
};

struct ImageCell {
    uint8_t value = 0;
    uint8_t mark = MarkNone;
};

constexpr int kImageSize = 256;

struct ConfigImage {
    std::array<ImageCell, kImageSize> cells{};
};

using ImageBytes = std::array<uint8_t, kImageSize>;

// Device addresses of the fields the program knows.
namespace Addr {
constexpr int RadioIdCode = 0x20;
constexpr int ProductionDate = 0x22;
constexpr int RadioTestAlarmInterval = 0x27;
constexpr int MissedAckBeforeSleep = 0x28;
constexpr int RadioTestAlarmActive = 0x29;
constexpr int ButtonCounter = 0x2A;
constexpr int BatteryTestInterval = 0x2C;
constexpr int ConfigFlags1 = 0x2D;
constexpr int FirmwareType = 0x2E;
constexpr int FirmwareVersion = 0x2F;
constexpr int ZonesHigh = 0x30;
constexpr int ZonesLow = 0x31;
constexpr int DementiaBlockTime = 0x32;
constexpr int TxCounts = 0x33;
constexpr int RfidInactivity = 0x34;
constexpr int RadioInactivity = 0x35;
constexpr int ActivationDelay = 0x36;
constexpr int TotalTxCounter = 0x38;
constexpr int OutOfFieldTime = 0x3A;
constexpr int ConfigFlags2 = 0x3B;
constexpr int PressTime = 0x3C;
constexpr int ZonesHighRestricted = 0x3D;
constexpr int ZonesLowRestricted = 0x3E;
constexpr int DoorCodes = 0x40;
constexpr int DoorCodesRestricted = 0x50;
}  // namespace Addr

void ClearImage(ConfigImage& image);
void FillFileImage(ConfigImage& image, const ImageBytes& bytes, uint8_t mark);
ImageBytes ExtractImageBytes(const ConfigImage& image);
// Stores count values from start on; cells past 0xFF are never written, so a block that would
// run past the end of the memory (or a negative start) is cut to the cells that exist.
void StoreBlock(ConfigImage& image, int start, int count, const uint8_t* values, uint8_t mark);
std::string BuildBlockText(const ConfigImage& image, int count, int start);
int ImageGeneration(uint8_t firmwareVersion);

// True when every cell of [address, address + size) carries the mark.
bool FieldPresent(const ConfigImage& image, int address, int size, uint8_t mark);

std::string ByteToHex(uint8_t value);
int HexDigitValue(char c);
std::string CodeToText(uint8_t high, uint8_t low);
void TextToCode(const std::string& text, uint8_t& high, uint8_t& low);

// The blocks in which a device is read ("0622" ...) for generation 1 or 2, in order.
std::vector<std::string> ReadPlan(int generation);

struct WriteBlock {
    int count;
    int start;
};
// The blocks in which a device is written, in order. A generation other than 1 or 2 gets only
// the common blocks; the radio ID code block comes last when a code change was confirmed.
std::vector<WriteBlock> WritePlan(int generation, bool changeCode);

// The block that the identification asks for: firmware type and version.
constexpr const char* kIdentifyBlock = "022E";
