#include "files/programoptions.h"

#include "files/secrets.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

enum class Takes { Nothing, Value, OptionalValue };

struct OptionRow {
    const char* name;
    const char* shortName;
    OptionBit bit;
    Takes takes;
    unsigned programs;  // ProgramBits
    // Where an option's text value is kept as given; null for the options without a value or
    // with a value of their own kind (--repeat, --simulate).
    QString ProgramOptions::*text = nullptr;
};

const OptionRow kOptions[] = {
    {"--json", nullptr, OptJson, Takes::Nothing, ForCli},
    {"--output", "-o", OptOutput, Takes::Value, ForCli, &ProgramOptions::output},
    {"--new-code", nullptr, OptNewCode, Takes::Value, ForCli, &ProgramOptions::newCode},
    {"--repeat", nullptr, OptRepeat, Takes::OptionalValue, ForCli},
    {"--device", nullptr, OptDevice, Takes::Value, ForCli, &ProgramOptions::device},
    {"--since", nullptr, OptSince, Takes::Value, ForCli, &ProgramOptions::since},
    {"--until", nullptr, OptUntil, Takes::Value, ForCli, &ProgramOptions::until},
    {"--port", nullptr, OptPort, Takes::Value, ForWindow | ForCli, &ProgramOptions::port},
    {"--simulate", nullptr, OptSimulate, Takes::OptionalValue, ForWindow | ForCli},
    {"--exit-after-start", nullptr, OptExitAfterStart, Takes::Nothing, ForWindow},
    {"--verify", nullptr, OptVerify, Takes::Nothing, ForCli},
    {"--new-codes", nullptr, OptNewCodes, Takes::Value, ForCli, &ProgramOptions::newCodes},
    {"--trace", nullptr, OptTrace, Takes::Value, ForWindow | ForCli, &ProgramOptions::trace},
    {"--journal", nullptr, OptJournal, Takes::Value, ForWindow | ForCli, &ProgramOptions::journal},
    {"--csv", nullptr, OptCsv, Takes::Nothing, ForCli},
    {"--sync", nullptr, OptSync, Takes::Nothing, ForCli},
    {"--offline-codes", nullptr, OptOfflineCodes, Takes::Nothing, ForCli},
    {"--reuse-code", nullptr, OptReuseCode, Takes::Nothing, ForCli},
    {"--site", nullptr, OptSite, Takes::Value, ForCli, &ProgramOptions::site},
};

// Dashes that word processors, web pages and some keyboards put where "-" was typed or meant:
// the hyphens and dashes U+2010 to U+2015, the minus sign, and the small and full-width
// hyphen-minus.
constexpr char16_t kLookAlikeDashes[] = {0x2010, 0x2011, 0x2012, 0x2013, 0x2014,
                                         0x2015, 0x2212, 0xFE63, 0xFF0D};

// "–simulate" was meant as an option: taken for a file name it would start the program against
// the real LPX without a word.
bool StartsWithLookAlikeDash(const QString& argument) {
    if (argument.isEmpty()) return false;
    for (const char16_t dash : kLookAlikeDashes)
        if (argument.front() == QChar(dash)) return true;
    return false;
}

const OptionRow* FindOption(const QString& name, ProgramBit program) {
    for (const OptionRow& row : kOptions) {
        if (!(row.programs & program)) continue;
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

bool StoreValue(const OptionRow& row, const QString& value, bool hasValue, ProgramOptions* options,
                QString* error) {
    if (hasValue && value.isEmpty()) {
        // An empty practice generation is no generation at all.
        *error = row.bit == OptSimulate ? Text(Msg::PracticeBadOption)
                                        : FillText(Msg::OptionNeedsValue, {row.name});
        return false;
    }
    switch (row.bit) {
        case OptJournal:
            RememberSecrets(value);
            // The value may hold a password: the message names the option, never the value.
            if (!IsServerUri(value)) {
                *error = FillText(Msg::JournalBadServer, {QStringLiteral("--journal")});
                return false;
            }
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
    if (row.text) options->*row.text = value;
    return true;
}

}  // namespace

bool ParseProgramOptions(ProgramBit program, const QStringList& arguments, ProgramOptions* options,
                         QString* error) {
    bool onlyPositionals = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString argument = arguments[i];
        const bool option = argument.startsWith('-') || StartsWithLookAlikeDash(argument);
        if (onlyPositionals || argument == "-" || !option) {
            options->positionals << argument;
            continue;
        }
        if (argument == "--") {
            onlyPositionals = true;
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
        const OptionRow* row = FindOption(name, program);
        if (!row) {
            // A mistyped --journal=... may carry a password.
            *error = FillText(Msg::UnknownOption, {MaskSecrets(argument)});
            if (StartsWithLookAlikeDash(argument))
                *error += QStringLiteral(
                    " Sie beginnt mit einem typografischen Strich statt mit "
                    "dem Bindestrich \"-\".");
            return false;
        }
        if (options->given & row->bit) {
            *error = FillText(Msg::OptionTwice, {name});
            return false;
        }
        options->given |= row->bit;
        bool hasValue = equals >= 0;
        QString value = hasValue ? argument.mid(equals + 1) : QString();
        if (row->takes == Takes::Nothing && hasValue) {
            *error = FillText(Msg::OptionTakesNoValue, {name});
            return false;
        }
        if (row->takes == Takes::Value && !hasValue) {
            if (i + 1 >= arguments.size()) {
                *error = FillText(Msg::OptionNeedsValue, {name});
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

QList<OptionSpec> OptionsOf(ProgramBit program) {
    QList<OptionSpec> options;
    for (const OptionRow& row : kOptions) {
        if (!(row.programs & program)) continue;
        options.append({QString::fromLatin1(row.name), QString::fromLatin1(row.shortName), row.bit,
                        row.takes != Takes::Nothing, row.takes == Takes::OptionalValue});
    }
    return options;
}
