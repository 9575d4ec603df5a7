// The korbi-cli commands that talk to the LPX: the window's device jobs with a terminal host.

#include <memory>

#include "cli/configuration.h"
#include "cli/context.h"
#include "cli/interrupt.h"
#include "cli/settingsprint.h"
#include "cli/terminalhost.h"
#include "files/fileerrors.h"
#include "jobs/devicejobs.h"
#include "jobs/jobview.h"
#include "jobs/series.h"
#include "link/codelist.h"
#include "link/driverfactory.h"
#include "link/linkmessages.h"
#include "link/lpxadapter.h"
#include "link/practicelpx.h"
#include "record/journal.h"
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

// The LPX, the jobs and their host for one command; a read is shown in the configuration's
// model. The jobs run on the main thread; SIGINT, SIGTERM and SIGHUP abort them.
class Session {
  public:
    Session(const CliContext& context, Configuration& configuration)
        : driver_(CreateDriver(context.options)),
          host_(configuration, PracticePress(driver_.get(), context.options)),
          adapter_(driver_.get()),
          jobs_(adapter_, host_) {
        JobRecord record;
        record.program = JournalProgram::Cli;
        record.site = context.options.site.simplified();
        // Practice jobs are no work on real devices and stay out of the journal.
        if (context.options.simulate == 0) {
            const JournalTarget journal = CliJournalTarget(context);
            record.path = journal.localPath;
            record.server = journal.serverUri;
        }
        jobs_.SetRecord(record);
        // Giving a code again is real work (a replaced device) that the call must ask for.
        jobs_.SetCodeReuse(context.options.given & OptReuseCode ? CodeReuse::Allowed
                                                                : CodeReuse::Refused);
    }
    DeviceJobs& Jobs() { return jobs_; }
    TerminalHost& Host() { return host_; }

  private:
    std::unique_ptr<SerialDriver> driver_;
    TerminalHost host_;
    LpxAdapter adapter_;
    DeviceJobs jobs_;
};

// The exit status of a job whose messages have been printed.
int ExitOf(const JobOutcome& job) {
    switch (job.end) {
        case JobEnd::Done:
            // The write happened, the check that was asked for did not.
            if (job.check == CheckState::NotDone) return Interrupted() ? ExitAborted : ExitFailed;
            return ExitDone;
        case JobEnd::Aborted:
            return Interrupted() ? ExitAborted : ExitFailed;
        case JobEnd::Failed:
        case JobEnd::Refused:
            break;
    }
    // The window ends some failures without a word; a terminal must not.
    if (job.failure.messageId == 0)
        PrintError(QStringLiteral("korbi-cli: Die LPX hat nicht wie erwartet geantwortet.\n"));
    return job.failure.kind == FailureKind::NoLpx ? ExitNoLpx : ExitFailed;
}

// A series that did not write every device it was asked for ends with the exit status of its
// last device; one whose check Ctrl+C ended, with Ctrl+C's.
int ExitOfSeries(const Series& series, SeriesEnd end, const SeriesPlan& plan) {
    if (series.Failed() > 0) {
        const JobOutcome& last = series.Devices().last().outcome;
        if (last.end == JobEnd::Done) return ExitOf(last) == ExitAborted ? ExitAborted : ExitFailed;
        return last.end == JobEnd::Failed && last.failure.kind == FailureKind::NoLpx ? ExitNoLpx
                                                                                     : ExitFailed;
    }
    if (end == SeriesEnd::CodesUsedUp) return ExitDone;
    if (end == SeriesEnd::NoCodeServer) return ExitFailed;
    if (series.Aborted() > 0 || end == SeriesEnd::Stopped ||
        (plan.count > 0 && series.Written() < plan.count))
        return ExitAborted;
    return ExitDone;
}

