#include "files/templates.h"

#include "files/filenames.h"
#include "files/imagefile.h"

namespace {

struct TemplateByte {
    int address;
    uint8_t v1;
    uint8_t v2;
};

// Every byte that is not listed is 0: radio ID code (no code), production date (000000), both
// counters (0), firmware type (0 = K-ORBI), the door codes of both groups (empty), the
// restricted zones (none ticked) and every byte that the program does not use.
//
// Firmware version: 1.1 and 2.0. Version 1.0 exactly is the one firmware without a total
// transmission counter and would show "---" there, so the v1.x template names 1.1.
//
// The generation-2 bytes of the v1.x template hold what saving a v1.x view writes (press time
// 0,5 s, everything else 0), so a template saved unchanged comes back byte for byte.
constexpr TemplateByte kTemplate[] = {
    {Addr::RadioTestAlarmInterval, 9, 9},  // "9" hours
    {Addr::MissedAckBeforeSleep, 19, 19},  // "19"
    {Addr::RadioTestAlarmActive, 0, 0},    // not ticked
    {Addr::BatteryTestInterval, 24, 24},   // "24" hours
    {Addr::ConfigFlags1, 0x17, 0x17},      // D0 RFID, D1 position, D2 extended, D4 short press
    {Addr::FirmwareType, 0, 0},            // K-ORBI
    {Addr::FirmwareVersion, 0x11, 0x20},   // 1.1, 2.0
    {Addr::ZonesHigh, 0x00, 0x00},         // zones 8-F not ticked
    {Addr::ZonesLow, 0x0F, 0x0F},          // zones 0-3 ticked
    {Addr::DementiaBlockTime, 0, 0},       // "0" minutes
    {Addr::TxCounts, 0x33, 0x33},          // 3 short, 3 long
    {Addr::RfidInactivity, 3, 3},          // "3" s
    {Addr::RadioInactivity, 25, 25},       // "25" s
    {Addr::ActivationDelay, 1, 1},         // "0,1" s
    {Addr::OutOfFieldTime, 0, 10},         // "10" s (generation 2 only)
    {Addr::ConfigFlags2, 0x00, 0x01},      // D0 retransmit on re-entry (generation 2 only)
    {Addr::PressTime, 5, 25},              // "2,5" s; v1.x: the 0,5 s an empty view saves
};

}  // namespace

ImageBytes StartTemplate(int generation) {
    ImageBytes bytes{};
    for (const TemplateByte& b : kTemplate) bytes[b.address] = generation == 1 ? b.v1 : b.v2;
    return bytes;
}

QString InstalledTemplatePath(const QString& applicationDataFolder, int generation) {
    if (applicationDataFolder.isEmpty()) return QString();
    const QString installed = applicationDataFolder + QString("Default_v%1.bin").arg(generation);
    if (PathExists(installed)) return installed;
    return FindPathIgnoringCase(applicationDataFolder + QString("default_v%1.bin").arg(generation));
}
