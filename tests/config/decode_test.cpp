
#include <QSet>
#include <QTemporaryDir>

#include "config/numbers.h"
#include "files/imagefile.h"
#include "view_fixture.h"

namespace {

using Changes = std::vector<std::pair<int, uint8_t>>;

ImageBytes With(ImageBytes bytes, const Changes& changes) {
    for (const auto& [address, value] : changes) bytes[address] = value;
    return bytes;
}

// A read image as the device read builds it: only the blocks that arrived carry the mark.
ConfigImage ReadImage(const ImageBytes& device, int generation, const QString& missingBlock) {
    ConfigImage image;
    for (const std::string& block : ReadPlan(generation)) {
        if (QString::fromStdString(block) == missingBlock) continue;
        const int count = std::stoi(block.substr(0, 2), nullptr, 16);
        const int start = std::stoi(block.substr(2, 2), nullptr, 16);
        StoreBlock(image, start, count, &device[start], MarkFromDevice);
    }
    return image;
}

}  // namespace

using Decode = ModelTest;

TEST_F(Decode, Generation2FileShowsEveryField) {
    model->SetText(Field::newRadioCode, "BEEF");
    EXPECT_EQ(ShowFile(Generation2Bytes()), DecodeOk);
    EXPECT_TRUE(prompts.records.isEmpty());

    const std::pair<Field, const char*> texts[] = {
        {Field::radioCode, "1234"},
        {Field::newRadioCode, "BEEF"},  // never touched by decoding
        {Field::shortTransmissions, "3"},
        {Field::longTransmissions, "10"},
        {Field::radioTestAlarmIntervalHours, "9"},
        {Field::missedAcksBeforePowerSaving, "19"},
        {Field::batteryAlarmIntervalHours, "24"},
        {Field::acknowledgedAlarmCount, "258"},
        {Field::transmissionCount, "65534"},
        {Field::pressTimeSeconds, "2,5"},
        {Field::activationDelaySeconds, "1,2"},
        {Field::userAlarmBlockMinutes, "30"},
        {Field::firmwareVersion, "2.1"},
        {Field::productionDate, "140527"},
        {Field::firmwareType, "K-ORBI"},
        {Field::rfidInactivitySeconds, "3"},
        {Field::radioInactivitySeconds, "25"},
        {Field::outOfFieldSecondsBeforeRetransmit, "200"},
        {DoorCode(1, false), "000A"},
        {DoorCode(3, false), ""},  // 0x0000 is the empty code
        {DoorCode(4, false), "ABCD"},
        {DoorCode(8, false), "7FFE"},
        {DoorCode(2, true), "4321"},
        {DoorCode(3, true), "00FF"},
        {DoorCode(8, true), "0002"},
    };
    for (const auto& [edit, text] : texts) EXPECT_EQ(Text(edit), text) << Name(edit);

    QString zones, zonesR;
    for (int z = 0; z < 16; ++z) {
        zones += Ticked(Zone(z, false)) ? '1' : '0';
        zonesR += Ticked(Zone(z, true)) ? '1' : '0';
    }
    EXPECT_EQ(zones, "1111000010000001");
    EXPECT_EQ(zonesR, "0000110000000010");

    // 0x5B: bits 0, 1, 3, 4, 6; 0x0B: bits 0, 1, 3.
    const std::pair<Field, bool> ticks[] = {
        {Field::radioTestAlarmActive, true},
        {Field::rfidActive, true},
        {Field::userAlarmWithPosition, true},
        {Field::extendedMessages, false},
        {Field::personnelDevice, true},
        {Field::shortPressActive, true},
        {Field::doorAlarmInsteadOfPosition, false},
        {Field::radioTestAlarmWithButtonCounter, true},
        {Field::retransmitOnReentry, true},
        {Field::longPressActive, true},
        {Field::doublePressActive, false},
        {Field::triplePressActive, true},
    };
    for (const auto& [box, on] : ticks) EXPECT_EQ(Ticked(box), on) << Name(box);
    EXPECT_TRUE(model->Enabled(DoorCode(1, true)));
    EXPECT_TRUE(model->Enabled(Field::pressTimeSeconds));
}

