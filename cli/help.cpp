// korbi-cli's help: the whole overview, and one command's usage, options, exit statuses and an
// example, all from the command and option tables.

#include "cli/commands.h"
#include "cli/context.h"

namespace {

constexpr int kTextColumn = 28;

// "  NAME    text" with the text's further lines under its first; a name too long for the
// column stands on a line of its own.
QString Item(const QString& name, const QString& text) {
    const QString indent(kTextColumn, ' ');
    QString item = "  " + name;
    if (item.size() > kTextColumn - 2)
        item += '\n' + indent;
    else
        item += QString(kTextColumn - item.size(), ' ');
    return item + QString(text).replace('\n', '\n' + indent) + '\n';
}

QString OptionItems(unsigned options) {
    QString text;
    for (const OptionHelp& option : OptionHelps())
        if (options & option.bit) text += Item(option.spelling, QString::fromUtf8(option.text));
    return text;
}

QString ExitItems(const std::vector<ExitMeaning>& exits) {
    QString text;
    for (const ExitMeaning& exit : exits) {
        const QString status = QString::number(exit.status);
        text += "  " + status.leftJustified(5) +
                QString::fromUtf8(exit.meaning).replace('\n', QStringLiteral("\n       ")) + '\n';
    }
    return text;
}

const char* const kAbortNote =
    "Strg+C beim Warten auf den Tastendruck bricht den Vorgang ab wie die Schaltfläche\n"
    "Abbruch im Fenster; ebenso SIGTERM und SIGHUP (das Terminal wird geschlossen).\n";

const std::vector<ExitMeaning> kAllExits = {
    {0, "erledigt (diff: die Dateien sind gleich)"},
    {1, "der Vorgang oder eine Prüfung ist fehlgeschlagen (diff: sie unterscheiden sich)"},
    {2, "falscher Aufruf oder eine Datei, die nicht gelesen oder geschrieben werden kann"},
    {3, "keine LPX erreichbar"},
    {130, "abgebrochen"},
};

}  // namespace

QString OverallHelp() {
    QString text = QStringLiteral(
        "Aufruf: korbi-cli [OPTIONEN] BEFEHL [ARGUMENTE]\n"
        "\n"
        "K-ORBI Konfigurationen und die LPX vom Terminal aus.\n"
        "\n"
        "Befehle:\n");
    unsigned allOptions = 0;
    for (const CommandRow& command : Commands()) {
        text += Item(command.usage, QString::fromUtf8(command.summary));
        allOptions |= command.options;
    }
    text +=
        QStringLiteral("\nOptionen (welcher Befehl welche kennt, sagt korbi-cli help BEFEHL):\n") +
        OptionItems(allOptions) + Item("-h, --help", "diese Hilfe; nach einem Befehl: seine") +
        Item("--version", "die Version") + '\n' + QString::fromUtf8(kAbortNote) +
        "\nRückgabewerte:\n" + ExitItems(kAllExits) +
        QStringLiteral(
            "\nHandbuch: /usr/share/doc/korbi-programmer/handbuch.html (im Fenster: "
            "Hilfe > Handbuch, F1)\n");
    return text;
}

QString CommandHelp(const CommandRow& command) {
    QString text = QStringLiteral("Aufruf: korbi-cli %1\n\n%2\n")
                       .arg(QString::fromUtf8(command.usage), QString::fromUtf8(command.summary));
    text += "\nOptionen:\n" + OptionItems(command.options) + Item("-h, --help", "diese Hilfe");
    if (command.options & OptPort) text += '\n' + QString::fromUtf8(kAbortNote);
    text += "\nRückgabewerte:\n" + ExitItems(command.exits);
    text += QStringLiteral("\nBeispiel:\n  %1\n").arg(QString::fromUtf8(command.example));
    return text;
}

int RunHelp(const CliContext& context) {
    if (context.options.operands.isEmpty()) {
        Print(OverallHelp());
        return ExitDone;
    }
    const QString& name = context.options.operands[0];
    const CommandRow* command = FindCommand(name);
    if (!command) {
        PrintProblem(QStringLiteral("Unbekannter Befehl %1.").arg(Quoted(name)));
        return ExitUsage;
    }
    Print(CommandHelp(*command));
    return ExitDone;
}
