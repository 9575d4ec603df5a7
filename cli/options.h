#pragma once
// The command line of korbi-cli: a command, its operands and options in the usual forms
// (--name=value, --name value for the options that need a value, -o FILE, -h), read by the
// option table both programs share.

#include "files/programoptions.h"

// Exit statuses, documented in --help and the manual page.
enum ExitStatus : int {
    ExitDone = 0,
    ExitFailed = 1,  // the job or a check failed; diff: the files differ
    ExitUsage = 2,   // a wrong call or a file that cannot be read or written
    ExitNoLpx = 3,
    ExitAborted = 130,
};

// The command line as korbi-cli reads it: the command, its operands, and the options.
struct CliOptions : ProgramOptions {
    QString command;
    QStringList operands;
};

// Parses arguments (argument 0 is the program). False with a German error for a wrong call.
bool ParseCliArguments(const QStringList& arguments, CliOptions* options, QString* error);
