// The radio ID code change job against the simulated LPX.

#include "pressing_host.h"

namespace {

using CodeChangeTest = CoreJobsTest;

TEST_F(CodeChangeTest, CodesThatNeverReachTheDevice) {
    struct Case {
        const char* code;
        int message;
    };
    const Case cases[] = {{"abc", 10629}, {"12G4", 10629}, {"0000", 10818}, {"fFfF", 10818}};
    sim.AddDevice(0x4C2D, 0x21);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        prompts.Clear();
        host.ChangeCode(c.code);
        EXPECT_EQ(prompts.MessageIds(), QList<int>{c.message});
        EXPECT_TRUE(sim.Log().empty());
    }
}

TEST_F(CodeChangeTest, TheDevicesOwnCodeNeedsNoChange) {
    sim.AddDevice(0x4C2D, 0x21);
    host.ChangeCode("4C2D");
    ASSERT_EQ(prompts.MessageIds(), QList<int>{10625});
    EXPECT_EQ(prompts.records[0].kind, BoxKind::Information);
    EXPECT_EQ(prompts.records[0].text, FillText(10625, {"4C2D"}));
    EXPECT_EQ(sim.Log(), Identification());  // identified afresh
    EXPECT_EQ(host.title, Text(10621));
}

TEST_F(CodeChangeTest, OnlyYesChangesTheCode) {
    sim.AddDevice(0x4C2D, 0x21);
    for (BoxAnswer answer : {BoxAnswer::No, BoxAnswer::Closed}) {
        prompts.Clear();
        sim.ClearLog();
        prompts.answers = {answer};
        host.ChangeCode("4c2d");  // the own code in lower case counts as another code
        ASSERT_EQ(prompts.MessageIds(), QList<int>{10871});
        EXPECT_EQ(prompts.records[0].text, FillText(10871, {"4C2D", "4c2d"}));
        EXPECT_EQ(prompts.records[0].buttons, BoxButtons::YesNo);
        EXPECT_EQ(sim.Log(), Identification());
    }
}

TEST_F(CodeChangeTest, ConfirmedChangeSendsTheCodeAsTyped) {
    const int device = sim.AddDevice(0x4C2D, 0x21);
    prompts.answers = {BoxAnswer::Yes};
    EXPECT_EQ(host.ChangeCode("1a2b").codeAfter, "1A2B");
    EXPECT_EQ(prompts.MessageIds(), (QList<int>{10871, 10626}));
    // The box names both codes.
    EXPECT_EQ(prompts.records[1].text,
              QString::fromUtf8("K-ORBI 4C2D → 1A2B: Kennnummer geändert"));
    EXPECT_EQ(sim.Log(), Join(Identification(), {"n", "n02201a2b", "i4C2D", "N", "n"}));
    EXPECT_EQ(sim.Device(device).RadioCode(), 0x1A2B);
    EXPECT_EQ(host.instruction, Text(10628));
}

TEST_F(CodeChangeTest, FailedAndTimedOutJobs) {
    sim.AddDevice(0x4C2D, 0x21);
    const std::pair<SimFault, int> cases[] = {{SimFault::JobFails, 10627},
                                              {SimFault::JobTimesOut, 10873}};
    for (const auto& [fault, message] : cases) {
        SCOPED_TRACE(message);
        prompts.Clear();
        prompts.answers = {BoxAnswer::Yes};
        Press(0);
        PressInto(fault);
        host.ChangeCode("1A2B");
        EXPECT_EQ(prompts.MessageIds(), (QList<int>{10871, message}));
        EXPECT_EQ(sim.Device(0).RadioCode(), 0x4C2D);
    }
}

}  // namespace
