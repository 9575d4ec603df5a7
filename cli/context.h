#pragma once
// What every korbi-cli command gets: its options, the program's folders, and the terminal.

#include <QString>

#include "cli/options.h"
#include "record/journalstore.h"

struct CliContext {
    CliOptions options;
    QString programFolder;          // with trailing "/"
    QString applicationDataFolder;  // with trailing "/": Values.ini, templates, journal
};

// The journal of the device jobs: the local record in the data folder, and the server named by
// --journal, KORBI_JOURNAL or Values.ini.
JournalTarget CliJournalTarget(const CliContext& context);

// UTF-8 text to standard output or standard error, as it stands.
void Print(const QString& text);
// The same for text that is UTF-8 already.
void PrintBytes(QByteArrayView bytes);
void PrintError(const QString& text);
// One line on standard error in korbi-cli's one voice: "korbi-cli: " before the message.
void PrintProblem(const QString& message);
// A name or value inside a message, quoted as the catalogue's texts quote them: 'name'.
QString Quoted(const QString& text);

// The command handlers; each returns an ExitStatus.
int RunShow(const CliContext& context);
int RunDiff(const CliContext& context);
int RunSet(const CliContext& context);
int RunPorts(const CliContext& context);
// The handlers of the modules' commands are only in the modules: in the program itself they
// are null.
[[gnu::weak]] int RunJournal(const CliContext& context);
[[gnu::weak]] int RunInfo(const CliContext& context);
[[gnu::weak]] int RunRead(const CliContext& context);
[[gnu::weak]] int RunWrite(const CliContext& context);
[[gnu::weak]] int RunChangeCode(const CliContext& context);
[[gnu::weak]] int RunRestore(const CliContext& context);
[[gnu::weak]] int RunReport(const CliContext& context);

struct JournalFilter;
// The journal filter that --device, --since and --until ask for; false with the German line
// printed.
bool ReadJournalFilter(const CliOptions& options, JournalFilter* filter);
int RunFields(const CliContext& context);
int RunHelp(const CliContext& context);
int RunCompletion(const CliContext& context);

struct CommandRow;
// korbi-cli --help, and the help of one command (its --help).
QString OverallHelp();
QString CommandHelp(const CommandRow& command);

// korbi-cli from its arguments to its exit status, in the program and in each module, once the
// application object is made: the report draws pages and needs Qt's graphical side (on the
// offscreen platform); every other command runs on Qt Core alone.
int RunCli(int argc, char** argv);
// What each module exports under the name KorbiCliModuleMain: makes the application object the
// module's commands need and runs korbi-cli.
using CliModuleMain = int (*)(int argc, char** argv);
