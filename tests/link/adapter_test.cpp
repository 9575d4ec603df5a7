#include <gtest/gtest.h>

#include <chrono>

#include "fake_line.h"
#include "link/lpxadapter.h"
#include "link/lpxsim.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string Hex(const std::string& bytes) {
    std::string text;
    for (unsigned char c : bytes) text += (text.empty() ? "" : " ") + ByteToHex(c);
    return text;
}

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

}  // namespace

TEST(AdapterLifecycle, OpenTwiceHoldsOneHandleAndCloseReleasesIt) {
    FakeDriver driver;
    LpxAdapter adapter(&driver);
    ASSERT_EQ(adapter.Open(), LpxResultOk);
    EXPECT_EQ(driver.lastDescription, "Talo LPX - Active USB Interface");
    ASSERT_EQ(adapter.Open(), LpxResultOk);
    EXPECT_EQ(driver.line.opens, 2);
    EXPECT_EQ(driver.line.handles, 1);
    adapter.Close();
    EXPECT_EQ(driver.line.handles, 0);
    ASSERT_FALSE(driver.line.purges.empty());
    EXPECT_EQ(driver.line.purges.back(), PurgeRx);
    const int calls = driver.line.calls;
    adapter.Close();
    EXPECT_EQ(driver.line.calls, calls);
}

TEST(AdapterLifecycle, NoConverterGivesOneAndStaysClosed) {
    FakeDriver driver;
    driver.line.openStatus = DriverDeviceNotFound;
    LpxAdapter adapter(&driver);
    EXPECT_EQ(adapter.Open(), LpxResultFailed);
    EXPECT_FALSE(adapter.IsOpen());
    LpxAdapter withoutDriver;
    EXPECT_EQ(withoutDriver.Open(), LpxResultFailed);
    EXPECT_FALSE(withoutDriver.IsOpen());
}

TEST(AdapterLifecycle, FailedSettingTriesTheOthersAndKeepsTheHandle) {
    for (int failing = 0; failing < 4; ++failing) {
        FakeDriver driver;
        driver.line.settingStatus[failing] = DriverIoError;
        LpxAdapter adapter(&driver);
        EXPECT_EQ(adapter.Open(), LpxResultFailed) << failing;
        EXPECT_EQ(driver.line.calls, 4) << "all four settings are tried; failing " << failing;
        EXPECT_TRUE(adapter.IsOpen());
        adapter.Close();
        EXPECT_EQ(driver.line.handles, 0);
    }
}

TEST(AdapterLifecycle, ClosedAdapterLeavesTheDriverAlone) {
    FakeDriver driver;
    LpxAdapter adapter(&driver);
    ASSERT_EQ(adapter.Open(), LpxResultOk);
    adapter.Close();
    const int calls = driver.line.calls;
    uint8_t buffer[8];
    EXPECT_EQ(adapter.QueuedBytes(), 0u);
    EXPECT_EQ(adapter.ReadQueued(buffer, sizeof buffer), 0u);
    EXPECT_EQ(adapter.WriteText("v"), 0u);
    EXPECT_FALSE(adapter.PurgeBoth());
    adapter.SetTimeouts(10, 100);
    adapter.SendCommand("v");
    // A command over a closed adapter ends like one without an answer.
    const auto start = Clock::now();
    std::string info = "old";
    EXPECT_EQ(adapter.QueryLpxInfo(info), LpxResultFailed);
    EXPECT_GE(MsSince(start), 240);
    EXPECT_EQ(info, "");
    EXPECT_EQ(driver.line.calls, calls);
    EXPECT_TRUE(driver.line.written.empty());
}

TEST(AdapterFrames, CommandFramesCarryTheChecksumInUpperCase) {
    const struct {
        const char* command;
        const char* bytes;
    } cases[] = {
        {"v", "02 76 37 36 03"},
        {"x", "02 78 37 38 03"},
        {"s0", "02 73 30 41 33 03"},
        {"M", "02 4D 34 44 03"},
        {"iFFFF", "02 69 46 46 46 46 38 31 03"},
        {"m022E", "02 6D 30 32 32 45 34 36 03"},
    };
    for (const auto& c : cases) {
        FakeDriver driver;
        LpxAdapter adapter(&driver);
        ASSERT_EQ(adapter.Open(), LpxResultOk);
        driver.line.purges.clear();
        adapter.SendCommand(c.command);
        EXPECT_EQ(Hex(driver.line.written), c.bytes) << c.command;
        EXPECT_EQ(driver.line.purges, std::vector<uint32_t>{PurgeRx | PurgeTx}) << c.command;
    }
}

