#include <QLineEdit>
#include <QSet>

#include "config/numbers.h"
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

using Decode = ViewTest;

TEST_F(Decode, Generation2FileShowsEveryField) {
    window->edtRadioCodeNew->setText("BEEF");
    EXPECT_EQ(ShowFile(Generation2Bytes()), DecodeOk);
    EXPECT_TRUE(prompts.records.isEmpty());

    const std::pair<QLineEdit*, const char*> texts[] = {
        {window->edtRadioCodeOld, "1234"},
        {window->edtRadioCodeNew, "BEEF"},  // never touched by decoding
        {window->edtNoShortTx, "3"},
        {window->edtNoLongTx, "10"},
        {window->edtRadioTestAlarmInterval, "9"},
        {window->edtMissedAck, "19"},
        {window->edtBatteryTestInterval, "24"},
        {window->edtButtonCounter, "258"},
        {window->edtTotalTxCounter, "65534"},
        {window->edtLongDoubleTriplePressTime, "2,5"},
        {window->edtButtonActivationDelay, "1,2"},
        {window->edtDementiaBlockTime, "30"},
        {window->edtFirmwareVersion, "2.1"},
        {window->edtProductionDate, "140527"},
        {window->edtFirmwareType, "K-ORBI"},
        {window->edtRfidInactivity, "3"},
        {window->edtRadioInactivity, "25"},
        {window->edtOutOfFieldTimeToRetransmit, "200"},
        {window->continuousCodes[0], "000A"},
        {window->continuousCodes[2], ""},  // 0x0000 is the empty code
        {window->continuousCodes[3], "ABCD"},
        {window->continuousCodes[7], "7FFE"},
        {window->restrictedCodes[1], "4321"},
        {window->restrictedCodes[2], "00FF"},
        {window->restrictedCodes[7], "0002"},
    };
    for (const auto& [edit, text] : texts)
        EXPECT_EQ(edit->text(), text) << edit->objectName().toStdString();

    QString zones, zonesR;
    for (int z = 0; z < 16; ++z) {
        zones += window->continuousZones[z]->isChecked() ? '1' : '0';
        zonesR += window->restrictedZones[z]->isChecked() ? '1' : '0';
    }
    EXPECT_EQ(zones, "1111000010000001");
    EXPECT_EQ(zonesR, "0000110000000010");

    // 0x5B: bits 0, 1, 3, 4, 6; 0x0B: bits 0, 1, 3.
    const std::pair<QCheckBox*, bool> ticks[] = {
        {window->cbRadioTestAlarmActive, true},
        {window->cbConfig_D0, true},
        {window->cbConfig_D1, true},
        {window->cbConfig_D2, false},
        {window->cbConfig_D3, true},
        {window->cbConfig_D4, true},
        {window->cbConfig_D5, false},
        {window->cbConfig_D6, true},
        {window->cbConfig2_D0, true},
        {window->cbConfig2_D1, true},
        {window->cbConfig2_D2, false},
        {window->cbConfig2_D3, true},
    };
    for (const auto& [box, on] : ticks)
        EXPECT_EQ(box->isChecked(), on) << box->objectName().toStdString();
    EXPECT_TRUE(window->restrictedCodes[0]->isEnabled());
    EXPECT_TRUE(window->edtLongDoubleTriplePressTime->isEnabled());
}

TEST_F(Decode, Generation2FileSavesItsOwnBytes) {
    const ImageBytes bytes = Generation2Bytes();
    ASSERT_EQ(ShowFile(bytes), DecodeOk);
    EXPECT_EQ(SaveFile(), bytes);
}