// What a load and save without edits changes: only what the view cannot hold; a file that it
// holds whole saves its own bytes.
TEST_F(Decode, RoundTripCorrectsOnlyWhatTheViewCannotHold) {
    struct Case {
        const char* what;
        Changes loaded;
        Changes saved;
        QList<int> messages;
        int result = DecodeOk;
    };
    const Case cases[] = {
        {"a file the view holds whole", {}, {}, {}},
        {"flag bits without function",
         {{0x2D, 0xDB}, {0x3B, 0xFB}},
         {{0x2D, 0x5B}, {0x3B, 0x0B}},
         {}},
        {"radio test alarm active 3", {{0x29, 0x03}}, {{0x29, 0x01}}, {}},
        {"radio test alarm active 0xFE", {{0x29, 0xFE}}, {{0x29, 0x00}}, {}},
        {"activation delay 250", {{0x36, 250}}, {{0x36, 250}}, {}},
        {"activation delay 251", {{0x36, 251}}, {{0x36, 250}}, {10859}},
        {"activation delay 255", {{0x36, 255}}, {{0x36, 250}}, {10859}},
        // 25,5 s is the longest press time a byte holds and is accepted as it is.
        {"press time 255", {{0x3C, 255}}, {{0x3C, 255}}, {}},
        {"press time below 0,5", {{0x3C, 3}}, {{0x3C, 3}}, {}},
        {"zone 4 in both groups", {{0x31, 0x1F}, {0x3E, 0x10}}, {{0x31, 0x0F}, {0x3E, 0x10}}, {}},
        {"zone F in both groups", {{0x30, 0x81}, {0x3D, 0xC0}}, {{0x30, 0x01}, {0x3D, 0xC0}}, {}},
        {"door code FFFF", {{0x44, 0xFF}, {0x45, 0xFF}}, {{0x44, 0xFF}, {0x45, 0xFF}}, {10818}},
        {"foreign firmware type", {{0x2E, 0x05}}, {{0x2E, 0x05}}, {}, DecodeBadProduct},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.Clear();
        const ImageBytes loaded = With(Generation2Bytes(), c.loaded);
        EXPECT_EQ(ShowFile(loaded), c.result);
        EXPECT_EQ(prompts.MessageIds(), c.messages);
        EXPECT_EQ(SaveFile(), With(loaded, c.saved));
    }
}

TEST_F(Decode, EveryTenthsValueSurvivesALoadAndSave) {
    for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        QLocale::setDefault(locale);
        for (int v = 0; v <= 250; ++v) {
            const ImageBytes loaded =
                With(Generation2Bytes(), {{0x36, uint8_t(v)}, {0x3C, uint8_t(v)}});
            ShowFile(loaded);
            const ImageBytes saved = SaveFile();
            EXPECT_EQ(saved[0x36], v) << Text(Field::activationDelaySeconds).toStdString();
            EXPECT_EQ(saved[0x3C], v) << Text(Field::pressTimeSeconds).toStdString();
        }
    }
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(Decode, Generation1HidesTheGeneration2Fields) {
    ASSERT_EQ(ShowFile(Generation2Bytes()), DecodeOk);  // the view held generation 2 settings
    ImageBytes v1 = Generation2Bytes();
    v1[0x2F] = 0x12;
    EXPECT_EQ(ShowFile(v1), DecodeOk);
    EXPECT_TRUE(prompts.records.isEmpty());

    EXPECT_EQ(Text(Field::pressTimeSeconds), "");
    EXPECT_EQ(Text(Field::outOfFieldSecondsBeforeRetransmit), "");
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(Text(DoorCode(k, true)), "") << k;
    for (int z = 0; z < 16; ++z) EXPECT_FALSE(Ticked(Zone(z, true))) << z;
    for (Field b : {Field::retransmitOnReentry, Field::longPressActive, Field::doublePressActive,
                    Field::triplePressActive}) {
        EXPECT_FALSE(Ticked(b));
        EXPECT_FALSE(model->Enabled(b));
    }
    EXPECT_FALSE(model->Enabled(DoorCode(4, true)));
    EXPECT_FALSE(model->Enabled(Field::pressTimeSeconds));
    EXPECT_EQ(Text(Field::firmwareVersion), "1.2");

    const ImageBytes saved = SaveFile();
    EXPECT_EQ(saved[0x3C], 0x05);  // the press time's fallback for an empty text
    for (int a : {0x3A, 0x3B, 0x3D, 0x3E}) EXPECT_EQ(saved[a], 0x00) << a;
    for (int a = 0x50; a <= 0x5F; ++a) EXPECT_EQ(saved[a], 0x00) << a;
    // Zone 4, 5 and E were restricted in the generation 2 view; they are not moved over.
    EXPECT_EQ(saved[0x31], 0x0F);
}

