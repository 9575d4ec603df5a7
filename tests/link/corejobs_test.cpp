// The device jobs without any window, run to their end as a terminal tool runs them.

#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <stdexcept>

#include "jobs/verify.h"
#include "link/codelist.h"
#include "pressing_host.h"
#include "support/journal_lines.h"

using CoreJobs = CoreJobsTest;

TEST_F(CoreJobs, ReadAndWriteADeviceWithoutAWindow) {
    const int device = sim.AddDevice(0x4C2D, 0x21);
    sim.Device(device).memory[0x2C] = 77;  // battery test interval
    host.Read();
    EXPECT_EQ(settings.Text(Field::batteryAlarmIntervalHours), "77");
    EXPECT_EQ(host.waits, 2);
    settings.SetText(Field::batteryAlarmIntervalHours, "300");  // held at 255 by its rule
    host.Write();
    EXPECT_EQ(host.status, Text(Msg::WriteDone));
    EXPECT_EQ(sim.Device(device).memory[0x2C], 255);
    EXPECT_EQ(prompts.MessageIds(), QList<int>{Msg::RangeBatteryTestInterval});
}

namespace {

enum class WayOut { Abort, Signal, LineLost, Thrown };

// The user presses at every wait up to the one that ends the job its way.
class LeavingHost : public PressingHost {
  public:
    LeavingHost(LpxSim& sim, SimDriver& driver, Messages& messages, int leaveAt, WayOut out)
        : PressingHost(sim, messages), driver_(driver), leaveAt_(leaveAt), out_(out) {}
    void WaitBegins(const WaitTexts& texts) override {
        if (waits == leaveAt_) {
            leaving_ = true;
            ++waits;
            waiting = true;
            return;
        }
        PressingHost::WaitBegins(texts);
    }
    bool PollInterval() override {
        if (!leaving_) return PressingHost::PollInterval();
        switch (out_) {
            case WayOut::Abort:
                return false;
            case WayOut::Signal:
                signalled_ = true;
                return false;
            case WayOut::LineLost:
                driver_.Unplug();
                return true;
            case WayOut::Thrown:
                throw std::runtime_error("the job's thread is torn down");
        }
        return false;
    }
    bool AbortRequested() override { return signalled_; }

  private:
    SimDriver& driver_;
    int leaveAt_;
    WayOut out_;
    bool leaving_ = false;
    bool signalled_ = false;
};

}  // namespace

