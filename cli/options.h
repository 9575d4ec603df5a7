#pragma once
// The command line of korbi-cli: a command, its operands and options in the usual forms
// (--name=value, --name value for the options that need a value, -o FILE, -h).

#include <QString>
#include <QStringList>

// Exit statuses, documented in --help and the manual page.
enum ExitStatus : int {
    ExitDone = 0,
    ExitFailed = 1,  // the job or a check failed; diff: the files differ
    ExitUsage = 2,   // a wrong call or a file that cannot be read or written
    ExitNoLpx = 3,
    ExitAborted = 130,
};

// Options a command accepts (bit set).
enum OptionBit : unsigned {
    OptJson = 1u << 0,
    OptOutput = 1u << 1,
    OptNewCode = 1u << 2,
    OptRepeat = 1u << 3,
    OptDevice = 1u << 4,
    OptSince = 1u << 5,
    OptPort = 1u << 6,
    OptSimulate = 1u << 7,
    OptVerify = 1u << 8,
    OptNewCodes = 1u << 9,
    OptTrace = 1u << 10,
    OptJournal = 1u << 11,
    OptCsv = 1u << 12,
    OptSync = 1u << 13,
};

struct CliOptions {
    bool help = false;
    bool version = false;
    QString command;
    QStringList operands;
    unsigned given = 0;  // OptionBits that were given
    QString port;
    QString output;
    QString newCode;
    int repeatCount = 0;  // with OptRepeat: 0 until Ctrl+C
    QString device;
    QString since;
    int simulate = 0;  // generation of the practice LPX's devices; 0 for none
    QString newCodes;  // a code range or the file of a code list
    QString trace;     // the support trace's file
    QString journal;   // the journal's server (postgresql://...)
};

// Parses arguments (argument 0 is the program). False with a German error for a wrong call.
bool ParseCliArguments(const QStringList& arguments, CliOptions* options, QString* error);

// The long name of the first option in bits, e.g. "--json".
QString OptionName(unsigned bits);

// The arguments the serial driver factory understands ("--port=PATH" when given).
QStringList DriverArguments(const CliOptions& options);