// The generation switches exactly the long/double/triple press and restricted-group controls,
// whatever mark the firmware version carries, and changes no text and no tick.
TEST_F(Decode, GenerationEnablesExactlyItsControls) {
    QSet<QString> listed = {"cbConfig2_D0",
                            "cbConfig2_D1",
                            "cbConfig2_D2",
                            "cbConfig2_D3",
                            "edtLongDoubleTriplePressTime",
                            "edtOutOfFieldTimeToRetransmit"};
    for (int k = 1; k <= 8; ++k) listed.insert(SettingOf(DoorCode(k, true)).control);
    for (int z = 0; z < 16; ++z) listed.insert(SettingOf(Zone(z, true)).control);
    ASSERT_EQ(listed.size(), 30);

    auto snapshot = [&] {
        QStringList state;
        for (int i = 0; i < kFieldCount; ++i)
            state << Text(Field(i)) + QString::number(Ticked(Field(i)));
        return state;
    };
    ConfigImage image;  // no marks at all: the value alone decides
    for (const uint8_t version : {0x12, 0x21, 0x30, 0x2F, 0x00}) {
        const bool on = (version & 0xF0) == 0x20;
        image.cells[Addr::FirmwareVersion].value = version;
        // The listed fields start in the other state; the rest must keep theirs.
        for (const bool others : {true, false}) {
            SCOPED_TRACE(std::to_string(version) + (others ? " others on" : " others off"));
            for (int i = 0; i < kFieldCount; ++i)
                model->SetEnabled(Field(i),
                                  listed.contains(SettingOf(Field(i)).control) ? !on : others);
            const QStringList before = snapshot();
            model->EnableGeneration2Controls(image);
            for (int i = 0; i < kFieldCount; ++i) {
                const bool expected = listed.contains(SettingOf(Field(i)).control) ? on : others;
                EXPECT_EQ(model->Enabled(Field(i)), expected) << Name(Field(i));
            }
            EXPECT_EQ(snapshot(), before);
        }
    }
}

TEST_F(Decode, TotalCounterOfFirmware10IsNotShown) {
    struct Case {
        uint8_t version;
        const char* shown;
        const char* counter;
    };
    const Case cases[] = {{0x10, "1.0", "---"},
                          {0x11, "1.1", "65534"},
                          {0x1A, "1.A", "65534"},
                          {0x20, "2.0", "65534"}};
    for (const Case& c : cases) {
        const ImageBytes bytes = With(Generation2Bytes(), {{0x2F, c.version}});
        ShowFile(bytes);
        EXPECT_EQ(Text(Field::firmwareVersion), c.shown);
        EXPECT_EQ(Text(Field::transmissionCount), c.counter);
        const ImageBytes saved = SaveFile();
        EXPECT_EQ(saved[0x38] * 256 + saved[0x39], c.version == 0x10 ? 0 : 65534) << c.shown;
        EXPECT_EQ(saved[0x2F], c.version);
    }
}

// A device read in which one block did not arrive reports the first byte of the last missing
// field in the order of decoding and shows placeholders for every missing field.
TEST_F(Decode, ReadWithAMissingBlockNamesTheLastMissingField) {
    struct Case {
        const char* missing;
        int result;
        std::vector<std::pair<Field, const char*>> shown;
        QList<int> messages;
    };
    const Case cases[] = {
        {"", DecodeOk, {{Field::transmissionCount, "65534"}}, {}},
        {"0622",
         0x22,
         {{Field::radioTestAlarmIntervalHours, "?"}, {Field::productionDate, "YYMMDD"}},
         {}},
        // Without the firmware version the image counts as generation 1.
        {"0828",
         0x2D,
         {{Field::missedAcksBeforePowerSaving, "?"},
          {Field::batteryAlarmIntervalHours, "?"},
          {Field::acknowledgedAlarmCount, "?"},
          {Field::transmissionCount, "---"},
          {Field::firmwareVersion, "?.?"},
          {Field::firmwareType, "?"},
          {Field::pressTimeSeconds, ""}},
         {}},
        {"0830",
         0x30,
         {{Field::shortTransmissions, "?"},
          {Field::longTransmissions, "?"},
          {Field::activationDelaySeconds, "?.?"},
          {Field::userAlarmBlockMinutes, "?"},
          {Field::rfidInactivitySeconds, "?"},
          {Field::radioInactivitySeconds, "?"}},
         {}},
        {"0840", 0x46, {{Field::userAlarmBlockMinutes, "30"}}, {}},
        {"0848", 0x4E, {}, {}},
        // The unreadable press time is answered by its rule and replaced by 2,0.
        {"0738",
         0x3B,
         {{Field::transmissionCount, "?"},
          {Field::pressTimeSeconds, "2,0"},
          {Field::outOfFieldSecondsBeforeRetransmit, "?"}},
         {10860}},
        {"0850", 0x56, {}, {}},
        {"0858", 0x5E, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        prompts.Clear();
        model->SetText(Field::radioCode, "ABCD");  // from the identification
        const ConfigImage image = ReadImage(Generation2Bytes(), 2, c.missing);
        model->EnableGeneration2Controls(image);
        EXPECT_EQ(model->DecodeConfigImage(image, MarkFromDevice), c.result);
        EXPECT_EQ(Text(Field::radioCode), "ABCD");
        for (const auto& [field, text] : c.shown) EXPECT_EQ(Text(field), text) << Name(field);
        EXPECT_EQ(prompts.MessageIds(), c.messages);
    }
    // The codes of the missing block show "?"; the others their values.
    model->DecodeConfigImage(ReadImage(Generation2Bytes(), 2, "0840"), MarkFromDevice);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(Text(DoorCode(k, false)), "?") << k;
    EXPECT_EQ(Text(DoorCode(5, false)), "8001");
}

TEST_F(Decode, ReadOfAGeneration1DeviceIsComplete) {
    const ImageBytes device = With(Generation2Bytes(), {{0x2F, 0x14}});
    EXPECT_EQ(model->DecodeConfigImage(ReadImage(device, 1, ""), MarkFromDevice), DecodeOk);
    EXPECT_EQ(Text(Field::transmissionCount), "65534");
}

TEST_F(Decode, ForeignProductUnlessALaterFieldIsMissing) {
    const ImageBytes device = With(Generation2Bytes(), {{0x2E, 0x05}});
    EXPECT_EQ(model->DecodeConfigImage(ReadImage(device, 2, ""), MarkFromDevice), DecodeBadProduct);
    EXPECT_EQ(Text(Field::firmwareType), "unknown");
    // Code 8 comes after the firmware type.
    EXPECT_EQ(model->DecodeConfigImage(ReadImage(device, 2, "0848"), MarkFromDevice), 0x4E);
    // The production date comes before it.
    EXPECT_EQ(model->DecodeConfigImage(ReadImage(device, 2, "0622"), MarkFromDevice),
              DecodeBadProduct);
}

TEST_F(Decode, PressTimeMessageNamesBothBounds) {
    model->DecodeConfigImage(ReadImage(Generation2Bytes(), 2, "0738"), MarkFromDevice);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, BoxKind::Error);
    EXPECT_EQ(prompts.records[0].text,
              QString::fromUtf8("Wert für Lang/Doppel/Dreifachdrücken muss im Bereich von 0,5 bis "
                                "25,5 liegen"));
}

