#include "cli/options.h"

#include "files/journaldb.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

enum class Takes { Nothing, Value, OptionalValue };

struct OptionRow {
    const char* name;
    const char* shortName;
    OptionBit bit;
    Takes takes;
};

const OptionRow kOptions[] = {
    {"--json", nullptr, OptJson, Takes::Nothing},
    {"--output", "-o", OptOutput, Takes::Value},
    {"--new-code", nullptr, OptNewCode, Takes::Value},
    {"--repeat", nullptr, OptRepeat, Takes::OptionalValue},
    {"--device", nullptr, OptDevice, Takes::Value},
    {"--since", nullptr, OptSince, Takes::Value},
    {"--port", nullptr, OptPort, Takes::Value},
    {"--simulate", nullptr, OptSimulate, Takes::OptionalValue},
    {"--verify", nullptr, OptVerify, Takes::Nothing},
    {"--new-codes", nullptr, OptNewCodes, Takes::Value},
    {"--trace", nullptr, OptTrace, Takes::Value},
    {"--journal", nullptr, OptJournal, Takes::Value},
    {"--csv", nullptr, OptCsv, Takes::Nothing},
    {"--sync", nullptr, OptSync, Takes::Nothing},
};

const OptionRow* FindOption(const QString& name) {
    for (const OptionRow& row : kOptions) {
        if (name == row.name || (row.shortName && name == row.shortName)) return &row;
    }
    return nullptr;
}

bool WholeNumber(const QString& text, int minimum, int maximum, int* value) {
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    if (!ok || n < minimum || n > maximum || text.startsWith('+')) return false;
    *value = n;
    return true;
}

bool StoreValue(const OptionRow& row, const QString& value, bool hasValue, CliOptions* options,
                QString* error) {
    const QString name = QString::fromLatin1(row.name);
    if (hasValue && value.isEmpty()) {
        *error = QStringLiteral("Die Option %1 braucht einen Wert.").arg(name);
        return false;
    }
    switch (row.bit) {
        case OptOutput:
            options->output = value;
            break;
        case OptNewCode:
            options->newCode = value;
            break;
        case OptDevice:
            options->device = value;
            break;
        case OptSince:
            options->since = value;
            break;
        case OptPort:
            options->port = value;
            break;
        case OptNewCodes:
            options->newCodes = value;
            break;
        case OptTrace:
            options->trace = value;
            break;
        case OptJournal:
            // The value may hold a password: the message names the option, never the value.
            if (!IsServerUri(value)) {
                *error = FillText(Msg::JournalBadServer, {QStringLiteral("--journal")});
                return false;
            }
            options->journal = value;
            break;
        case OptRepeat:
            if (hasValue && !WholeNumber(value, 1, 1000000, &options->repeatCount)) {
                *error = QStringLiteral("--repeat erwartet eine Anzahl ab 1.");
                return false;
            }
            break;
        case OptSimulate:
            options->simulate = 2;
            if (hasValue && !WholeNumber(value, 1, 2, &options->simulate)) {
                *error = Text(Msg::PracticeBadOption);
                return false;
            }
            break;
        default:
            break;
    }
    return true;
}

}  // namespace

bool ParseCliArguments(const QStringList& arguments, CliOptions* options, QString* error) {
    bool onlyOperands = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString argument = arguments[i];
        if (onlyOperands || argument == "-" || !argument.startsWith('-')) {
            if (options->command.isEmpty())
                options->command = argument;
            else
                options->operands << argument;
            continue;
        }
        if (argument == "--") {
            onlyOperands = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options->help = true;
            continue;
        }
        if (argument == "--version") {
            options->version = true;
            continue;
        }
        const qsizetype equals = argument.indexOf('=');
        const QString name = equals < 0 ? argument : argument.left(equals);
        const OptionRow* row = FindOption(name);
        if (!row) {
            *error = QStringLiteral("Unbekannte Option %1.").arg(argument);
            return false;
        }
        if (options->given & row->bit) {
            *error = QStringLiteral("Die Option %1 ist doppelt angegeben.").arg(name);
            return false;
        }
        options->given |= row->bit;
        bool hasValue = equals >= 0;
        QString value = hasValue ? argument.mid(equals + 1) : QString();
        if (row->takes == Takes::Nothing && hasValue) {
            *error = QStringLiteral("Die Option %1 nimmt keinen Wert.").arg(name);
            return false;
        }
        if (row->takes == Takes::Value && !hasValue) {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("Die Option %1 braucht einen Wert.").arg(name);
                return false;
            }
            value = arguments[++i];
            hasValue = true;
        }
        if (!StoreValue(*row, value, hasValue, options, error)) return false;
    }
    return true;
}

QString OptionName(unsigned bits) {
    for (const OptionRow& row : kOptions) {
        if (bits & row.bit) return QString::fromLatin1(row.name);
    }
    return QString();
}

QStringList DriverArguments(const CliOptions& options) {
    if (options.port.isEmpty()) return {};
    return {QStringLiteral("--port=") + options.port};
}