// The series' report on standard error; Ctrl+C between devices ends it.
class TerminalSeries : public SeriesHost {
  public:
    // rooms: the rooms of the codes of the series' list.
    explicit TerminalSeries(CodeRooms rooms) : rooms_(std::move(rooms)) {}
    void DeviceStarting(int number, int count, const QString& code) override {
        const QString n = QString::number(number);
        // The room tells which button the device with this code belongs on.
        const QString room = rooms_.value(code.toUpper());
        PrintError('\n' +
                   (count > 0 ? FillText(Msg::SeriesDeviceOf, {n, QString::number(count)})
                              : FillText(Msg::SeriesDevice, {n})) +
                   (room.isEmpty() ? QString() : ", " + FillText(Msg::SeriesRoom, {room})) + '\n');
    }
    void SeriesLine(const QString& line) override { PrintError(line + '\n'); }
    bool StopRequested() override { return Interrupted(); }

  private:
    const CodeRooms rooms_;
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
    ReadRequest request;
    if (toFile) {
        const int status = SaveAsTarget(context.options.output, &target, place);
        if (status != ExitDone) return status;
        request.file = target;
        request.keep = [&](QString& file) -> int {
            QString saved;
            saveStatus = SaveConfigurationAs(configuration, target, place, &saved);
            if (saveStatus != ExitDone) return Msg::FileNotSaved;
            file = saved;
            PrintError(Text(Msg::FileSaved) + ": " + saved + '\n');
            return 0;
        };
    }
    const JobOutcome outcome = jobs.Read(request);
    if (saveStatus != ExitDone) return saveStatus;
    const int status = ExitOf(outcome);
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
    if ((options.given & OptNewCodes) &&
        !LoadCodeList(options.newCodes, &plan.codes, &error, &plan.rooms)) {
        PrintError(QStringLiteral("korbi-cli: ") + error + '\n');
        return ExitUsage;
    }
    Configuration configuration(context.applicationDataFolder);
    const QString& path = options.operands[0];
    bool taken = false;
    const int opened = OpenConfiguration(configuration, path, &taken);
    if (opened != ExitDone) return opened;
    if (!taken) return ExitFailed;
    // Said before the first press, as the window does; the call is the answer to its question,
    // and a series that ends with the list ends as one whose list is used up.
    if (plan.count > plan.codes.size() && !plan.codes.isEmpty())
        configuration.messages.ShowMessage(
            BoxKind::Confirmation, Msg::SeriesListShorterThanCount,
            FillText(Msg::SeriesListShorterThanCount,
                     {QString::number(plan.codes.size()), QString::number(plan.count)}),
            BoxButtons::YesNo);
    WriteRequest request = WriteRequestOf(configuration.model);
    // The write's own check refuses a forbidden code.
    if (options.given & OptNewCode) SetNewCode(request, options.newCode);

    Session session(context, configuration);
    DeviceJobs& jobs = session.Jobs();
    session.Host().SetWriting(true);
    if (!repeat) {
        request.file = path;
        request.verify = plan.verify;
        return ExitOf(jobs.Write(request));
    }
    plan.newCode = request.newCode;
    TerminalSeries host(plan.rooms);
    Series series(jobs, host, plan, request);
    const SeriesEnd end = series.Run(path);
    // Nobody was asked to press: the company's server could not say which codes are free.
    if (end == SeriesEnd::NoCodeServer && series.Devices().isEmpty()) return ExitFailed;
    PrintError(series.SummaryLine() + '\n');
    return ExitOfSeries(series, end, plan);
}

int RunChangeCode(const CliContext& context) {
    Configuration configuration(context.applicationDataFolder);
    Session session(context, configuration);
    CodeChangeRequest request;
    request.code = context.options.operands[0];
    return ExitOf(session.Jobs().ChangeCode(request));
}

int RunInfo(const CliContext& context) {
    const std::unique_ptr<SerialDriver> driver = CreateDriver(context.options);
    LpxAdapter adapter(driver.get());
    std::string info;
    const bool opened = adapter.Open() == LpxResultOk;
    const bool answered = opened && adapter.QueryLpxInfo(info) == LpxResultOk;
    adapter.Close();
    if (!answered) {
        // A refused open says why, as the jobs do.
        const QString cause = opened ? QString() : OpenFailureCause(adapter.LastOpenFailure());
        PrintProblem(WithCause(Text(Msg::LpxNotReachable), cause));
        return ExitNoLpx;
    }
    Print(QString::fromLatin1(info.c_str()) + '\n');
    return ExitDone;
}
