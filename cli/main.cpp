// korbi-cli: configurations and the LPX from a terminal, on the same core as the window.

#include <QCoreApplication>
#include <QStandardPaths>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "cli/context.h"
#include "cli/interrupt.h"
#include "files/fileerrors.h"
#include "files/filewrite.h"
#include "files/journalserver.h"
#include "files/startupsteps.h"
#include "link/trace.h"
#include "resources/catalogue.h"
#include "resources/msg.h"
#include "version_record.h"

namespace {

const char* const kUsage =
    "Aufruf: korbi-cli [OPTIONEN] BEFEHL [ARGUMENTE]\n"
    "\n"
    "K-ORBI Konfigurationen und die LPX vom Terminal aus.\n"
    "\n"
    "Befehle:\n"
    "  show DATEI [--json]       die Einstellungen der Datei, wie das Fenster sie nach dem\n"
    "                            Öffnen zeigt, und die Meldungen dabei\n"
    "  diff A B [--json]         die Einstellungen, in denen sich zwei Dateien unterscheiden\n"
    "  set DATEI NAME=WERT...    Einstellungen nach dem Namen ihres Feldes setzen (mit den\n"
    "                            Eingaberegeln des Fensters) und die Datei speichern\n"
    "  read [-o DATEI]           K-ORBI auslesen; ohne -o wie show ausgeben\n"
    "  write DATEI [--new-code=XXXX] [--repeat[=N] [--new-codes=LISTE [--offline-codes]]]\n"
    "              [--verify]\n"
    "                            die Konfiguration zum K-ORBI schreiben; --repeat: danach auf\n"
    "                            das nächste Gerät warten, bis N geschrieben sind oder Strg+C;\n"
    "                            --new-codes: jedes Gerät bekommt die nächste Kennnummer aus\n"
    "                            LISTE (Datei mit einer Kennnummer je Zeile, oder 1000-10FF),\n"
    "                            auf dem Protokollserver reserviert; --offline-codes: ohne\n"
    "                            erreichbaren Server nur nach dem lokalen Protokoll\n"
    "                            --verify: danach zurücklesen und vergleichen (ein Tastendruck)\n"
    "  change-code NEU           dem K-ORBI die neue Funkkennung NEU geben\n"
    "  info                      den Informationstext der LPX ausgeben\n"
    "  ports                     zeigen, ob die LPX angeschlossen und benutzbar ist\n"
    "  journal [--device=CODE] [--since=DATUM] [--json|--csv]\n"
    "                            das Protokoll der Gerätevorgänge ausgeben; --csv: für eine\n"
    "                            Tabellenkalkulation (ohne Formeln)\n"
    "  journal --sync            die Zeilen, die auf den Protokollserver warten, senden\n"
    "  restore CODE [-o DATEI]   die zuletzt zum Gerät CODE geschriebene oder von ihm gelesene\n"
    "                            Konfiguration aus dem Protokoll als Datei speichern\n"
    "                            (ohne -o: CODE.Korbi)\n"
    "\n"
    "Optionen:\n"
    "  --port=PFAD               diese serielle Schnittstelle statt der LPX-Suche verwenden\n"
    "  --simulate[=1|2]          Übungsmodus ohne LPX: drei simulierte K-ORBI v2.x (=1: v1.x),\n"
    "                            die Taste wird nach einer Sekunde von selbst gedrückt; nichts\n"
    "                            davon kommt ins Protokoll\n"
    "  --trace=DATEI             jeden Rahmen zur und von der LPX mit Zeit in DATEI schreiben\n"
    "                            (für den Support; die Datei ist nur für Sie lesbar)\n"
    "  --json                    Ausgabe als JSON (show, diff, read, journal)\n"
    "  --journal=postgresql://BENUTZER@RECHNER/DATENBANK\n"
    "                            das Protokoll auf diesem Server führen (sonst KORBI_JOURNAL\n"
    "                            oder JournalServer in Values.ini, sonst Protokoll.sqlite im\n"
    "                            Datenordner); ist er nicht erreichbar, bleibt die Zeile lokal\n"
    "                            und wird später gesendet\n"
    "  -o, --output=DATEI        read, restore: die Konfiguration in DATEI speichern\n"
    "  -h, --help                diese Hilfe\n"
    "  --version                 die Version\n"
    "\n"
    "Strg+C beim Warten auf den Tastendruck bricht den Vorgang ab wie die Schaltfläche\n"
    "Abbruch im Fenster; ebenso SIGTERM und SIGHUP (das Terminal wird geschlossen).\n"
    "\n"
    "Rückgabewerte:\n"
    "  0    erledigt (diff: die Dateien sind gleich)\n"
    "  1    der Vorgang oder eine Prüfung ist fehlgeschlagen (diff: sie unterscheiden sich)\n"
    "  2    falscher Aufruf oder eine Datei, die nicht gelesen oder geschrieben werden kann\n"
    "  3    keine LPX erreichbar\n"
    "  130  abgebrochen\n";

struct CommandRow {
    const char* name;
    int minOperands;
    int maxOperands;  // -1: no limit
    unsigned options;
    int (*run)(const CliContext&);
};

const CommandRow kCommands[] = {
    {"show", 1, 1, OptJson, RunShow},
    {"diff", 2, 2, OptJson, RunDiff},
    {"set", 2, -1, 0, RunSet},
    {"read", 0, 0, OptPort | OptSimulate | OptTrace | OptOutput | OptJson | OptJournal, RunRead},
    {"write", 1, 1,
     OptPort | OptSimulate | OptTrace | OptNewCode | OptRepeat | OptVerify | OptNewCodes |
         OptOfflineCodes | OptJournal,
     RunWrite},
    {"change-code", 1, 1, OptPort | OptSimulate | OptTrace | OptJournal, RunChangeCode},
    {"info", 0, 0, OptPort | OptSimulate | OptTrace, RunInfo},
    {"journal", 0, 0, OptDevice | OptSince | OptJson | OptCsv | OptSync | OptJournal, RunJournal},
    {"restore", 1, 1, OptOutput | OptJournal, RunRestore},
    {"ports", 0, 0, 0, RunPorts},
};

int UsageError(const QString& problem) {
    PrintError(QStringLiteral("korbi-cli: ") + problem + '\n' +
               QStringLiteral("»korbi-cli --help« zeigt die Befehle und Optionen.\n"));
    return ExitUsage;
}

// The first error that standard output gave; nothing more is written after it.
int g_outputError = 0;

// A script must not take output that never arrived for a result: a full disk or a broken
// device ends the program with a German line and a failure status. A reader that stopped
// reading (a closed pipe) wanted no more, so that stays quiet.
int WithOutputChecked(int status) {
    if (g_outputError == 0 && std::fflush(stdout) != 0) g_outputError = errno ? errno : EIO;
    if (g_outputError == 0 || g_outputError == EPIPE) return status;
    PrintError(QStringLiteral("korbi-cli: ") +
               FillText(Msg::OutputFailed, {FileErrorCause(g_outputError)}) + '\n');
    return status == ExitDone ? ExitUsage : status;
}

}  // namespace

