// Every byte the PC sends to the LPX, job by job, compared with traces kept under traces/: a
// change of how the jobs run inside the program must leave the wire as it was. The device's
// button is pressed as soon as each wait begins, so every wait takes one status poll.
// KORBI_RECORD_TRACES=1 writes the traces anew (and fails, so that nobody mistakes it for a
// comparison).

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "jobs/devicejobs.h"
#include "link/lpxsim.h"
#include "link/simdriver.h"
#include "pressing_host.h"
#include "support/scripted_prompts.h"

namespace {

// One frame a line; control bytes as <02>.
QString Printable(const std::string& bytes) {
    QString text;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F)
            text += QChar(c);
        else
            text += QString::asprintf("<%02X>", c);
        if (c == 0x03) text += '\n';
    }
    return text;
}

struct Scene {
    const char* name;
    std::function<void(PressingHost&, SettingsModel&, ScriptedPrompts&)> run;
};

void Write(PressingHost& jobs, SettingsModel& settings, bool verify, const QString& newCode) {
    settings.SetText(Field::newRadioCode, newCode);
    WriteRequest request;
    request.verify = verify;
    jobs.Write(request);
}

}  // namespace

TEST(WireTraces, EveryJobSendsTheBytesItAlwaysSent) {
    const Scene scenes[] = {
        {"identify", [](PressingHost& jobs, SettingsModel&, ScriptedPrompts&) { jobs.Identify(); }},
        {"read", [](PressingHost& jobs, SettingsModel&, ScriptedPrompts&) { jobs.Read(); }},
        {"write",
         [](PressingHost& jobs, SettingsModel& s, ScriptedPrompts&) { Write(jobs, s, false, {}); }},
        {"checkedwrite",
         [](PressingHost& jobs, SettingsModel& s, ScriptedPrompts&) { Write(jobs, s, true, {}); }},
        {"write-newcode",
         [](PressingHost& jobs, SettingsModel& s, ScriptedPrompts& p) {
             p.answers = {BoxAnswer::Yes};
             Write(jobs, s, true, "1A2B");
         }},
        {"codechange",
         [](PressingHost& jobs, SettingsModel&, ScriptedPrompts& p) {
             p.answers = {BoxAnswer::Yes};
             jobs.ChangeCode("1a2b");
         }},
    };
    const bool record = qEnvironmentVariableIntValue("KORBI_RECORD_TRACES") == 1;
    const QDir folder(QStringLiteral(KORBI_TRACE_DIR));
    auto compare = [&](const QString& name, const std::string& written) {
        QFile file(folder.filePath(name + ".trace"));
        if (record) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(Printable(written).toLatin1());
            ADD_FAILURE() << "recorded " << name.toStdString();
            return;
        }
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(Printable(written).toStdString(), file.readAll().toStdString())
            << name.toStdString();
    };
    for (const Scene& scene : scenes) {
        for (const uint8_t firmware : {uint8_t(0x1A), uint8_t(0x21)}) {
            LpxSim sim;
            sim.AddDevice(0x4C2D, firmware);
            SimDriver driver(sim);
            ScriptedPrompts prompts;
            SettingsModel settings(&prompts);
            LpxAdapter adapter(&driver);
            PressingHost host(sim, prompts);
            DeviceJobs jobs(adapter, host);
            host.jobs = &jobs;
            host.view = &settings;
            ShowDeviceSettings(sim, 0, settings);
            scene.run(host, settings, prompts);
            compare(QString::fromLatin1(scene.name) + (firmware == 0x1A ? "-v1" : "-v2"),
                    driver.Written());
        }
    }
    LpxSim sim;
    SimDriver driver(sim);
    LpxAdapter adapter(&driver);
    ScriptedPrompts prompts;
    PressingHost host(sim, prompts);
    DeviceJobs jobs(adapter, host);
    EXPECT_EQ(jobs.LpxInfoLine(), "LPX info: 15-1 LPX V1");
    compare("lpxinfo", driver.Written());
}
