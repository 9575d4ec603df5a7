#include "cli/options.h"

bool ParseCliArguments(const QStringList& arguments, CliOptions* options, QString* error) {
    if (!ParseProgramOptions(ForCli, arguments, options, error)) return false;
    if (!options->positionals.isEmpty()) {
        options->command = options->positionals.first();
        options->operands = options->positionals.mid(1);
    }
    return true;
}