TEST(AdapterFrames, EmptyOrOversizedCommandSendsNothing) {
    FakeDriver driver;
    LpxAdapter adapter(&driver);
    ASSERT_EQ(adapter.Open(), LpxResultOk);
    driver.line.purges.clear();
    adapter.SendCommand("");
    adapter.SendCommand(std::string(kMaxCommandLength + 1, 'n'));
    EXPECT_TRUE(driver.line.written.empty());
    EXPECT_TRUE(driver.line.purges.empty());
    adapter.SendCommand(std::string(kMaxCommandLength, 'n'));
    EXPECT_EQ(driver.line.written.size(), static_cast<size_t>(kMaxCommandLength + 4));
}

// Answers the fake line gives at once, and what the framed receive makes of them.
TEST(AdapterAnswers, FrameCheck) {
    const std::string valid = LpxSim::Frame("15-1 LPX V1");
    std::string lowerCase = LpxSim::Frame("ZZ");  // checksum B4
    lowerCase[3] = 'b';
    const struct {
        const char* name;
        std::string answer;
        int length;
        std::string payload;
    } cases[] = {
        {"valid", valid, 11, "15-1 LPX V1"},
        {"lower-case checksum digit", lowerCase, 0, ""},
        {"wrong first byte", "X" + valid.substr(1), 0, ""},
        {"bytes after ETX", valid + "Q", 0, ""},
        {"wrong checksum", LpxSim::Frame("03").replace(3, 2, "64"), 0, ""},
        {"empty payload", LpxSim::Frame(""), 0, ""},
        {"STX and ETX only", "\x02\x03", 0, ""},
    };
    for (const auto& c : cases) {
        FakeDriver driver;
        LpxAdapter adapter(&driver);
        ASSERT_EQ(adapter.Open(), LpxResultOk);
        driver.line.answers.push_back(c.answer);
        std::string payload;
        EXPECT_EQ(adapter.Transact("v", payload, kAnswerTimeoutMs, AnswerKind::Framed), c.length)
            << c.name;
        EXPECT_EQ(payload, c.payload) << c.name;
    }
}

TEST(AdapterAnswers, AtMostFiftyBytesAreCollected) {
    FakeDriver driver;
    LpxAdapter adapter(&driver);
    ASSERT_EQ(adapter.Open(), LpxResultOk);
    driver.line.answers.push_back(LpxSim::Frame(std::string(60, 'A')));
    std::string info;
    EXPECT_EQ(adapter.QueryLpxInfo(info), LpxResultFailed);
    EXPECT_EQ(driver.line.incoming.size(), 64u - 50u);
}

TEST(AdapterAnswers, SingleByteCommands) {
    const std::string ack = "\x06", eot = "\x04", esc = "\x1B", nak = "\x15";
    using Op = LpxResult (*)(LpxAdapter&);
    const struct {
        const char* name;
        Op op;
        std::string answer;
        int result;
    } cases[] = {
        {"s1 ACK", [](LpxAdapter& a) { return a.EnterIdentifyMode(); }, ack, LpxResultOk},
        {"s1 NAK", [](LpxAdapter& a) { return a.EnterIdentifyMode(); }, nak, LpxResultFailed},
        {"s0 ACK", [](LpxAdapter& a) { return a.LeaveIdentifyMode(); }, ack, LpxResultOk},
        {"m ESC", [](LpxAdapter& a) { return a.RequestReadBlock(""); }, esc, LpxResultFailed},
        {"n ESC", [](LpxAdapter& a) { return a.AddWriteBlock(""); }, esc, LpxResultEsc},
        {"n EOT", [](LpxAdapter& a) { return a.AddWriteBlock(""); }, eot, LpxResultFailed},
        {"i EOT", [](LpxAdapter& a) { return a.StartJob("12AB"); }, eot, LpxResultEot},
        {"i ESC", [](LpxAdapter& a) { return a.StartJob("12AB"); }, esc, LpxResultFailed},
        {"i ACK", [](LpxAdapter& a) { return a.StartJob("12AB"); }, ack, LpxResultOk},
        {"i none", [](LpxAdapter& a) { return a.StartJob("12AB"); }, "", LpxResultFailed},
    };
    for (const auto& c : cases) {
        FakeDriver driver;
        LpxAdapter adapter(&driver);
        ASSERT_EQ(adapter.Open(), LpxResultOk);
        driver.line.answers.push_back(c.answer);
        EXPECT_EQ(c.op(adapter), c.result) << c.name;
    }
}

