#include "config/settingsfields.h"

#include <QLocale>
#include <array>

#include "resources/catalogue.h"

namespace {

using F = Field;
using G = Group;
constexpr KeyFilter kNone = KeyFilter::None;
constexpr KeyFilter kHex = KeyFilter::Hexadecimal;
constexpr KeyFilter kWhole = KeyFilter::WholeNumber;
constexpr KeyFilter kDecimal = KeyFilter::Decimal;

struct TextRow {
    Field field;
    const char* name;
    Group group;
    int labelId;
    const char* start;
    int maxLength;
    bool enabled;
    KeyFilter filter;
};

struct TickRow {
    Field field;
    const char* name;
    Group group;
    int labelId;
    bool ticked;
    bool enabled;
};

const TextRow kTextRows[] = {
    {F::edtRadioCodeOld, "edtRadioCodeOld", G::RadioParameters, Msg::LabelOld, "", 4, false, kHex},
    {F::edtRadioCodeNew, "edtRadioCodeNew", G::RadioParameters, Msg::LabelNew, "", 4, true, kHex},
    {F::edtNoShortTx, "edtNoShortTx", G::RadioParameters, Msg::LabelNoOfShortTransmissions, "3", 2,
     true, kWhole},
    {F::edtNoLongTx, "edtNoLongTx", G::RadioParameters, Msg::LabelNoOfLongTransmissions, "3", 2,
     true, kWhole},
    {F::edtRadioTestAlarmInterval, "edtRadioTestAlarmInterval", G::TechnicalAlarmsInfo,
     Msg::LabelRadioTestAlarmInterval, "9", 3, false, kWhole},
    {F::edtMissedAck, "edtMissedAck", G::TechnicalAlarmsInfo, Msg::LabelNoOfMissedAckBeforeSleep,
     "19", 3, false, kWhole},
    {F::edtBatteryTestInterval, "edtBatteryTestInterval", G::TechnicalAlarmsInfo,
     Msg::LabelBatteryTestInterval, "24", 3, true, kWhole},
    {F::edtButtonCounter, "edtButtonCounter", G::TechnicalAlarmsInfo, Msg::LabelButtonCounter, "",
     0, false, kNone},
    {F::edtTotalTxCounter, "edtTotalTxCounter", G::TechnicalAlarmsInfo, Msg::LabelTotalTxCounter,
     "", 0, false, kNone},
    {F::edtLongDoubleTriplePressTime, "edtLongDoubleTriplePressTime", G::UserAlarms,
     Msg::LabelLongDoubleTriplePressTime, "2,5", 4, true, kDecimal},
    {F::edtButtonActivationDelay, "edtButtonActivationDelay", G::UserAlarms,
     Msg::LabelButtonActivationDelay, "0,1", 4, true, kDecimal},
    {F::edtDementiaBlockTime, "edtDementiaBlockTime", G::UserAlarms, Msg::LabelDementiaBlockTime,
     "0", 3, true, kWhole},
    {F::edtFirmwareVersion, "edtFirmwareVersion", G::ProductInformation, Msg::LabelFirmwareVersion,
     "", 0, false, kNone},
    {F::edtProductionDate, "edtProductionDate", G::ProductInformation, Msg::LabelProductionDate, "",
     0, false, kNone},
    {F::edtFirmwareType, "edtFirmwareType", G::ProductInformation, Msg::LabelFirmwareType, "", 0,
     false, kNone},
    {F::edtRfidInactivity, "edtRfidInactivity", G::Rfid, Msg::LabelRfidInactivityPeriodAfterReceive,
     "3", 3, true, kWhole},
    {F::edtRadioInactivity, "edtRadioInactivity", G::Rfid,
     Msg::LabelRadioInactivityPeriodAfterTransmit, "25", 3, true, kWhole},
    {F::edtOutOfFieldTimeToRetransmit, "edtOutOfFieldTimeToRetransmit", G::Rfid,
     Msg::LabelTimeOutOfFieldToAllowTx, "10", 3, true, kWhole},
};

const TickRow kTickRows[] = {
    {F::cbRadioTestAlarmActive, "cbRadioTestAlarmActive", G::TechnicalAlarmsInfo,
     Msg::LabelRadioTestAlarmActive, false, true},
    {F::cbConfig_D6, "cbConfig_D6", G::TechnicalAlarmsInfo,
     Msg::LabelTransmitTestAlarmWithButtonCounterValue, false, false},
    {F::cbConfig_D4, "cbConfig_D4", G::UserAlarms, Msg::LabelShortPressEnabled, true, true},
    {F::cbConfig2_D1, "cbConfig2_D1", G::UserAlarms, Msg::LabelLongPressEnabled, false, true},
    {F::cbConfig2_D2, "cbConfig2_D2", G::UserAlarms, Msg::LabelDoublePressEnabled, false, true},
    {F::cbConfig2_D3, "cbConfig2_D3", G::UserAlarms, Msg::LabelTriplePressEnabled, false, true},
    {F::cbConfig_D1, "cbConfig_D1", G::UserAlarms, Msg::LabelTransmitUserAlarmWithPositionInfo,
     true, true},
    {F::cbConfig_D0, "cbConfig_D0", G::Rfid, Msg::LabelRfidActive, true, true},
    {F::cbConfig_D2, "cbConfig_D2", G::Rfid, Msg::LabelTransmitExtendedMessages, true, true},
    {F::cbConfig_D5, "cbConfig_D5", G::Rfid, Msg::LabelTransmitDoorAlarmInsteadOfPosition, false,
     true},
    {F::cbConfig_D3, "cbConfig_D3", G::Rfid, Msg::LabelPersonnelDevice, false, true},
    {F::cbConfig2_D0, "cbConfig2_D0", G::Rfid, Msg::LabelRetransmitWhenReentering, true, true},
};

const GroupInfo kGroups[] = {
    {"gbxRadioParameters", Msg::BoxRadioParameters},
    {"gbxTechnicalAlarmsInfo", Msg::BoxTechnicalAlarmsInfo},
    {"gbxUserAlarms", Msg::BoxUserAlarms},
    {"gbxProductInformation", Msg::BoxProductInformation},
    {"gbxRFID", Msg::BoxRfid},
    {"gbxCodesZones", Msg::BoxCodesZones},
    {"gbxCodesZonesRestricted", Msg::BoxCodesZonesRestricted},
};

QString ZoneDigit(int zone) {
    return QString::number(zone, 16).toUpper();
}

using InfoTable = std::array<FieldInfo, kFieldCount>;

InfoTable BuildInfos() {
    InfoTable infos;
    for (const TextRow& r : kTextRows)
        infos[int(r.field)] = {r.name, FieldKind::Text, r.group,   r.labelId, {}, r.start,
                               false,  r.maxLength,     r.enabled, r.filter,  -1};
    for (const TickRow& r : kTickRows)
        infos[int(r.field)] = {r.name, FieldKind::Tick, r.group, r.labelId, {}, "", r.ticked,
                               0,      r.enabled,       kNone,   -1};
    // Both code-and-zone groups alike; only the continuous group starts with zones 0 to 3.
    for (const bool restricted : {false, true}) {
        const QString suffix = restricted ? QStringLiteral("_R") : QString();
        const Group group = restricted ? G::CodesZonesRestricted : G::CodesZones;
        for (int k = 1; k <= kCodesPerGroup; ++k)
            infos[int(DoorCode(k, restricted))] = {QStringLiteral("edtDoorCode%1").arg(k) + suffix,
                                                   FieldKind::Text,
                                                   group,
                                                   Msg::LabelDoorCode,
                                                   QString::number(k),
                                                   "",
                                                   false,
                                                   4,
                                                   true,
                                                   kHex,
                                                   -1};
        for (int z = 0; z < kZonesPerGroup; ++z)
            infos[int(Zone(z, restricted))] = {"cbZone" + ZoneDigit(z) + suffix,
                                               FieldKind::Tick,
                                               group,
                                               Msg::LabelZone,
                                               ZoneDigit(z),
                                               "",
                                               !restricted && z < 4,
                                               0,
                                               true,
                                               kNone,
                                               z};
    }
    return infos;
}

const InfoTable& Infos() {
    static const InfoTable infos = BuildInfos();
    return infos;
}

}  // namespace

const FieldInfo& InfoOf(Field field) {
    return Infos()[int(field)];
}

const GroupInfo& InfoOf(Group group) {
    return kGroups[int(group)];
}

std::optional<Field> FindField(const QString& name) {
    for (int i = 0; i < kFieldCount; ++i)
        if (Infos()[i].name == name) return Field(i);
    return std::nullopt;
}

QString CaptionOf(Field field) {
    const FieldInfo& info = InfoOf(field);
    return info.labelArg.isEmpty() ? Text(info.labelId) : FillText(info.labelId, {info.labelArg});
}

QString LocaliseStartValue(const char* start) {
    QString text = QString::fromLatin1(start);
    text.replace(QLatin1Char(','), QLocale().decimalPoint());
    return text;
}
