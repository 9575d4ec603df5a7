#pragma once
// The command line of both programs, korbi-programmer and korbi-cli, read by one table: every
// option's name, whether it takes a value, and which program knows it. An option a program does
// not know is refused before anything else happens, so that a mistyped --simulate never reaches
// a real LPX. A new option is one row in programoptions.cpp, a bit here and, when it carries a
// value, a member of ProgramOptions.

#include <QString>
#include <QStringList>

// The programs an option belongs to (bit set).
enum ProgramBit : unsigned {
    ForWindow = 1u << 0,
    ForCli = 1u << 1,
};

// Options (bit set).
enum OptionBit : unsigned {
    OptJson = 1u << 0,
    OptOutput = 1u << 1,
    OptNewCode = 1u << 2,
    OptRepeat = 1u << 3,
    OptDevice = 1u << 4,
    OptSince = 1u << 5,
    OptPort = 1u << 6,
    OptSimulate = 1u << 7,
    OptExitAfterStart = 1u << 8,
    OptVerify = 1u << 9,
    OptNewCodes = 1u << 10,
    OptTrace = 1u << 11,
    OptJournal = 1u << 12,
    OptCsv = 1u << 13,
    OptSync = 1u << 14,
    OptUntil = 1u << 15,
    OptOfflineCodes = 1u << 16,
    OptReuseCode = 1u << 17,
    OptSite = 1u << 18,
};

struct ProgramOptions {
    bool help = false;
    bool version = false;
    // The arguments that are no options, in order (korbi-cli: the command and its operands;
    // the window: folders and files).
    QStringList positionals;
    unsigned given = 0;  // OptionBits that were given
    QString port;
    QString output;
    QString newCode;
    int repeatCount = 0;  // with OptRepeat: 0 until Ctrl+C
    QString device;
    QString since;
    QString until;
    int simulate = 0;  // generation of the practice LPX's devices; 0 for none
    QString newCodes;  // a code range or the file of a code list
    QString trace;     // the support trace's file
    QString journal;   // the journal's server (postgresql://...)
    QString site;      // the customer's site the jobs are done for, or a report is made of
};

// Reads arguments (argument 0 is the program) for the program: options as --name=value,
// --name value for those that need a value, short names (-o, -h), "--" before positionals that
// start with "-". An argument that starts with a look-alike dash (–, —, −) counts as an option,
// so "–simulate" is refused rather than taken for a file. False with a German error for an
// option the program does not know, a value missing, surplus or wrong, or an option given twice.
bool ParseProgramOptions(ProgramBit program, const QStringList& arguments, ProgramOptions* options,
                         QString* error);

// The long name of the first option in bits, e.g. "--json".
QString OptionName(unsigned bits);

// An option as the table holds it, for help texts and completion scripts.
struct OptionSpec {
    QString name;       // "--output"
    QString shortName;  // "-o"; empty when there is none
    unsigned bit;       // its OptionBit
    bool takesValue;
    bool valueOptional;  // --repeat, --simulate: the value may be left out
};
// The options that the program knows, in the table's order (--help and --version aside).
QList<OptionSpec> OptionsOf(ProgramBit program);
