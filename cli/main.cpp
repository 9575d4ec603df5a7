// korbi-cli: configurations and the LPX from a terminal, on the same core as the window. The
// program and each of its modules run a call from here (cli/entry.cpp chooses which).

#include <QCoreApplication>
#include <QStandardPaths>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "cli/commands.h"
#include "cli/context.h"
#include "cli/interrupt.h"
#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/filewrite.h"
#include "files/secrets.h"
#include "files/startupsteps.h"
#include "link/trace.h"
#include "record/journalserver.h"
#include "resources/catalogue.h"
#include "resources/msg.h"
#include "version_record.h"

namespace {

// The problem, and where the user finds the right call: the command's own help when the
// command is known.
int UsageError(const QString& problem, const CommandRow* command = nullptr) {
    PrintProblem(problem);
    const QString help = command ? QStringLiteral("korbi-cli help ") + command->name
                                 : QStringLiteral("korbi-cli --help");
    PrintError(QStringLiteral("%1 zeigt die Befehle und Optionen.\n").arg(Quoted(help)));
    return ExitUsage;
}

// Whether the command reads the templates or the journal in the user's data folder. The others
// (help, completion scripts made by a package build) leave the user's home as it is.
bool UsesDataFolder(const CommandRow& command) {
    return command.operands == OperandKind::KorbiFile ||
           command.operands == OperandKind::FileAssignments ||
           (command.options & (OptJournal | OptPort));
}

// The first error that standard output gave; nothing more is written after it.
int g_outputError = 0;

// A script must not take output that never arrived for a result: a full disk or a broken
// device ends the program with a German line and a failure status. A reader that stopped
// reading (a closed pipe) wanted no more, so that stays quiet.
int WithOutputChecked(int status) {
    if (g_outputError == 0 && std::fflush(stdout) != 0) g_outputError = errno ? errno : EIO;
    if (g_outputError == 0 || g_outputError == EPIPE) return status;
    PrintProblem(FillText(Msg::OutputFailed, {FileErrorCause(g_outputError)}));
    return status == ExitDone ? ExitUsage : status;
}

}  // namespace

void Print(const QString& text) {
    PrintBytes(text.toUtf8());
}

void PrintBytes(QByteArrayView bytes) {
    // An empty view may have no data at all, which fwrite must not be handed.
    if (g_outputError != 0 || bytes.isEmpty()) return;
    errno = 0;
    const size_t size = static_cast<size_t>(bytes.size());
    if (std::fwrite(bytes.constData(), 1, size, stdout) != size || std::fflush(stdout) != 0)
        g_outputError = errno ? errno : EIO;
}

void PrintError(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

void PrintProblem(const QString& message) {
    PrintError(QStringLiteral("korbi-cli: ") + message + '\n');
}

QString Quoted(const QString& text) {
    return '\'' + text + '\'';
}

int RunCli(int argc, char** argv) {
    IgnoreFileSizeSignal();
    // A closed pipe shows as EPIPE on the write; the signal would end a job in the middle of
    // its wait, with the LPX's list still armed.
    std::signal(SIGPIPE, SIG_IGN);
    CliContext context;
    QString error;
    // File names stay the bytes they are, also where they are no UTF-8.
    const bool parsed =
        ParseCliArguments(CommandLineArguments(argc, argv), &context.options, &error);
    // Read once; from here on other users' process listings show no password of --journal.
    HideSecretsInArguments(argc, argv);
    if (!parsed) return UsageError(error);
    const CliOptions& options = context.options;
    const CommandRow* command = FindCommand(options.command);
    if (!command && !options.command.isEmpty())
        return UsageError(QStringLiteral("Unbekannter Befehl %1.").arg(Quoted(options.command)));
    if (options.help) {
        Print(command ? CommandHelp(*command) : OverallHelp());
        return WithOutputChecked(ExitDone);
    }
    if (options.version) {
        Print(QStringLiteral("korbi-cli %1\n").arg(QString::fromUtf8(KORBI_FILE_VERSION)));
        return WithOutputChecked(ExitDone);
    }
    if (!command) return UsageError(QStringLiteral("Kein Befehl angegeben."));
    const int operands = static_cast<int>(options.operands.size());
    if (operands < command->minOperands ||
        (command->maxOperands >= 0 && operands > command->maxOperands))
        return UsageError(
            QStringLiteral("Falsche Anzahl Argumente für %1.").arg(Quoted(options.command)),
            command);
    const unsigned foreign = options.given & ~command->options;
    if (foreign != 0)
        return UsageError(QStringLiteral("Der Befehl %1 kennt die Option %2 nicht.")
                              .arg(Quoted(options.command), Quoted(OptionName(foreign))),
                          command);

    context.programFolder = QCoreApplication::applicationDirPath() + '/';
    // The journal lives in the user's data folder; without it the jobs run unrecorded, said
    // once, and the journal cannot be listed. Never beside the program.
    const QString common = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    int dataFolderError = 0;
    if (UsesDataFolder(*command))
        context.applicationDataFolder = FindApplicationDataFolder(common, &dataFolderError);
    const bool needsJournal = options.command == QLatin1String("journal") ||
                              options.command == QLatin1String("report") ||
                              ((command->options & OptPort) && options.command != "info");
    if (context.applicationDataFolder.isEmpty() && needsJournal && options.simulate == 0) {
        PrintProblem(FillText(Msg::DataFolderUnusable, {ApplicationDataFolderPath(common),
                                                        FileErrorCause(dataFolderError)}));
        if (!(command->options & OptPort)) return ExitUsage;
    }
    // Ctrl+C is the abort button of the waits; elsewhere it ends the program as usual.
    if (command->options & OptPort) {
        InstallInterruptHandler();
        // Ctrl+C also ends a wait on the journal server; the line then stays in the local record.
        SetJournalServerInterrupt(InterruptDescriptor());
    }
    if (options.given & OptTrace) {
        if (!StartTrace(options.trace, &error)) {
            PrintProblem(error);
            return ExitUsage;
        }
    }
    // A trace cut off by a full disk or a file-size limit is said at once; the run then does not
    // count as done, for the trace was asked for.
    SetTraceFailureNotice([](const QString& text) { PrintError("korbi-cli: " + text + '\n'); });
    int status = command->run(context);
    StopTrace();
    if (!TraceIncompleteText().isEmpty() && status == ExitDone) status = ExitUsage;
    return WithOutputChecked(status);
}