// What a load and save without edits changes: only what the view cannot hold.
TEST_F(Decode, RoundTripCorrectsOnlyWhatTheViewCannotHold) {
    struct Case {
        const char* what;
        Changes loaded;
        Changes saved;
        QList<int> messages;
        int result = DecodeOk;
    };
    const Case cases[] = {
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
            EXPECT_EQ(saved[0x36], v) << window->edtButtonActivationDelay->text().toStdString();
            EXPECT_EQ(saved[0x3C], v) << window->edtLongDoubleTriplePressTime->text().toStdString();
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

    EXPECT_EQ(window->edtLongDoubleTriplePressTime->text(), "");
    EXPECT_EQ(window->edtOutOfFieldTimeToRetransmit->text(), "");
    for (int k = 0; k < 8; ++k) EXPECT_EQ(window->restrictedCodes[k]->text(), "") << k;
    for (int z = 0; z < 16; ++z) EXPECT_FALSE(window->restrictedZones[z]->isChecked()) << z;
    for (QCheckBox* b :
         {window->cbConfig2_D0, window->cbConfig2_D1, window->cbConfig2_D2, window->cbConfig2_D3}) {
        EXPECT_FALSE(b->isChecked());
        EXPECT_FALSE(b->isEnabled());
    }
    EXPECT_FALSE(window->restrictedCodes[3]->isEnabled());
    EXPECT_FALSE(window->edtLongDoubleTriplePressTime->isEnabled());
    EXPECT_EQ(window->edtFirmwareVersion->text(), "1.2");

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
    for (QLineEdit* e : window->restrictedCodes) listed.insert(e->objectName());
    for (QCheckBox* b : window->restrictedZones) listed.insert(b->objectName());
    ASSERT_EQ(listed.size(), 30);

    const QList<QWidget*> controls = SettingsControls();
    auto snapshot = [&] {
        QStringList state;
        for (QWidget* w : controls) {
            const auto* e = qobject_cast<QLineEdit*>(w);
            const auto* b = qobject_cast<QCheckBox*>(w);
            state << (e ? e->text() : QString::number(b->isChecked()));
        }
        return state;
    };
    ConfigImage image;  // no marks at all: the value alone decides
    for (const uint8_t version : {0x12, 0x21, 0x30, 0x2F, 0x00}) {
        const bool on = (version & 0xF0) == 0x20;
        image.cells[Addr::FirmwareVersion].value = version;
        // The listed controls start in the other state; the rest must keep theirs.
        for (const bool others : {true, false}) {
            SCOPED_TRACE(std::to_string(version) + (others ? " others on" : " others off"));
            for (QWidget* w : controls)
                w->setEnabled(listed.contains(w->objectName()) ? !on : others);
            const QStringList before = snapshot();
            window->EnableGeneration2Controls(image);
            for (QWidget* w : controls) {
                const bool expected = listed.contains(w->objectName()) ? on : others;
                EXPECT_EQ(w->isEnabled(), expected) << w->objectName().toStdString();
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
        EXPECT_EQ(window->edtFirmwareVersion->text(), c.shown);
        EXPECT_EQ(window->edtTotalTxCounter->text(), c.counter);
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
        std::vector<std::pair<QLineEdit * TfrmMain::*, const char*>> shown;
        QList<int> messages;
    };
    const Case cases[] = {
        {"", DecodeOk, {{&TfrmMain::edtTotalTxCounter, "65534"}}, {}},
        {"0622",
         0x22,
         {{&TfrmMain::edtRadioTestAlarmInterval, "?"}, {&TfrmMain::edtProductionDate, "YYMMDD"}},
         {}},
        // Without the firmware version the image counts as generation 1.
        {"0828",
         0x2D,
         {{&TfrmMain::edtMissedAck, "?"},
          {&TfrmMain::edtBatteryTestInterval, "?"},
          {&TfrmMain::edtButtonCounter, "?"},
          {&TfrmMain::edtTotalTxCounter, "---"},
          {&TfrmMain::edtFirmwareVersion, "?.?"},
          {&TfrmMain::edtFirmwareType, "?"},
          {&TfrmMain::edtLongDoubleTriplePressTime, ""}},
         {}},
        {"0830",
         0x30,
         {{&TfrmMain::edtNoShortTx, "?"},
          {&TfrmMain::edtNoLongTx, "?"},
          {&TfrmMain::edtButtonActivationDelay, "?.?"},
          {&TfrmMain::edtDementiaBlockTime, "?"},
          {&TfrmMain::edtRfidInactivity, "?"},
          {&TfrmMain::edtRadioInactivity, "?"}},
         {}},
        {"0840", 0x46, {{&TfrmMain::edtDementiaBlockTime, "30"}}, {}},
        {"0848", 0x4E, {}, {}},
        // The unreadable press time is answered by its rule and replaced by 2,0.
        {"0738",
         0x3B,
         {{&TfrmMain::edtTotalTxCounter, "?"},
          {&TfrmMain::edtLongDoubleTriplePressTime, "2,0"},
          {&TfrmMain::edtOutOfFieldTimeToRetransmit, "?"}},
         {10860}},
        {"0850", 0x56, {}, {}},
        {"0858", 0x5E, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        prompts.Clear();
        window->edtRadioCodeOld->setText("ABCD");  // from the identification
        const ConfigImage image = ReadImage(Generation2Bytes(), 2, c.missing);
        window->EnableGeneration2Controls(image);
        EXPECT_EQ(window->DecodeConfigImage(image, MarkFromDevice), c.result);
        EXPECT_EQ(window->edtRadioCodeOld->text(), "ABCD");
        for (const auto& [member, text] : c.shown)
            EXPECT_EQ((window.get()->*member)->text(), text)
                << (window.get()->*member)->objectName().toStdString();
        EXPECT_EQ(prompts.MessageIds(), c.messages);
    }
    // The codes of the missing block show "?"; the others their values.
    window->DecodeConfigImage(ReadImage(Generation2Bytes(), 2, "0840"), MarkFromDevice);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(window->continuousCodes[k]->text(), "?") << k;
    EXPECT_EQ(window->continuousCodes[4]->text(), "8001");
}

TEST_F(Decode, ReadOfAGeneration1DeviceIsComplete) {
    const ImageBytes device = With(Generation2Bytes(), {{0x2F, 0x14}});
    EXPECT_EQ(window->DecodeConfigImage(ReadImage(device, 1, ""), MarkFromDevice), DecodeOk);
    EXPECT_EQ(window->edtTotalTxCounter->text(), "65534");
}

TEST_F(Decode, ForeignProductUnlessALaterFieldIsMissing) {
    const ImageBytes device = With(Generation2Bytes(), {{0x2E, 0x05}});
    EXPECT_EQ(window->DecodeConfigImage(ReadImage(device, 2, ""), MarkFromDevice),
              DecodeBadProduct);
    EXPECT_EQ(window->edtFirmwareType->text(), "unknown");
    // Code 8 comes after the firmware type.
    EXPECT_EQ(window->DecodeConfigImage(ReadImage(device, 2, "0848"), MarkFromDevice), 0x4E);
    // The production date comes before it.
    EXPECT_EQ(window->DecodeConfigImage(ReadImage(device, 2, "0622"), MarkFromDevice),
              DecodeBadProduct);
}

TEST_F(Decode, PressTimeMessageNamesBothBounds) {
    window->DecodeConfigImage(ReadImage(Generation2Bytes(), 2, "0738"), MarkFromDevice);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, BoxKind::Error);
    EXPECT_EQ(prompts.records[0].text,
              QString::fromUtf8("Wert für Lang/Doppel/Dreifachdrücken muss im Bereich von 0,5 bis "
                                "25,5 liegen"));
}