// Whatever way a job leaves any of its waits, the LPX is left with nothing armed: after the last
// job started on it, the list that job filled is emptied (or identification mode left), the line
// is closed, and the record tells how the job ended.
TEST(WaysOut, EveryWayOutOfEveryWaitEmptiesTheLpx) {
    const struct {
        const char* job;
        int waits;
    } jobs[] = {{"read", 2}, {"checked write", 3}, {"code change", 2}};
    for (const auto& job : jobs) {
        for (int wait = 0; wait < job.waits; ++wait) {
            for (const WayOut out :
                 {WayOut::Abort, WayOut::Signal, WayOut::LineLost, WayOut::Thrown}) {
                SCOPED_TRACE(std::string(job.job) + ", wait " + std::to_string(wait) + ", way " +
                             std::to_string(int(out)));
                QTemporaryDir folder;
                LpxSim sim;
                sim.AddDevice(0x4C2D, 0x21);
                SimDriver driver(sim);
                ScriptedPrompts prompts;
                prompts.answers = {BoxAnswer::Yes};
                SettingsModel settings(&prompts);
                ShowDeviceSettings(sim, 0, settings);
                LpxAdapter adapter(&driver);
                LeavingHost host(sim, driver, prompts, wait, out);
                DeviceJobs jobs(adapter, host);
                host.jobs = &jobs;
                host.view = &settings;
                JobRecord record;
                record.path = JournalPath(folder.path() + "/");
                jobs.SetRecord(record);
                WriteRequest checked;
                checked.verify = true;
                const std::string name = job.job;
                try {
                    if (name == "read") host.Read();
                    if (name == "checked write") host.Write(checked);
                    if (name == "code change") host.ChangeCode("1A2B");
                    EXPECT_NE(out, WayOut::Thrown);
                } catch (const std::runtime_error&) {
                    EXPECT_EQ(out, WayOut::Thrown);
                }
                EXPECT_EQ(driver.OpenHandles(), 0);
                const std::vector<std::string>& log = sim.Log();
                const auto started = std::find_if(
                    log.rbegin(), log.rend(), [](const auto& c) { return c.rfind('i', 0) == 0; });
                ASSERT_NE(started, log.rend());
                const bool identifying = *started == "iFFFF";
                const bool writing = name != "read" && wait == 1;
                const std::string emptied = identifying ? "s0" : writing ? "n" : "m";
                if (out == WayOut::LineLost) {
                    EXPECT_EQ(started, log.rbegin()) << "nothing goes out on a lost line";
                } else {
                    EXPECT_NE(std::find(log.rbegin(), started, emptied), started) << emptied;
                    // What a press carries out now is an empty job at most.
                    const std::array<uint8_t, 256> before = sim.Device(0).memory;
                    sim.PressButton(0);
                    EXPECT_EQ(sim.Device(0).memory, before);
                }
                const QList<QStringList> lines = JournalLines(record.Target());
                if (out == WayOut::Thrown) {
                    EXPECT_TRUE(lines.isEmpty());
                    continue;
                }
                ASSERT_EQ(lines.size(), 1);
                const bool checkOnly = name == "checked write" && wait == 2;
                const QString said = checkOnly                 ? QString::fromUtf8(kNotVerifiedWord)
                                     : out == WayOut::LineLost ? QStringLiteral("Fehler 10805")
                                                               : QStringLiteral("abgebrochen");
                EXPECT_EQ(lines[0][ColOutcome], said);
            }
        }
    }
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

// The check names every differing cell by the setting it holds, with the values as the device
// holds them: the view's entry rules would round 25.1 s, hide a continuous zone behind a
// restricted one and show start values for a block that never came back.
TEST(Verify, NamesEveryDifferingCellAsTheDeviceHoldsIt) {
    const QString point = QLocale().decimalPoint();
    const struct {
        const char* name;
        std::function<void(ConfigImage&)> change;  // of the image read back
        QStringList says;                          // one entry per line, in order
    } rows[] = {
        {"tenths beyond the entry rule",
         [](ConfigImage& back) { back.cells[0x3C].value = 251; },
         {"geschrieben 2" + point + "5, gelesen 25" + point + "1"}},
        {"a restricted zone beside the continuous one",
         [](ConfigImage& back) { back.cells[0x3E].value |= 0x10; },
         {"Zone 4: geschrieben leer, gelesen angekreuzt"}},
        {"two cells, each named",
         [](ConfigImage& back) {
             back.cells[0x27].value = 9;
             back.cells[0x2C].value = 200;
         },
         {"geschrieben 24, gelesen 9", "geschrieben 48, gelesen 200"}},
        {"a block that did not come back",
         [](ConfigImage& back) {
             for (int a = 0x58; a < 0x60; ++a) back.cells[a].mark = MarkNone;
         },
         {"Nummer 5: geschrieben (leer), gelesen nicht gelesen",
          "Nummer 6: geschrieben (leer), gelesen nicht gelesen",
          "Nummer 7: geschrieben (leer), gelesen nicht gelesen",
          "Nummer 8: geschrieben (leer), gelesen nicht gelesen"}},
        {"a bit that holds no setting",
         [](ConfigImage& back) { back.cells[0x2D].value |= 0x80; },
         {"Adresse 0x2D: geschrieben 00, gelesen 80"}},
    };
    ConfigImage written;
    ImageBytes bytes{};
    bytes[0x27] = 24;
    bytes[0x2C] = 48;
    bytes[0x31] = 0x10;  // zone 4 of the continuous group
    bytes[0x3C] = 25;
    FillFileImage(written, bytes, MarkFromDevice);
    for (const auto& row : rows) {
        ConfigImage back = written;
        row.change(back);
        const QStringList lines =
            DescribeDifferences(written, back, DifferingCells(written, back, WritePlan(2, false)));
        ASSERT_EQ(lines.size(), row.says.size())
            << row.name << ": " << lines.join('\n').toStdString();
        for (int i = 0; i < lines.size(); ++i)
            EXPECT_TRUE(lines[i].endsWith(row.says[i])) << lines[i].toStdString();
    }
}
