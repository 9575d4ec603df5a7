#include "link/lpxsim.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "link/lpxadapter.h"
#include "link/simdriver.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
}

// An LPX with one generation-2 device and an open adapter to it.
struct Lpx {
    LpxSim sim;
    int device = sim.AddDevice(0x12AB, 0x21);
    SimDriver driver{sim};
    LpxAdapter adapter{&driver};
    Lpx() { EXPECT_EQ(adapter.Open(), LpxResultOk); }
    std::string Status(bool write = false) {
        std::string status;
        const LpxResult result =
            write ? adapter.QueryWriteJobStatus(status) : adapter.QueryReadJobStatus(status);
        return result == LpxResultOk ? status : std::string();
    }
};

struct SimLpx : ::testing::Test, Lpx {};

}  // namespace

TEST_F(SimLpx, OpenSetsTheLine) {
    const SimLineSettings& line = driver.Line();
    EXPECT_EQ(line.baud, 57600u);
    EXPECT_EQ(line.wordLength, 8);
    EXPECT_EQ(line.stopBits, 2);
    EXPECT_EQ(line.parity, 0);
    EXPECT_EQ(line.flowControl, 0);
    EXPECT_TRUE(line.dtrCleared);
}

TEST_F(SimLpx, AnswerPiecesWithinTheWaitAreJoined) {
    sim.SetPieceDelay(milliseconds(100));
    sim.InjectFault(SimFault::SplitAnswer, "v", 1);
    std::string info;
    const auto start = Clock::now();
    EXPECT_EQ(adapter.QueryLpxInfo(info), LpxResultOk);
    EXPECT_EQ(info, "15-1 LPX V1");
    EXPECT_GE(MsSince(start), 190);

    // A gap longer than the wait ends the answer before its last piece.
    sim.SetPieceDelay(milliseconds(300));
    sim.InjectFault(SimFault::SplitAnswer, "v", 1);
    EXPECT_EQ(adapter.QueryLpxInfo(info), LpxResultFailed);
}

// The NAK that ends the records is the whole answer (link-bench's BM_Job shows that it costs no
// answer wait).
TEST_F(SimLpx, SingleByteInPlaceOfARecordIsNoData) {
    std::string record = "old";
    EXPECT_EQ(adapter.FetchRecord(record), LpxResultNoData);
    EXPECT_EQ(record, "");
}

TEST_F(SimLpx, InfoTextAndFirmwareComparison) {
    const struct {
        const char* info;
        int query;
        int check;
    } cases[] = {
        {"15-1 LPX V1", LpxResultOk, LpxResultOk},
        {"16-1 LPX V1", LpxResultOk, LpxResultOk},
        {"20-1 LPX V1", LpxResultOk, LpxResultOk},
        {"09-1 LPX V1", LpxResultOk, LpxResultOk},
        {"14-1 LPX V1", LpxResultOk, LpxResultOldFirmware},
        {"15-2 LPX V1", LpxResultOk, LpxResultOldFirmware},
        {"15-1 LPX V", LpxResultFailed, LpxResultFailed},
        {"15-1 LPX V12", LpxResultFailed, LpxResultFailed},
    };
    for (const auto& c : cases) {
        sim.SetInfoText(c.info);
        std::string info;
        EXPECT_EQ(adapter.QueryLpxInfo(info), c.query) << c.info;
        EXPECT_EQ(adapter.CheckLpxFirmware("15-1"), c.check) << c.info;
    }
}

// The read of a generation-2 device after its identification, command by command.
TEST_F(SimLpx, ReadConversationFetchesOneRecordPerBlock) {
    sim.SetAutoPress(device, 2);
    ASSERT_EQ(adapter.RequestReadBlock(""), LpxResultOk);
    for (const std::string& block : ReadPlan(2))
        ASSERT_EQ(adapter.RequestReadBlock(block), LpxResultOk);
    ASSERT_EQ(adapter.StartJob("12AB"), LpxResultOk);
    EXPECT_EQ(Status(), "00");
    EXPECT_EQ(Status(), "03");
    ConfigImage image;
    std::string record;
    int records = 0;
    while (adapter.FetchRecord(record) == LpxResultOk) {
        EXPECT_EQ(record.substr(0, 4), "12AB");
        EXPECT_TRUE(StoreReadRecord(image, record, MarkFromDevice)) << record;
        ++records;
    }
    EXPECT_EQ(records, 8);
    const std::vector<std::string> expected = {
        "m", "m0622", "m0828", "m0830", "m0840", "m0848", "m0738", "m0850", "m0858", "i12AB", "M",
        "M", "x",     "x",     "x",     "x",     "x",     "x",     "x",     "x",     "x"};
    EXPECT_EQ(sim.Log(), expected);
    for (int a = 0x22; a < 0x60; ++a) {
        if (a == 0x3F) continue;
        EXPECT_EQ(image.cells[a].mark, MarkFromDevice) << a;
        EXPECT_EQ(image.cells[a].value, sim.Device(device).memory[a]) << a;
    }
}

