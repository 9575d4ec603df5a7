// The korbi-cli commands that talk to the LPX: the window's device jobs with a terminal host.

#include <memory>

#include "cli/configuration.h"
#include "cli/context.h"
#include "cli/interrupt.h"
#include "cli/settingsprint.h"
#include "cli/terminalhost.h"
#include "files/fileerrors.h"
#include "files/journal.h"
#include "link/codelist.h"
#include "link/devicejobs.h"
#include "link/driverfactory.h"
#include "link/linkmessages.h"
#include "link/lpxadapter.h"
#include "link/practicelpx.h"
#include "link/series.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

// The LPX of the command: with --simulate the practice LPX, else the one on --port or the one
// found by its converter's description.
std::unique_ptr<SerialDriver> CreateDriver(const CliOptions& options) {
    if (options.simulate != 0) {
        PrintError(Text(Msg::PracticeCaption) + '\n');
        return std::make_unique<PracticeLpx>(options.simulate);
    }
    return CreateSerialDriver(options.port);
}

// In practice mode nobody stands at the LPX: the host presses the button of the device in front.
TerminalHost::PressButton PracticePress(SerialDriver* driver, const CliOptions& options) {
    if (options.simulate == 0) return {};
    auto* practice = static_cast<PracticeLpx*>(driver);
    return [practice](bool identifyingForWrite) { practice->PressButton(identifyingForWrite); };
}

// The LPX, the jobs and their host for one command; the jobs work on the configuration's model.
class Session {
  public:
    Session(const CliContext& context, Configuration& configuration)
        : driver_(CreateDriver(context.options)),
          host_(configuration.messages, PracticePress(driver_.get(), context.options)),
          adapter_(driver_.get()),
          jobs_(configuration.model, adapter_, host_) {
        host_.Attach(&jobs_);
        jobs_.journalProgram = JournalProgram::Cli;
        // Practice jobs are no work on real devices and stay out of the journal.
        if (context.options.simulate == 0) {
            const JournalTarget journal = CliJournalTarget(context);
            jobs_.journalPath = journal.localPath;
            jobs_.journalServer = journal.serverUri;
        }
    }
    DeviceJobs& Jobs() { return jobs_; }

  private:
    std::unique_ptr<SerialDriver> driver_;
    TerminalHost host_;
    LpxAdapter adapter_;
    DeviceJobs jobs_;
};

// The exit status of the job that ended last; its message has been printed.
int ExitOf(const JournalEntry& job) {
    switch (job.outcome) {
        case JournalOutcome::Ok:
            return ExitDone;
        case JournalOutcome::Aborted:
            return Interrupted() ? ExitAborted : ExitFailed;
        case JournalOutcome::Failed:
            break;
    }
    // The write happened, the check that was asked for did not.
    if (job.outcome == JournalOutcome::Ok &&
        job.verifyOutcome == QString::fromUtf8(kNotVerifiedWord))
        return Interrupted() ? ExitAborted : ExitFailed;
    // The window ends some failures without a word; a terminal must not.
    if (job.messageId == 0)
        PrintError(QStringLiteral("korbi-cli: Die LPX hat nicht wie erwartet geantwortet.\n"));
    return job.messageId == Msg::LpxNotReachable ? ExitNoLpx : ExitFailed;
}

// The series' report on standard error; Ctrl+C between devices ends it.
class TerminalSeries : public SeriesHost {
  public:
    void DeviceStarting(int number, int count) override {
        const QString n = QString::number(number);
        PrintError('\n' +
                   (count > 0 ? FillText(Msg::SeriesDeviceOf, {n, QString::number(count)})
                              : FillText(Msg::SeriesDevice, {n})) +
                   '\n');
    }
    void SeriesLine(const QString& line) override { PrintError(line + '\n'); }
    bool StopRequested() override { return Interrupted(); }
};

}  // namespace

int RunRead(const CliContext& context) {
    Configuration configuration(context.applicationDataFolder);
    Session session(context, configuration);
    DeviceJobs& jobs = session.Jobs();
    const bool toFile = context.options.given & OptOutput;
    // The target is checked before anybody presses a button for a read that could not be kept,
    // and the read is saved before its journal line is written, so that the line tells whether
    // it was kept.
    QString target;
    FilePlace place;
    int saveStatus = ExitDone;
    if (toFile) {
        const int status = SaveAsTarget(context.options.output, &target, place);
        if (status != ExitDone) return status;
        jobs.journalFile = target;
        jobs.keepRead = [&]() -> int {
            QString saved;
            saveStatus = SaveConfigurationAs(configuration, target, place, &saved);
            if (saveStatus != ExitDone) return Msg::FileNotSaved;
            jobs.journalFile = saved;
            PrintError(Text(Msg::FileSaved) + ": " + saved + '\n');
            return 0;
        };
    }
    jobs.ReadDevice();
    if (saveStatus != ExitDone) return saveStatus;
    const int status = ExitOf(jobs.lastJob);
    if (status != ExitDone || toFile) return status;
    Print(context.options.given & OptJson ? SettingsJson(configuration.model, {})
                                          : SettingsText(configuration.model));
    return ExitDone;
}