// A .Korbi file read from disk into a model without any window, listed field by field as a
// terminal tool would print it.
TEST_F(Decode, FileListsEveryFieldWithoutAWindow) {
    QTemporaryDir folder;
    const QString path = folder.path() + "/Site.Korbi";
    ASSERT_TRUE(WriteImageFile(path, Generation2Bytes()));
    ImageBytes bytes;
    ASSERT_TRUE(ReadImageFile(path, bytes));
    ASSERT_EQ(ShowFile(bytes), DecodeOk);

    QStringList lines;
    for (int i = 0; i < kFieldCount; ++i) {
        const Field f = Field(i);
        const SettingRow& info = SettingOf(f);
        const QString value = info.kind() == FieldKind::Text ? Text(f) : Ticked(f) ? "[x]" : "[ ]";
        lines << QString("%1|%2|%3|%4|%5")
                     .arg(info.control, InfoOf(info.group).name, CaptionOf(f), value,
                          model->Enabled(f) ? "" : "disabled");
    }
    ASSERT_EQ(lines.size(), 78);
    EXPECT_EQ(lines.first(), "edtRadioCodeOld|gbxRadioParameters|Aktuell|1234|disabled");
    EXPECT_TRUE(lines.contains(
        QString::fromUtf8("edtNoLongTx|gbxRadioParameters|Anzahl langer Übertragungen|10|")));
    EXPECT_TRUE(lines.contains("edtDoorCode4|gbxCodesZones|Nummer 4|ABCD|"));
    EXPECT_TRUE(lines.contains("cbZoneE_R|gbxCodesZonesRestricted|Zone E|[x]|"));
    EXPECT_EQ(lines.last(), "cbZoneF_R|gbxCodesZonesRestricted|Zone F|[ ]|");
    // Every control name is found again, and a field is set by it through its rule.
    for (int i = 0; i < kFieldCount; ++i)
        EXPECT_EQ(FindField(SettingOf(Field(i)).control), Field(i));
    EXPECT_TRUE(model->SetByName("edtNoShortTx", "19"));
    EXPECT_EQ(Text(Field::shortTransmissions), "15");
    EXPECT_TRUE(model->SetByName("cbZoneE", "1"));
    EXPECT_FALSE(Ticked(Zone(14, true)));
    EXPECT_FALSE(model->SetByName("cbZoneE", "ja"));
    EXPECT_FALSE(model->SetByName("lblOld", "x"));
    EXPECT_EQ(prompts.MessageIds(), QList<int>{10854});
}