void Print(const QString& text) {
    if (g_outputError != 0) return;
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    const size_t size = static_cast<size_t>(bytes.size());
    if (std::fwrite(bytes.constData(), 1, size, stdout) != size || std::fflush(stdout) != 0)
        g_outputError = errno ? errno : EIO;
}

void PrintError(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

int main(int argc, char** argv) {
    IgnoreFileSizeSignal();
    // A closed pipe shows as EPIPE on the write; the signal would end a job in the middle of
    // its wait, with the LPX's list still armed.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    CliContext context;
    QString error;
    if (!ParseCliArguments(QCoreApplication::arguments(), &context.options, &error))
        return UsageError(error);
    const CliOptions& options = context.options;
    if (options.help) {
        Print(QString::fromUtf8(kUsage));
        return WithOutputChecked(ExitDone);
    }
    if (options.version) {
        Print(QStringLiteral("korbi-cli %1\n").arg(QString::fromUtf8(KORBI_FILE_VERSION)));
        return WithOutputChecked(ExitDone);
    }
    if (options.command.isEmpty()) return UsageError(QStringLiteral("Kein Befehl angegeben."));

    const CommandRow* command = nullptr;
    for (const CommandRow& row : kCommands) {
        if (options.command == QLatin1String(row.name)) command = &row;
    }
    if (!command) return UsageError(QStringLiteral("Unbekannter Befehl %1.").arg(options.command));
    const int operands = static_cast<int>(options.operands.size());
    if (operands < command->minOperands ||
        (command->maxOperands >= 0 && operands > command->maxOperands))
        return UsageError(QStringLiteral("Falsche Anzahl Argumente für %1.").arg(options.command));
    const unsigned foreign = options.given & ~command->options;
    if (foreign != 0)
        return UsageError(QStringLiteral("Der Befehl %1 kennt die Option %2 nicht.")
                              .arg(options.command, OptionName(foreign)));

    context.programFolder = QCoreApplication::applicationDirPath() + '/';
    // The journal lives in the user's data folder; without it the jobs run unrecorded, said
    // once, and the journal cannot be listed. Never beside the program.
    const QString common = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    int dataFolderError = 0;
    context.applicationDataFolder = FindApplicationDataFolder(common, &dataFolderError);
    const bool needsJournal = options.command == QLatin1String("journal") ||
                              ((command->options & OptPort) && options.command != "info");
    if (context.applicationDataFolder.isEmpty() && needsJournal && options.simulate == 0) {
        PrintError(QStringLiteral("korbi-cli: ") +
                   FillText(Msg::DataFolderUnusable,
                            {ApplicationDataFolderPath(common), FileErrorCause(dataFolderError)}) +
                   '\n');
        if (!(command->options & OptPort)) return ExitUsage;
    }
    // Ctrl+C is the abort button of the waits; elsewhere it ends the program as usual.
    if (command->options & OptPort) {
        InstallInterruptHandler();
        // Ctrl+C also ends a wait on the journal server; the line then stays in the local record.
        SetJournalServerInterrupt(InterruptDescriptor());
    }
    if (options.given & OptTrace) {
        if (!StartTrace(options.trace, &error)) {
            PrintError(QStringLiteral("korbi-cli: ") + error + '\n');
            return ExitUsage;
        }
    }
    const int status = command->run(context);
    StopTrace();
    return WithOutputChecked(status);
}
