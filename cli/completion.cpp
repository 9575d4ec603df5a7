// korbi-cli completion SHELL: the completion script of bash, zsh or fish, made from the
// command table, the option table both programs share and the setting names, so that a new
// command, option or setting reaches every shell without a hand-kept list.

#include "cli/commands.h"
#include "cli/context.h"
#include "config/settingstable.h"
#include "files/programoptions.h"

namespace {

// The options of a command with what the help says of them.
struct CommandOption {
    OptionSpec row;
    const OptionHelp* help;
};

QList<CommandOption> OptionsOfCommand(const CommandRow& command) {
    QList<CommandOption> options;
    for (const OptionSpec& row : OptionsOf(ForCli))
        if (command.options & row.bit) options.append({row, FindOptionHelp(row.bit)});
    return options;
}

ValueKind ValueOf(const CommandOption& option) {
    return option.help ? option.help->value : ValueKind::None;
}

// A help text's first clause on one line, for the shells that show a description beside a name.
QString Description(const char* text) {
    const QString whole = QString::fromUtf8(text).replace('\n', ' ');
    QString clause = whole.left(whole.indexOf(QLatin1String("; ")));
    // A clause cut inside a bracket ends before the bracket.
    if (clause.count('(') > clause.count(')')) clause = clause.left(clause.lastIndexOf('('));
    return clause.trimmed();
}

QString SingleQuoted(QString text) {
    return '\'' + text.replace('\'', QStringLiteral("'\\''")) + '\'';
}

QStringList CommandNames() {
    QStringList names;
    for (const CommandRow& command : Commands()) names << command.name;
    return names;
}

QStringList SettingNames() {
    QStringList names;
    for (int i = 0; i < kFieldCount; ++i) {
        const SettingRow& setting = SettingOf(Field(i));
        if (setting.access == SettingAccess::Editable) names << setting.name;
    }
    return names;
}

const char* const kShells = "bash zsh fish";

// ---- bash ----

QString BashScript() {
    QString valueCases, equalsCases, optionCases;
    QStringList fileOptions, korbiOptions;
    for (const OptionSpec& row : OptionsOf(ForCli)) {
        const OptionHelp* help = FindOptionHelp(row.bit);
        const ValueKind kind = help ? help->value : ValueKind::None;
        QStringList names{row.name};
        if (!row.shortName.isEmpty()) names << row.shortName;
        if (kind == ValueKind::KorbiFile) korbiOptions << names;
        if (kind == ValueKind::File || kind == ValueKind::Device) fileOptions << names;
        if (kind == ValueKind::Generation)
            valueCases += QStringLiteral(
                              "        %1) if $split; then COMPREPLY=($(compgen -W "
                              "\"1 2\" -- \"$cur\")); return; fi ;;\n")
                              .arg(row.name);
    }
    if (!fileOptions.isEmpty())
        valueCases += "        " + fileOptions.join('|') + ") _filedir; return ;;\n";
    if (!korbiOptions.isEmpty())
        valueCases += "        " + korbiOptions.join('|') + ") _filedir Korbi; return ;;\n";
    for (const CommandRow& command : Commands()) {
        QStringList words;
        for (const CommandOption& option : OptionsOfCommand(command)) {
            const QString name = option.row.name;
            if (!option.row.shortName.isEmpty()) words << option.row.shortName;
            if (!option.row.takesValue || option.row.valueOptional) words << name;
            if (option.row.takesValue) words << name + '=';
        }
        optionCases +=
            QStringLiteral("        %1) options=\"%2\" ;;\n").arg(command.name, words.join(' '));
    }
    QString operandCases;
    for (const CommandRow& command : Commands()) {
        QString action;
        switch (command.operands) {
            case OperandKind::KorbiFile:
                action = QStringLiteral("_filedir Korbi");
                break;
            case OperandKind::FileAssignments:
                action = QStringLiteral(
                    "if ((operand == 0)); then _filedir Korbi; else\n"
                    "                COMPREPLY=($(compgen -S = -W \"$settings\" -- \"$cur\"))\n"
                    "                compopt -o nospace; fi");
                break;
            case OperandKind::CommandName:
                action = QStringLiteral("COMPREPLY=($(compgen -W \"$commands\" -- \"$cur\"))");
                break;
            case OperandKind::Shell:
                action =
                    QStringLiteral("COMPREPLY=($(compgen -W \"%1\" -- \"$cur\"))").arg(kShells);
                break;
            case OperandKind::None:
            case OperandKind::Other:
                continue;
        }
        operandCases += QStringLiteral("        %1) %2 ;;\n").arg(command.name, action);
    }
    return QStringLiteral(
               "# bash completion for korbi-cli, made by \"korbi-cli completion bash\": commands, "
               "their\n"
               "# options, .Korbi files where a file is due, setting names in set.\n"
               "\n"
               "_korbi_cli() {\n"
               "    local cur prev words cword split\n"
               "    _init_completion -s || return\n"
               "\n"
               "    local commands=\"%1\"\n"
               "    local settings=\"%2\"\n"
               "    local command=\"\" operand=-1 i\n"
               "    for ((i = 1; i < cword; i++)); do\n"
               "        case \"${words[i]}\" in\n"
               "            -*) ;;\n"
               "            *) if [[ $command ]]; then operand=$((operand + 1)); else\n"
               "                   command=\"${words[i]}\"; operand=0; fi ;;\n"
               "        esac\n"
               "    done\n"
               "\n"
               "    case \"$prev\" in\n"
               "%3"
               "    esac\n"
               "    $split && return\n"
               "\n"
               "    local options=\"--help --version\"\n"
               "    case \"$command\" in\n"
               "%4"
               "    esac\n"
               "    if [[ \"$cur\" == -* ]]; then\n"
               "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
               "        [[ \"${COMPREPLY[*]}\" == *= ]] && compopt -o nospace\n"
               "        return\n"
               "    fi\n"
               "    case \"$command\" in\n"
               "        \"\") COMPREPLY=($(compgen -W \"$commands\" -- \"$cur\")) ;;\n"
               "%5"
               "    esac\n"
               "}\n"
               "complete -F _korbi_cli korbi-cli\n")
        .arg(CommandNames().join(' '), SettingNames().join(' '), valueCases, optionCases,
             operandCases);
}

// ---- zsh ----

QString ZshEscaped(QString text) {
    text.replace('\\', QStringLiteral("\\\\"));
    text.replace('[', QStringLiteral("\\["));
    text.replace(']', QStringLiteral("\\]"));
    text.replace(':', QStringLiteral("\\:"));
    return text;
}

QString ZshValueAction(ValueKind kind) {
    switch (kind) {
        case ValueKind::File:
        case ValueKind::Device:
            return QStringLiteral("_files");
        case ValueKind::KorbiFile:
            return QStringLiteral("_files -g \"*.(#i)korbi(-.)\"");
        case ValueKind::Generation:
            return QStringLiteral("(1 2)");
        case ValueKind::None:
            break;
    }
    return QStringLiteral(" ");
}

QString ZshOptionSpecs(const CommandRow& command) {
    QStringList argumentSpecs;
    for (const CommandOption& option : OptionsOfCommand(command)) {
        const QString description =
            ZshEscaped(option.help ? Description(option.help->text) : QString());
        const QString value = option.row.takesValue ? ':' + ZshEscaped(option.row.name.mid(2)) +
                                                          ':' + ZshValueAction(ValueOf(option))
                                                    : QString();
        const QString suffix = !option.row.takesValue     ? QString()
                               : option.row.valueOptional ? QStringLiteral("=-")
                                                          : QStringLiteral("=");
        argumentSpecs << SingleQuoted(option.row.name + suffix + '[' + description + ']' + value);
        if (!option.row.shortName.isEmpty())
            argumentSpecs << SingleQuoted(option.row.shortName + "+[" + description + ']' + value);
    }
    argumentSpecs << SingleQuoted("(- *)--help[diese Hilfe]");
    switch (command.operands) {
        case OperandKind::KorbiFile:
            argumentSpecs << SingleQuoted("*:Datei:" + ZshValueAction(ValueKind::KorbiFile));
            break;
        case OperandKind::FileAssignments:
            argumentSpecs << SingleQuoted("1:Datei:" + ZshValueAction(ValueKind::KorbiFile))
                          << SingleQuoted("*:Einstellung:_korbi_cli_settings");
            break;
        case OperandKind::CommandName:
            argumentSpecs << SingleQuoted("1:Befehl:_korbi_cli_commands");
            break;
        case OperandKind::Shell:
            argumentSpecs << SingleQuoted(QStringLiteral("1:Shell:(%1)").arg(kShells));
            break;
        case OperandKind::None:
        case OperandKind::Other:
            break;
    }
    return argumentSpecs.join(QStringLiteral(" \\\n                "));
}

QString ZshScript() {
    QString commandList, commandCases;
    for (const CommandRow& command : Commands()) {
        commandList += "        " +
                       SingleQuoted(QString::fromLatin1(command.name) + ':' +
                                    Description(command.summary).replace(':', "\\:")) +
                       '\n';
        commandCases += QStringLiteral("        %1)\n            _arguments -s %2 ;;\n")
                            .arg(command.name, ZshOptionSpecs(command));
    }
    return QStringLiteral(
               "#compdef korbi-cli\n"
               "# zsh completion for korbi-cli, made by \"korbi-cli completion zsh\".\n"
               "\n"
               "_korbi_cli_commands() {\n"
               "    local -a commands\n"
               "    commands=(\n"
               "%1"
               "    )\n"
               "    _describe -t commands Befehl commands\n"
               "}\n"
               "\n"
               "_korbi_cli_settings() {\n"
               "    local -a settings\n"
               "    settings=(%2)\n"
               "    compadd -S = -q -a settings\n"
               "}\n"
               "\n"
               "_korbi-cli() {\n"
               "    local curcontext=\"$curcontext\" state line\n"
               "    _arguments -C '(- *)'{-h,--help}'[die Hilfe]' '(- *)--version[die Version]' "
               "\\\n"
               "        '1:Befehl:_korbi_cli_commands' '*::Argument:->arguments'\n"
               "    [[ $state == arguments ]] || return\n"
               "    curcontext=\"${curcontext%:*:*}:korbi-cli-$words[1]:\"\n"
               "    case $words[1] in\n"
               "%3"
               "    esac\n"
               "}\n"
               "\n"
               "_korbi-cli \"$@\"\n")
        .arg(commandList, SettingNames().join(' '), commandCases);
}

// ---- fish ----

QString FishScript() {
    const QString commands = CommandNames().join(' ');
    QString text = QStringLiteral(
                       "# fish completion for korbi-cli, made by \"korbi-cli completion fish\".\n"
                       "\n"
                       "complete -c korbi-cli -f\n"
                       "complete -c korbi-cli -s h -l help -d 'die Hilfe'\n"
                       "complete -c korbi-cli -n 'not __fish_seen_subcommand_from %1' -l version "
                       "-d 'die Version'\n")
                       .arg(commands);
    for (const CommandRow& command : Commands())
        text += QStringLiteral(
                    "complete -c korbi-cli -n 'not __fish_seen_subcommand_from %1' -a "
                    "%2 -d %3\n")
                    .arg(commands, command.name, SingleQuoted(Description(command.summary)));
    const QString korbiFiles = QStringLiteral("-k -a '(__fish_complete_suffix .Korbi)'");
    for (const CommandRow& command : Commands()) {
        const QString when =
            QStringLiteral("complete -c korbi-cli -n '__fish_seen_subcommand_from %1'")
                .arg(command.name);
        for (const CommandOption& option : OptionsOfCommand(command)) {
            QString line = when + " -l " + option.row.name.mid(2);
            if (!option.row.shortName.isEmpty()) line += " -s " + option.row.shortName.mid(1);
            switch (ValueOf(option)) {
                case ValueKind::File:
                case ValueKind::Device:
                    line += QStringLiteral(" -r -F");
                    break;
                case ValueKind::KorbiFile:
                    line += " -r " + korbiFiles;
                    break;
                case ValueKind::Generation:
                    line += QStringLiteral(" -a '1 2'");
                    break;
                case ValueKind::None:
                    if (option.row.takesValue && !option.row.valueOptional) line += " -x";
                    break;
            }
            if (option.help) line += " -d " + SingleQuoted(Description(option.help->text));
            text += line + '\n';
        }
        switch (command.operands) {
            case OperandKind::KorbiFile:
            case OperandKind::FileAssignments:
                text += when + ' ' + korbiFiles + '\n';
                break;
            case OperandKind::CommandName:
                text += when + QStringLiteral(" -a '%1'\n").arg(commands);
                break;
            case OperandKind::Shell:
                text += when + QStringLiteral(" -a '%1'\n").arg(kShells);
                break;
            case OperandKind::None:
            case OperandKind::Other:
                break;
        }
        if (command.operands == OperandKind::FileAssignments)
            text += when + QStringLiteral(" -a '%1'\n").arg(SettingNames().join("= ") + '=');
    }
    return text;
}

}  // namespace

int RunCompletion(const CliContext& context) {
    const QString& shell = context.options.operands[0];
    if (shell == QLatin1String("bash"))
        Print(BashScript());
    else if (shell == QLatin1String("zsh"))
        Print(ZshScript());
    else if (shell == QLatin1String("fish"))
        Print(FishScript());
    else {
        PrintProblem(QStringLiteral("Für die Shell %1 gibt es kein Skript (bash, zsh, fish).")
                         .arg(Quoted(shell)));
        return ExitUsage;
    }
    return ExitDone;
}
