// A series of writes on the core alone: which device counts, which code it gets, what ends the
// series and what the record keeps. The user in front of the LPX presses the buttons of the
// listed devices, one per wait, and aborts the wait when the list runs out.

#include "jobs/series.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>

#include "jobs/devicejobs.h"
#include "link/lpxsim.h"
#include "link/simdriver.h"
#include "pressing_host.h"
#include "resources/catalogue.h"
#include "support/journal_lines.h"
#include "support/scripted_prompts.h"

namespace {

constexpr int kAbort = PressingHost::kAbort;

class SeriesPressHost : public PressingHost, public SeriesHost {
  public:
    using PressingHost::PressingHost;
    void DeviceStarting(int number, int count, const QString&) override {
        numbers.push_back({number, count});
    }
    void SeriesLine(const QString& line) override { lines << line; }
    std::vector<std::pair<int, int>> numbers;
    QStringList lines;
};

}  // namespace

TEST(Series, CountsEachDeviceOnceAndEndsWhereNoDeviceCanHelp) {
    const struct {
        const char* name;
        std::vector<uint16_t> devices;
        QStringList codes;    // the code list; empty: every device keeps its code
        const char* newCode;  // what the view's "Neu" holds
        int count;
        std::vector<int> presses;       // the device pressed at each wait
        std::vector<const char*> eots;  // "i" commands the LPX answers with EOT
        SeriesEnd end;
        int written, failed, recorded;
        std::vector<uint16_t> codesAfter;
        const char* says;
    } rows[] = {
        // clang-format off
        {"the same button again gets no second code", {0x5C03, 0x6D04}, {"2000", "2001", "2002"},
         "", 2, {0, 0, 0, 1, 1}, {}, SeriesEnd::Complete, 2, 0, 2, {0x2000, 0x2001},
         "Gerät 2000 wurde in dieser Serie schon geschrieben"},
        {"the same button again is not written twice", {0x4C2D, 0x5D3E}, {},
         "", 2, {0, 0, 0, 1, 1}, {}, SeriesEnd::Complete, 2, 0, 2, {0x4C2D, 0x5D3E},
         "Gerät 4C2D wurde in dieser Serie schon geschrieben"},
        {"each device keeps its code whatever Neu holds", {0x8000, 0x8001}, {},
         "9999", 2, {0, 0, 1, 1}, {}, SeriesEnd::Complete, 2, 0, 2, {0x8000, 0x8001},
         "Gerät 2: 8001 geschrieben"},
        {"a forbidden code in Neu counts for no device either", {0x8000}, {},
         "0000", 1, {0, 0}, {}, SeriesEnd::Complete, 1, 0, 1, {0x8000},
         "Gerät 1: 8000 geschrieben"},
        {"a device with code 0000 fails alone", {0x0000, 0x5D3E}, {},
         "", 1, {0, 1, 1}, {}, SeriesEnd::Complete, 1, 1, 2, {0x0000, 0x5D3E},
         "Gerät 1: ???? fehlgeschlagen"},
        {"an LPX that refuses every write ends the series", {0x4C2D, 0x5D3E, 0x6E4F}, {},
         "", 3, {0, 1, 2, 2}, {"i4", "i5", "i6"}, SeriesEnd::Unchangeable, 0, 2, 2,
         {0x4C2D, 0x5D3E, 0x6E4F}, "Derselbe Fehler zweimal hintereinander"},
        {"ending an open series at the next device records nothing", {0x4C2D}, {},
         "", 0, {0, 0, kAbort}, {}, SeriesEnd::Complete, 1, 0, 1, {0x4C2D},
         "Gerät 1: 4C2D geschrieben"},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir folder;
        LpxSim sim;
        for (uint16_t code : row.devices) sim.AddDevice(code, 0x21);
        for (const char* target : row.eots) sim.InjectFault(SimFault::StartJobEot, target);
        SimDriver driver(sim);
        ScriptedPrompts prompts;
        SettingsModel settings(&prompts);
        ShowDeviceSettings(sim, 0, settings);
        settings.SetText(Field::newRadioCode, QString::fromLatin1(row.newCode));
        LpxAdapter adapter(&driver);
        SeriesPressHost host(sim, prompts);
        host.whenNoneListed = kAbort;
        DeviceJobs jobs(adapter, host);
        host.jobs = &jobs;
        host.view = &settings;
        host.presses.assign(row.presses.begin(), row.presses.end());
        JobRecord record;
        record.path = JournalPath(folder.path() + "/");
        jobs.SetRecord(record);
        SeriesPlan plan;
        plan.count = row.count;
        plan.codes = row.codes;
        Series series(jobs, host, plan, WriteRequestOf(settings));

        EXPECT_EQ(series.Run(), row.end);
        EXPECT_EQ(series.Written(), row.written);
        EXPECT_EQ(series.Failed(), row.failed);
        EXPECT_TRUE(host.lines.join('\n').contains(QString::fromUtf8(row.says)))
            << host.lines.join('\n').toStdString();
        EXPECT_EQ(JournalLines(record.Target()).size(), row.recorded);
        for (size_t i = 0; i < row.codesAfter.size(); ++i)
            EXPECT_EQ(sim.Device(int(i)).RadioCode(), row.codesAfter[i]) << i;
        for (const auto& [number, count] : host.numbers)
            if (count > 0) {
                EXPECT_LE(number, count);
            }
        // A code goes out only from a list, and no device is asked about it.
        const std::vector<std::string>& log = sim.Log();
        EXPECT_EQ(std::any_of(log.begin(), log.end(),
                              [](const std::string& c) { return c.rfind("n0220", 0) == 0; }),
                  !row.codes.isEmpty());
        EXPECT_FALSE(prompts.MessageIds().contains(Msg::ConfirmCodeChange));
        EXPECT_EQ(settings.Text(Field::newRadioCode), QString::fromLatin1(row.newCode));
        EXPECT_EQ(driver.OpenHandles(), 0);
    }
}

// A device whose check found differences may be pressed again: it is written again with the code
// the series gave it, and then counts as written, its failure mended. Only a device written as
// asked is refused.
TEST(Series, ADeviceWhoseCheckDifferedIsWrittenAgainWithItsCode) {
    LpxSim sim;
    sim.AddDevice(0x6A01, 0x21);
    sim.InjectFault(SimFault::ChangesByte, "", 1);  // the first write changes a byte
    SimDriver driver(sim);
    ScriptedPrompts prompts;
    SettingsModel settings(&prompts);
    ShowDeviceSettings(sim, 0, settings);
    LpxAdapter adapter(&driver);
    SeriesPressHost host(sim, prompts);
    DeviceJobs jobs(adapter, host);
    host.jobs = &jobs;
    host.view = &settings;
    SeriesPlan plan;
    plan.count = 1;
    plan.verify = true;
    plan.codes = {"2000", "2001"};
    Series series(jobs, host, plan, WriteRequestOf(settings));

    EXPECT_EQ(series.Run(), SeriesEnd::Complete) << host.lines.join('\n').toStdString();
    EXPECT_EQ(sim.Device(0).RadioCode(), 0x2000);
    ASSERT_EQ(series.Devices().size(), 2);
    EXPECT_EQ(series.Devices()[0].outcome.check, CheckState::Differs);
    EXPECT_EQ(series.Devices()[1].outcome.codeBefore, "2000");
    EXPECT_EQ(series.Devices()[1].outcome.check, CheckState::Passed);
    EXPECT_EQ(series.Written(), 1);
    EXPECT_EQ(series.Failed(), 0);
    EXPECT_FALSE(host.lines.join('\n').contains("schon geschrieben"));
}
