#include "cli/commands.h"

#include "cli/context.h"
#include "files/programoptions.h"

namespace {

constexpr unsigned kLpx = OptPort | OptSimulate | OptTrace;

// The meanings of the statuses that every LPX command shares.
const ExitMeaning kNoLpx{3, "keine LPX erreichbar"};
const ExitMeaning kAborted{130, "abgebrochen (Strg+C, SIGTERM, SIGHUP)"};

}  // namespace

const std::vector<CommandRow>& Commands() {
    static const std::vector<CommandRow> commands = {
        {"show",
         "show DATEI [--json]",
         "die Einstellungen der Datei, wie das Fenster sie nach dem\n"
         "Öffnen zeigt, und die Meldungen dabei",
         "korbi-cli show Anlage.Korbi --json",
         {{0, "gezeigt"},
          {1, "die Datei ist kein K-ORBI (das Fenster übernimmt sie nicht)"},
          {2, "falscher Aufruf, oder die Datei fehlt oder ist nicht lesbar"}},
         1,
         1,
         OptJson,
         OperandKind::KorbiFile,
         RunShow},
        {"diff",
         "diff A B [--json]",
         "die Einstellungen, in denen sich zwei Dateien unterscheiden",
         "korbi-cli diff Anlage.Korbi Ersatz.Korbi",
         {{0, "die Dateien sind gleich"},
          {1, "sie unterscheiden sich"},
          {2, "falscher Aufruf, oder eine Datei fehlt oder ist nicht lesbar"}},
         2,
         2,
         OptJson,
         OperandKind::KorbiFile,
         RunDiff},
        {"set",
         "set DATEI NAME=WERT...",
         "Einstellungen nach ihrem Namen (korbi-cli fields) setzen,\n"
         "mit den Eingaberegeln des Fensters, und die Datei speichern;\n"
         "was eine Regel außerdem ändert, steht auf stderr",
         "korbi-cli set Anlage.Korbi batteryAlarmIntervalHours=12 restrictedZone3=ja",
         {{0, "gespeichert"},
          {1,
           "ein Wert bliebe nicht wie angegeben (Bereich, gesperrtes Feld,\n"
           "Widerspruch); die Datei bleibt, wie sie war"},
          {2,
           "falscher Aufruf, unbekannter Name, oder die Datei ist nicht\n"
           "lesbar oder nicht speicherbar"}},
         2,
         -1,
         0,
         OperandKind::FileAssignments,
         RunSet},
        {"fields",
         "fields [--json]",
         "jede Einstellung in einer Zeile: Name, Beschriftung im Fenster,\n"
         "Gruppe, Art, Einheit, Bereich (durch Tabulatoren getrennt)",
         "korbi-cli fields | grep -i zone",
         {{0, "ausgegeben"}, {2, "falscher Aufruf"}},
         0,
         0,
         OptJson,
         OperandKind::None,
         RunFields},
        {"read",
         "read [-o DATEI] [--json]",
         "K-ORBI auslesen (zwei Tastendrücke); ohne -o wie show ausgeben;\n"
         "-o ersetzt nie eine Datei",
         "korbi-cli read -o Flur-3.Korbi",
         {{0, "gelesen"},
          {1, "der Vorgang ist fehlgeschlagen"},
          {2, "falscher Aufruf, oder die Datei kann nicht gespeichert werden"},
          kNoLpx,
          kAborted},
         0,
         0,
         kLpx | OptOutput | OptJson | OptJournal | OptSite,
         OperandKind::None,
         RunRead,
         kRecordModule},
        {"write",
         "write DATEI [--new-code=XXXX] [--repeat[=N] [--new-codes=LISTE]] [--verify]",
         "die Konfiguration zum K-ORBI schreiben; --repeat: danach auf\n"
         "das nächste Gerät warten, bis N geschrieben sind oder Strg+C",
         "korbi-cli write Anlage.Korbi --repeat=20 --new-codes=1000-10FF --verify",
         {{0, "geschrieben (eine Serie: jedes Gerät)"},
          {1, "der Vorgang oder die Prüfung ist fehlgeschlagen"},
          {2, "falscher Aufruf, oder die Datei oder die Liste ist nicht lesbar"},
          kNoLpx,
          kAborted},
         1,
         1,
         kLpx | OptNewCode | OptRepeat | OptVerify | OptNewCodes | OptOfflineCodes | OptReuseCode |
             OptJournal | OptSite,
         OperandKind::KorbiFile,
         RunWrite,
         kRecordModule},
        {"change-code",
         "change-code NEU",
         "dem K-ORBI die neue Funkkennung NEU (vier Hexadezimalziffern)\n"
         "geben",
         "korbi-cli change-code 4C2E",
         {{0, "geändert"},
          {1,
           "der Vorgang ist fehlgeschlagen, oder NEU ist keine erlaubte\n"
           "Funkkennung"},
          {2, "falscher Aufruf"},
          kNoLpx,
          kAborted},
         1,
         1,
         kLpx | OptJournal | OptReuseCode | OptSite,
         OperandKind::Other,
         RunChangeCode,
         kRecordModule},
        {"info",
         "info",
         "den Informationstext der LPX ausgeben",
         "korbi-cli info --port=/dev/ttyUSB0",
         {{0, "ausgegeben"}, {2, "falscher Aufruf"}, kNoLpx},
         0,
         0,
         kLpx,
         OperandKind::None,
         RunInfo,
         kRecordModule},
        {"ports",
         "ports",
         "zeigen, ob die LPX angeschlossen und benutzbar ist (öffnet\n"
         "keine Schnittstelle)",
         "korbi-cli ports",
         {{0, "die LPX ist angeschlossen und benutzbar"}, {2, "falscher Aufruf"}, {3, "nein"}},
         0,
         0,
         0,
         OperandKind::None,
         RunPorts},
        {"journal",
         "journal [--device=CODE] [--site=TEXT] [--since=DATUM] [--until=DATUM] [--json|--csv] | "
         "journal --sync",
         "das Protokoll der Gerätevorgänge als Tabelle ausgeben; --csv:\n"
         "für eine Tabellenkalkulation (ohne Formeln); --json: jede\n"
         "Spalte ungekürzt; --sync: die Zeilen, die auf den\n"
         "Protokollserver warten, senden",
         "korbi-cli journal --device=4C2D --since=2026-01-01 --csv",
         {{0, "ausgegeben (--sync: gesendet)"},
          {2,
           "falscher Aufruf, oder das Protokoll ist nicht lesbar oder der\n"
           "Server nicht erreichbar"}},
         0,
         0,
         OptDevice | OptSite | OptSince | OptUntil | OptJson | OptCsv | OptSync | OptJournal,
         OperandKind::None,
         RunJournal,
         kRecordModule},
        {"restore",
         "restore CODE [-o DATEI]",
         "die zuletzt erfolgreich zum Gerät CODE geschriebene oder von\n"
         "ihm gelesene Konfiguration aus dem Protokoll als Datei\n"
         "speichern (ohne -o oder mit einem Ordner: CODE.Korbi)",
         "korbi-cli restore 4C2D -o Flur-3.Korbi",
         {{0, "gespeichert"},
          {1, "das Protokoll hat keine Konfiguration des Geräts"},
          {2,
           "falscher Aufruf, oder das Protokoll oder die Datei ist nicht\n"
           "benutzbar"}},
         1,
         1,
         OptOutput | OptJournal,
         OperandKind::Other,
         RunRestore,
         kRecordModule},
        {"report",
         "report -o DATEI [--site=TEXT] [--device=CODE] [--since=DATUM] [--until=DATUM]",
         "das Programmierprotokoll der Gerätevorgänge als PDF (A4)\n"
         "schreiben, zum Übergeben an den Kunden; DATEI bekommt .pdf,\n"
         "wenn sie keine Endung hat, und wird nie überschrieben",
         "korbi-cli report -o Anlage-Nord.pdf --since=2026-03-01",
         {{0, "geschrieben"},
          {1, "im Bereich steht kein Gerätevorgang; keine Datei geschrieben"},
          {2,
           "falscher Aufruf, die Datei gibt es schon, oder das Protokoll\n"
           "ist nicht lesbar"}},
         0,
         0,
         OptOutput | OptSite | OptDevice | OptSince | OptUntil | OptJournal,
         OperandKind::None,
         RunReport,
         kReportModule},
        {"help",
         "help [BEFEHL]",
         "die Hilfe zu BEFEHL (wie korbi-cli BEFEHL --help)",
         "korbi-cli help write",
         {{0, "ausgegeben"}, {2, "unbekannter Befehl"}},
         0,
         1,
         0,
         OperandKind::CommandName,
         RunHelp},
        {"completion",
         "completion bash|zsh|fish",
         "das Vervollständigungsskript für die Shell ausgeben (das Paket\n"
         "installiert alle drei)",
         "korbi-cli completion zsh > ~/.zfunc/_korbi-cli",
         {{0, "ausgegeben"}, {2, "unbekannte Shell"}},
         1,
         1,
         0,
         OperandKind::Shell,
         RunCompletion},
    };
    return commands;
}

