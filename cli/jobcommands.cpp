// The korbi-cli commands that talk to the LPX: the window's device jobs with a terminal host.

#include <memory>

#include "cli/configuration.h"
#include "cli/context.h"
#include "cli/interrupt.h"
#include "cli/settingsprint.h"
#include "cli/terminalhost.h"
#include "files/journal.h"
#include "link/devicejobs.h"
#include "link/driverfactory.h"
#include "link/lpxadapter.h"
#include "link/practicelpx.h"
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
    return CreateSerialDriver(DriverArguments(options));
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
    // The window ends some failures without a word; a terminal must not.
    if (job.messageId == 0)
        PrintError(QStringLiteral("korbi-cli: Die LPX hat nicht wie erwartet geantwortet.\n"));
    return job.messageId == Msg::LpxNotReachable ? ExitNoLpx : ExitFailed;
}

// Failures after which the next device would fail alike: the LPX or the settings.
bool EndsTheSeries(const JournalEntry& job) {
    if (job.outcome != JournalOutcome::Failed) return false;
    for (const int id :
         {int(Msg::LpxNotReachable), int(Msg::LpxFirmwareTooOld), int(Msg::ForbiddenCode),
          int(Msg::CodeInBothGroups), int(Msg::ZoneInBothGroups), int(Msg::CodeNotFourHexDigits)}) {
        if (job.messageId == id) return true;
    }
    return job.codeBefore.isEmpty();
}

}  // namespace

int RunRead(const CliContext& context) {
    Configuration configuration(context.applicationDataFolder);
    Session session(context, configuration);
    DeviceJobs& jobs = session.Jobs();
    // The name is checked before anybody presses a button for a read that could not be kept.
    QString target;
    if (context.options.given & OptOutput) {
        const int status = SaveAsTarget(context.options.output, &target);
        if (status != ExitDone) return status;
        jobs.journalFile = target;
    }
    jobs.ReadDevice();
    const int status = ExitOf(jobs.lastJob);
    if (status != ExitDone) return status;
    if (!(context.options.given & OptOutput)) {
        Print(context.options.given & OptJson ? SettingsJson(configuration.model, {})
                                              : SettingsText(configuration.model));
        return ExitDone;
    }
    const int saved = SaveConfigurationAs(configuration, target);
    if (saved == ExitDone) PrintError(Text(Msg::FileSaved) + ": " + target + '\n');
    return saved;
}

int RunWrite(const CliContext& context) {
    const CliOptions& options = context.options;
    // Two devices with one radio code could no longer be told apart.
    if ((options.given & OptRepeat) && (options.given & OptNewCode) && options.repeatCount != 1) {
        PrintError(
            QStringLiteral("korbi-cli: --new-code und --repeat schließen sich aus: mehrere "
                           "Geräte bekämen dieselbe Funkkennung.\n"));
        return ExitUsage;
    }
    Configuration configuration(context.applicationDataFolder);
    const QString& path = options.operands[0];
    bool taken = false;
    const int opened = OpenConfiguration(configuration, path, &taken);
    if (opened != ExitDone) return opened;
    if (!taken) return ExitFailed;
    if (options.given & OptNewCode)
        configuration.model.SetText(Field::edtRadioCodeNew, options.newCode);

    Session session(context, configuration);
    DeviceJobs& jobs = session.Jobs();
    jobs.journalFile = path;
    const bool repeat = options.given & OptRepeat;
    int written = 0, failed = 0, aborted = 0, status = ExitDone;
    for (;;) {
        if (repeat) PrintError(QStringLiteral("\nGerät %1\n").arg(written + failed + aborted + 1));
        jobs.WriteDevice();
        const JournalEntry& job = jobs.lastJob;
        status = ExitOf(job);
        // Waiting for the next device and stopping there is how an open series ends.
        const bool nobodyCame = repeat && Interrupted() && job.codeBefore.isEmpty();
        if (job.outcome == JournalOutcome::Ok)
            ++written;
        else if (job.outcome == JournalOutcome::Aborted && !nobodyCame)
            ++aborted;
        else if (job.outcome == JournalOutcome::Failed)
            ++failed;
        if (!repeat || Interrupted() || EndsTheSeries(job)) break;
        if (options.repeatCount > 0 && written >= options.repeatCount) break;
    }
    if (!repeat) return status;
    PrintError(QStringLiteral("Geschrieben: %1, fehlgeschlagen: %2, abgebrochen: %3\n")
                   .arg(written)
                   .arg(failed)
                   .arg(aborted));
    if (failed > 0) return status == ExitNoLpx ? ExitNoLpx : ExitFailed;
    if (aborted > 0 || (options.repeatCount > 0 && written < options.repeatCount))
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
    const bool answered = adapter.Open() == 0 && adapter.QueryLpxInfo(info) == LpxResultOk;
    adapter.Close();
    if (!answered) {
        PrintError(Text(Msg::LpxNotReachable) + '\n');
        return ExitNoLpx;
    }
    Print(QString::fromLatin1(info.c_str()) + '\n');
    return ExitDone;
}
