// The device jobs without any window: a host that waits as a terminal tool would, by polling
// the job status itself until the jobs' own poll step reports an outcome.

#include <gtest/gtest.h>

#include "link/codelist.h"
#include "link/devicejobs.h"
#include "link/lpxsim.h"
#include "link/simdriver.h"
#include "resources/catalogue.h"
#include "support/scripted_prompts.h"

namespace {

class LoopHost : public JobHost {
  public:
    LoopHost(LpxSim& sim, Messages& messages) : sim_(sim), messages_(messages) {}

    Messages& JobMessages() override { return messages_; }
    void ShowStatus(const QString& text) override { status = text; }
    void ShowOrigin(int shown) override { origin = shown; }
    void SetWaitTitle(const QString& title) override { waitTitle = title; }
    int WaitForButton(PollKind kind, const WaitTexts&, bool) override {
        sim_.PressButton(0);
        for (int poll = 0; poll < 10; ++poll) {
            const std::optional<int> outcome = jobs->PollJobStatus(kind);
            if (!outcome) return WaitAborted;
            if (*outcome != 0) return *outcome;
        }
        return WaitAborted;  // the user gave up
    }
    void StopPolling() override { ++stops; }

    DeviceJobs* jobs = nullptr;
    QString status, waitTitle;
    int origin = -1;
    int stops = 0;

  private:
    LpxSim& sim_;
    Messages& messages_;
};

}  // namespace

TEST(CoreJobs, ReadAndWriteADeviceWithoutAWindow) {
    LpxSim sim;
    SimDriver driver(sim);
    ScriptedPrompts prompts;
    SettingsModel settings(&prompts);
    LpxAdapter adapter(&driver);
    LoopHost host(sim, prompts);
    DeviceJobs jobs(settings, adapter, host);
    host.jobs = &jobs;
    const int device = sim.AddDevice(0x4C2D, 0x21);
    sim.Device(device).memory[0x2C] = 77;  // battery test interval

    jobs.ReadDevice();
    EXPECT_EQ(settings.Text(Field::edtRadioCodeOld), "4C2D");
    EXPECT_EQ(settings.Text(Field::edtBatteryTestInterval), "77");
    EXPECT_EQ(host.status, Text(Msg::ReadDone));
    EXPECT_EQ(host.origin, OriginDevice);
    EXPECT_EQ(host.waitTitle, Text(Msg::ReadTitle));
    EXPECT_EQ(host.stops, 2);  // one per wait
    EXPECT_EQ(driver.OpenHandles(), 0);

    settings.SetText(Field::edtBatteryTestInterval, "300");  // held at 255 by its rule
    jobs.WriteDevice();
    EXPECT_EQ(host.status, Text(Msg::WriteDone));
    EXPECT_EQ(sim.Device(device).memory[0x2C], 255);
    EXPECT_EQ(prompts.MessageIds(), QList<int>{Msg::RangeBatteryTestInterval});
    EXPECT_EQ(driver.OpenHandles(), 0);
}

// Code lists for a series: comments and blank lines left out, codes upper-cased; a bad, a
// forbidden or a repeated code refuses the whole list with the line it stands in.
TEST(CodeList, ParsesListsAndRanges) {
    const struct {
        const char* text;
        bool range;
        const char* codes;  // joined by ","; empty when refused
        const char* says;
    } rows[] = {
        {"# Karton 7\n\n1a2b\r\n  00FE \n", false, "1A2B,00FE", ""},
        {"1001\n1001\n", false, "", "Zeilen 1 und 2"},
        {"1001\nffff\n", false, "", "Zeile 2: FFFF"},
        {"1001\n12345\n", false, "", "'12345'"},
        {"12G4\n", false, "", "'12G4'"},
        {"# nur Kommentar\n", false, "", "keine Funkkennung"},
        {"10fe-1101", true, "10FE,10FF,1100,1101", ""},
        {"1001-1000", true, "", "1001-1000"},
        {"0000-0002", true, "", "0000"},
        {"1000-", true, "", "1000-"},
    };
    for (const auto& row : rows) {
        QStringList codes;
        QString error;
        const QString text = QString::fromUtf8(row.text);
        const bool ok =
            row.range ? ParseCodeRange(text, &codes, &error) : ParseCodeList(text, &codes, &error);
        EXPECT_EQ(ok, *row.codes != 0) << row.text;
        EXPECT_EQ(codes.join(','), ok ? row.codes : "") << row.text;
        EXPECT_TRUE(error.contains(QString::fromUtf8(row.says))) << error.toStdString();
    }
}
