#pragma once
// The commands of korbi-cli: one row a command, walked by the dispatcher, by the help texts and
// by the completion scripts, so that none of them can name a command or option the others miss.

#include <QString>
#include <vector>

struct CliContext;

// What a command's operands are, for the completion scripts.
enum class OperandKind {
    None,
    KorbiFile,        // configuration files
    FileAssignments,  // a configuration file, then NAME=VALUE settings
    CommandName,      // help: a command
    Shell,            // completion: bash, zsh or fish
    Other,            // a code or a new code: nothing to offer
};

// What an option's value is, for the completion scripts.
enum class ValueKind { None, File, KorbiFile, Device, Generation };

struct ExitMeaning {
    int status;
    const char* meaning;
};

struct CommandRow {
    const char* name;
    const char* usage;    // after "korbi-cli "
    const char* summary;  // what it does; lines of at most 60 characters
    const char* example;  // a whole call
    std::vector<ExitMeaning> exits;
    int minOperands;
    int maxOperands;   // -1: no limit
    unsigned options;  // OptionBits
    OperandKind operands;
    int (*run)(const CliContext&);  // null where the command lives in a module
    // The module that holds the command (beside the program, or in the package's library
    // folder), opened only for it; null for a command of the program itself.
    const char* module = nullptr;
};

// The modules: the device jobs and the record need Qt SQL, the report also Qt's graphical side,
// which every other command would otherwise load at its start.
constexpr const char* kRecordModule = "korbi-cli-record.so";
constexpr const char* kReportModule = "korbi-cli-report.so";

// What an option means; its name and value come from the option table both programs share.
struct OptionHelp {
    unsigned bit;
    const char* spelling;  // "--port=PFAD", "-o, --output=DATEI"
    const char* text;      // lines of at most 50 characters
    ValueKind value;
};

const std::vector<CommandRow>& Commands();
const CommandRow* FindCommand(const QString& name);
const std::vector<OptionHelp>& OptionHelps();
const OptionHelp* FindOptionHelp(unsigned bit);