const CommandRow* FindCommand(const QString& name) {
    for (const CommandRow& row : Commands())
        if (name == QLatin1String(row.name)) return &row;
    return nullptr;
}

const std::vector<OptionHelp>& OptionHelps() {
    static const std::vector<OptionHelp> helps = {
        {OptPort, "--port=PFAD", "diese serielle Schnittstelle statt der LPX-Suche\nverwenden",
         ValueKind::Device},
        {OptSimulate, "--simulate[=1|2]",
         "Übungsmodus ohne LPX: drei simulierte K-ORBI v2.x\n(=1: v1.x), die Taste wird nach einer "
         "Sekunde von\nselbst gedrückt; nichts davon kommt ins Protokoll",
         ValueKind::Generation},
        {OptTrace, "--trace=DATEI",
         "jeden Rahmen zur und von der LPX mit Zeit in DATEI\nschreiben (für den Support; die "
         "Datei ist nur für\nSie lesbar)",
         ValueKind::File},
        {OptJson, "--json",
         "Ausgabe als JSON mit englischen Namen; Zahlen als\nZahlen, Haken als "
         "true oder false",
         ValueKind::None},
        {OptJournal, "--journal=postgresql://BENUTZER@RECHNER/DATENBANK",
         "das Protokoll auf diesem Server führen (sonst\nKORBI_JOURNAL oder JournalServer in "
         "Values.ini,\nsonst Protokoll.sqlite im Datenordner); ist er nicht\nerreichbar, bleibt "
         "die Zeile lokal und wird später\ngesendet",
         ValueKind::None},
        {OptOutput, "-o, --output=DATEI",
         "in DATEI speichern (read, restore: die Konfiguration;\nreport: den Bericht als PDF)",
         ValueKind::KorbiFile},
        {OptNewCode, "--new-code=XXXX", "dem Gerät beim Schreiben diese Funkkennung geben",
         ValueKind::None},
        {OptRepeat, "--repeat[=N]",
         "nach jedem Gerät auf das nächste warten, bis N\ngeschrieben sind (ohne N: bis Strg+C)",
         ValueKind::None},
        {OptNewCodes, "--new-codes=LISTE",
         "jedes Gerät bekommt die nächste Funkkennung aus LISTE\n(Datei mit einer Funkkennung je "
         "Zeile, oder\n1000-10FF), jede auf dem Protokollserver reserviert",
         ValueKind::File},
        {OptOfflineCodes, "--offline-codes",
         "ist der Protokollserver nicht zu fragen, die\nFunkkennungen nur nach dem lokalen "
         "Protokoll vergeben",
         ValueKind::None},
        {OptReuseCode, "--reuse-code",
         "eine Funkkennung, die laut Protokoll schon ein Gerät\nträgt, trotzdem vergeben "
         "(Ersatzgerät)",
         ValueKind::None},
        {OptVerify, "--verify", "danach zurücklesen und vergleichen (ein Tastendruck)",
         ValueKind::None},
        {OptDevice, "--device=CODE",
         "nur die Vorgänge der Geräte, deren Funkkennung CODE\nenthält (1 bis 4 "
         "Hexadezimalziffern)",
         ValueKind::None},
        {OptSite, "--site=TEXT",
         "das Objekt (Kunde, Anlage), z. B. „Pflegeheim Sonnenhof,\nHaus B“: read, write, "
         "change-code vermerken es in\njeder Zeile; journal und report nehmen nur seine\n"
         "Vorgänge",
         ValueKind::None},
        {OptSince, "--since=DATUM",
         "nur die Vorgänge ab DATUM (2026-03-01, oder mit Zeit\n2026-03-01T14:00:00)",
         ValueKind::None},
        {OptUntil, "--until=DATUM", "nur die Vorgänge bis einschließlich DATUM (2026-03-31)",
         ValueKind::None},
        {OptCsv, "--csv", "Ausgabe für eine Tabellenkalkulation (ohne Formeln)", ValueKind::None},
        {OptSync, "--sync", "die Zeilen, die auf den Protokollserver warten, senden",
         ValueKind::None},
    };
    return helps;
}

const OptionHelp* FindOptionHelp(unsigned bit) {
    for (const OptionHelp& help : OptionHelps())
        if (help.bit == bit) return &help;
    return nullptr;
}