TEST(AdapterAnswers, FramedCommandsRequireTheirPayloadLength) {
    using Op = LpxResult (*)(LpxAdapter&, std::string&);
    const Op readStatus = [](LpxAdapter& a, std::string& t) { return a.QueryReadJobStatus(t); };
    const Op writeStatus = [](LpxAdapter& a, std::string& t) { return a.QueryWriteJobStatus(t); };
    const Op record = [](LpxAdapter& a, std::string& t) { return a.FetchRecord(t); };
    const Op info = [](LpxAdapter& a, std::string& t) { return a.QueryLpxInfo(t); };
    const struct {
        Op op;
        std::string payload;
        int result;
        std::string text;
    } cases[] = {
        {readStatus, "03", LpxResultOk, "03"},
        {writeStatus, "0a", LpxResultOk, "0a"},
        {readStatus, "003", LpxResultNoData, ""},
        {writeStatus, "3", LpxResultNoData, ""},
        {record, "12AB012E00", LpxResultOk, "12AB012E00"},
        {record, "12AB0840" + std::string(16, '1'), LpxResultOk, "12AB0840" + std::string(16, '1')},
        {record, "12AB012E0", LpxResultNoData, ""},
        {record, std::string(25, '1'), LpxResultNoData, ""},
        {info, "15-1 LPX V", LpxResultFailed, ""},
        {info, "15-1 LPX V12", LpxResultFailed, ""},
        // A NUL inside a payload of the right length ends the text handed out there.
        {readStatus,
         std::string("\0"
                     "3",
                     2),
         LpxResultOk, ""},
        {record,
         std::string("12AB012E\0"
                     "0",
                     10),
         LpxResultOk, "12AB012E"},
        {info,
         std::string("15-1\0"
                     "LPX V1",
                     11),
         LpxResultOk, "15-1"},
    };
    for (const auto& c : cases) {
        FakeDriver driver;
        LpxAdapter adapter(&driver);
        ASSERT_EQ(adapter.Open(), LpxResultOk);
        driver.line.answers.push_back(LpxSim::Frame(c.payload));
        std::string text = "old";
        EXPECT_EQ(c.op(adapter, text), c.result) << c.payload;
        EXPECT_EQ(text, c.text) << c.payload;
    }
}

TEST(ReadRecords, OnlyValidRecordsAreStored) {
    const struct {
        std::string record;
        bool stored;
        int start;
        std::vector<uint8_t> values;
    } cases[] = {
        {"12AB012E00", true, 0x2E, {0x00}},
        {"12ab012ef0", true, 0x2E, {0xF0}},
        {"12AB08400102030405060708", true, 0x40, {1, 2, 3, 4, 5, 6, 7, 8}},
        {"12AB01FF07", true, 0xFF, {0x07}},
        {"12AB02FF0708", false, 0, {}},
        {"12AB0322AABB", false, 0, {}},
        {"12AB0122AABB", false, 0, {}},
        {"12AB0022", false, 0, {}},
        {"12AB0940010203040506070809", false, 0, {}},
        {"", false, 0, {}},
    };
    for (const auto& c : cases) {
        ConfigImage image;
        EXPECT_EQ(StoreReadRecord(image, c.record, MarkFromDevice), c.stored) << c.record;
        int marked = 0;
        for (const ImageCell& cell : image.cells) marked += cell.mark != MarkNone;
        EXPECT_EQ(marked, static_cast<int>(c.values.size())) << c.record;
        for (size_t i = 0; i < c.values.size(); ++i) {
            EXPECT_EQ(image.cells[c.start + i].value, c.values[i]) << c.record;
            EXPECT_EQ(image.cells[c.start + i].mark, MarkFromDevice) << c.record;
        }
    }
    ReadRecord record;
    ASSERT_TRUE(ParseReadRecord("12AB022E0021", &record));
    EXPECT_EQ(CodeToText(record.codeHigh, record.codeLow), "12AB");
    EXPECT_EQ(record.values[1], 0x21);
}