TEST_F(SimLpx, WriteJobWritesTheListedBlocksAndTheCode) {
    ConfigImage image;
    const uint8_t values[] = {0x09, 0x13, 0x01};
    const uint8_t code[] = {0x1A, 0x2B};
    StoreBlock(image, 0x27, 3, values, MarkToDevice);
    StoreBlock(image, 0x20, 2, code, MarkToDevice);
    ASSERT_EQ(adapter.AddWriteBlock(""), LpxResultOk);
    ASSERT_EQ(adapter.AddWriteBlock(BuildBlockText(image, 3, 0x27)), LpxResultOk);
    ASSERT_EQ(adapter.AddWriteBlock(BuildBlockText(image, 2, 0x20)), LpxResultOk);
    ASSERT_EQ(adapter.StartJob("12AB"), LpxResultOk);
    EXPECT_EQ(Status(true), "00");
    EXPECT_FALSE(sim.PressButton(sim.AddDevice(0x4444, 0x1A))) << "another device's button";
    EXPECT_EQ(Status(false), "00") << "a write job is not polled with M";
    EXPECT_TRUE(sim.PressButton(device));
    EXPECT_EQ(Status(true), "03");
    const auto& memory = sim.Device(device).memory;
    EXPECT_EQ(memory[0x27], 0x09);
    EXPECT_EQ(memory[0x29], 0x01);
    EXPECT_EQ(sim.Device(device).RadioCode(), 0x1A2B);
    EXPECT_EQ(adapter.AddWriteBlock("0327"), LpxResultFailed) << "a write block needs its data";
}

TEST(SimFaults, EachFaultShowsInTheAnswers) {
    struct Case {
        const char* name;
        SimFault fault;
        const char* target;
        std::function<void(Lpx&)> check;
    };
    auto identify = [](Lpx& t) {
        EXPECT_EQ(t.adapter.RequestReadBlock(""), LpxResultOk);
        EXPECT_EQ(t.adapter.RequestReadBlock("022E"), LpxResultOk);
        EXPECT_EQ(t.adapter.StartJob("FFFF"), LpxResultOk);
        t.sim.PressButton(t.device);
    };
    const Case cases[] = {
        {"job fails", SimFault::JobFails, "",
         [&](Lpx& t) {
             identify(t);
             EXPECT_EQ(t.Status(), "04");
         }},
        {"job times out", SimFault::JobTimesOut, "",
         [&](Lpx& t) {
             identify(t);
             EXPECT_EQ(t.Status(), "05");
         }},
        {"foreign product", SimFault::ForeignProduct, "",
         [&](Lpx& t) {
             identify(t);
             std::string record;
             EXPECT_EQ(t.adapter.FetchRecord(record), LpxResultOk);
             EXPECT_EQ(record, "12AB022E0121");
         }},
        {"bad record count", SimFault::BadRecordCount, "",
         [&](Lpx& t) {
             identify(t);
             std::string record;
             ConfigImage image;
             EXPECT_EQ(t.adapter.FetchRecord(record), LpxResultOk);
             EXPECT_FALSE(StoreReadRecord(image, record, MarkFromDevice)) << record;
         }},
        {"short record", SimFault::ShortRecord, "022E",
         [&](Lpx& t) {
             identify(t);
             std::string record;
             EXPECT_EQ(t.adapter.FetchRecord(record), LpxResultOk);
             EXPECT_EQ(record, "12AB012F21");
         }},
        {"missing block", SimFault::MissingBlock, "022E",
         [&](Lpx& t) {
             identify(t);
             std::string record;
             EXPECT_EQ(t.adapter.FetchRecord(record), LpxResultNoData);
         }},
        {"i with EOT", SimFault::StartJobEot, "",
         [](Lpx& t) { EXPECT_EQ(t.adapter.StartJob("FFFF"), LpxResultEot); }},
        {"n with ESC", SimFault::WriteBlockEsc, "",
         [](Lpx& t) { EXPECT_EQ(t.adapter.AddWriteBlock(""), LpxResultEsc); }},
        {"no answer to s1", SimFault::NoAnswer, "s1",
         [](Lpx& t) {
             EXPECT_EQ(t.adapter.EnterIdentifyMode(), LpxResultFailed);
             EXPECT_EQ(t.adapter.LeaveIdentifyMode(), LpxResultOk);
         }},
        {"wrong checksum", SimFault::WrongChecksum, "",
         [](Lpx& t) { EXPECT_EQ(t.adapter.CheckLpxFirmware("15-1"), LpxResultFailed); }},
        {"lower-case checksum", SimFault::LowerCaseChecksum, "",
         [](Lpx& t) {
             // "15-1 LPX V1" has the checksum 7F
             EXPECT_EQ(t.adapter.CheckLpxFirmware("15-1"), LpxResultFailed);
         }},
        {"old firmware", SimFault::OldFirmware, "",
         [](Lpx& t) { EXPECT_EQ(t.adapter.CheckLpxFirmware("15-1"), LpxResultOldFirmware); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lpx t;
        t.sim.InjectFault(c.fault, c.target, 1);
        c.check(t);
    }
}

TEST_F(SimLpx, SilenceAfterTheLastRecordAndBrokenFramesGoUnanswered) {
    sim.SetEndOfRecords(-1);
    std::string record;
    EXPECT_EQ(adapter.FetchRecord(record), LpxResultNoData);
    EXPECT_EQ(adapter.WriteText("\x02v77\x03"), 5u);  // checksum off by one
    EXPECT_EQ(sim.BadFrames(), 1);
    EXPECT_EQ(sim.Log(), std::vector<std::string>{"x"});
}

TEST(SimDriverLine, UnpluggedOrForeignConverterIsNotFound) {
    LpxSim sim;
    SimDriver driver(sim);
    LpxAdapter adapter(&driver);
    driver.SetAttached(false);
    EXPECT_EQ(adapter.Open(), LpxResultFailed);
    driver.SetAttached(true);
    driver.SetDescription("Talo LPX - Active USB Interface ");
    EXPECT_EQ(adapter.Open(), LpxResultFailed);
    EXPECT_EQ(driver.OpenHandles(), 0);
}