int RunWrite(const CliContext& context) {
    const CliOptions& options = context.options;
    const bool repeat = options.given & OptRepeat;
    // Two devices with one radio code could no longer be told apart.
    if (repeat && (options.given & OptNewCode) && options.repeatCount != 1) {
        PrintError(
            QStringLiteral("korbi-cli: --new-code und --repeat schließen sich aus: mehrere "
                           "Geräte bekämen dieselbe Funkkennung.\n"));
        return ExitUsage;
    }
    if ((options.given & OptNewCodes) && (!repeat || (options.given & OptNewCode))) {
        PrintError(
            QStringLiteral("korbi-cli: --new-codes gilt nur mit --repeat und ohne "
                           "--new-code.\n"));
        return ExitUsage;
    }
    SeriesPlan plan;
    plan.count = options.repeatCount;
    plan.verify = options.given & OptVerify;
    plan.offlineCodes = options.given & OptOfflineCodes;
    QString error;
    // A bad list is refused before anybody presses a button.
    if ((options.given & OptNewCodes) && !LoadCodeList(options.newCodes, &plan.codes, &error)) {
        PrintError(QStringLiteral("korbi-cli: ") + error + '\n');
        return ExitUsage;
    }
    Configuration configuration(context.applicationDataFolder);
    const QString& path = options.operands[0];
    bool taken = false;
    const int opened = OpenConfiguration(configuration, path, &taken);
    if (opened != ExitDone) return opened;
    if (!taken) return ExitFailed;
    if (options.given & OptNewCode) {
        // The write's own check refuses a forbidden code; the edit's warning would say it twice.
        configuration.messages.echo = false;
        configuration.model.SetText(Field::edtRadioCodeNew, options.newCode);
        configuration.messages.echo = true;
    }

    Session session(context, configuration);
    DeviceJobs& jobs = session.Jobs();
    jobs.journalFile = path;
    if (!repeat) {
        jobs.verifyAfterWrite = plan.verify;
        jobs.WriteDevice();
        return ExitOf(jobs.lastJob);
    }
    TerminalSeries host;
    Series series(jobs, configuration.model, host, plan);
    const SeriesEnd end = series.Run();
    // Nobody was asked to press: the company's server could not say which codes are free.
    if (end == SeriesEnd::NoCodeServer && series.Devices().isEmpty()) return ExitFailed;
    PrintError(series.SummaryLine() + '\n');
    if (series.Failed() > 0)
        return series.Devices().last().messageId == Msg::LpxNotReachable ? ExitNoLpx : ExitFailed;
    if (end == SeriesEnd::CodesUsedUp) return ExitDone;
    if (end == SeriesEnd::NoCodeServer) return ExitFailed;
    if (series.Aborted() > 0 || end == SeriesEnd::Stopped ||
        (plan.count > 0 && series.Written() < plan.count))
        return ExitAborted;
    return ExitDone;
}

int RunChangeCode(const CliContext& context) {
    Configuration configuration(context.applicationDataFolder);
    Session session(context, configuration);
    DeviceJobs& jobs = session.Jobs();
    jobs.ChangeRadioCode(context.options.operands[0]);
    return ExitOf(jobs.lastJob);
}

int RunInfo(const CliContext& context) {
    const std::unique_ptr<SerialDriver> driver = CreateDriver(context.options);
    LpxAdapter adapter(driver.get());
    std::string info;
    const bool opened = adapter.Open() == 0;
    const bool answered = opened && adapter.QueryLpxInfo(info) == LpxResultOk;
    adapter.Close();
    if (!answered) {
        // A refused open says why, as the jobs do.
        const QString cause = opened ? QString() : OpenFailureCause(adapter.LastOpenFailure());
        PrintError(WithCause(Text(Msg::LpxNotReachable), cause) + '\n');
        return ExitNoLpx;
    }
    Print(QString::fromLatin1(info.c_str()) + '\n');
    return ExitDone;
}
