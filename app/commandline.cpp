#include "app/commandline.h"

#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/filenames.h"
#include "files/secrets.h"
#include "link/trace.h"
#include "resources/catalogue.h"
#include "version_record.h"

namespace {

struct OptionHelp {
    const char* call;         // as the user types it
    const char* description;  // German, one line
};

// Every option the program knows, in the order --help lists them.
const OptionHelp kOptions[] = {
    {"--port=PFAD", "diese serielle Schnittstelle statt des gesuchten LPX benutzen"},
    {"--simulate[=1|2]", "Übungsmodus ohne LPX: drei simulierte K-ORBI v2.x (=1: v1.x)"},
    {"--trace=DATEI", "jeden Rahmen zur und von der LPX in DATEI mitschreiben (Support)"},
    {"--journal=URI", "das Protokoll auf diesem PostgreSQL-Server führen (postgresql://...)"},
    {"--exit-after-start", "nach dem Start gleich wieder beenden (prüft eine Installation)"},
    {"--help", "diese Hilfe zeigen und beenden"},
    {"--version", "die Version zeigen und beenden"},
};

std::string BuildHelpText() {
    std::string text =
        "Aufruf: korbi-programmer [VERZEICHNIS] [DATEI] [OPTION...]\n"
        "\n"
        "Liest, bearbeitet, speichert und schreibt die Konfiguration eines K-ORBI über das\n"
        "Programmiergerät LPX.\n"
        "\n"
        "Argumente:\n"
        "  VERZEICHNIS  das erste vorhandene Verzeichnis unter allen Argumenten außer dem\n"
        "               letzten wird das Standardverzeichnis für Konfigurationsdateien\n"
        "  DATEI        die erste vorhandene Datei unter den Argumenten wird als\n"
        "               Konfiguration geladen (256 Byte, z. B. *.Korbi)\n"
        "\n"
        "Optionen (Argumente, die mit - beginnen; nach -- folgen nur noch Verzeichnisse und\n"
        "Dateien):\n";
    for (const OptionHelp& option : kOptions) {
        std::string call = option.call;
        call.resize(std::max<size_t>(call.size() + 2, 22), ' ');
        text += "  " + call + option.description + "\n";
    }
    text +=
        "\n"
        "Rückgabewert: 0 nach dem Ende des Programms, 1 ohne grafische Anzeige, 2 bei einer\n"
        "unbekannten Option, einem ungültigen Wert (etwa für --simulate) oder einer\n"
        "Mitschnittdatei, die nicht angelegt werden kann.\n"
        "Mehr in der Handbuchseite korbi-programmer(1).\n";
    return text;
}

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

const char* HelpText() {
    static const std::string text = BuildHelpText();
    return text.c_str();
}

const char* VersionText() {
    static const std::string text = std::string("korbi-programmer ") + KORBI_FILE_VERSION + "\n" +
                                    KORBI_FILE_DESCRIPTION + " " + KORBI_COMMENTS + "\n";
    return text.c_str();
}

int HandleCommandLineBeforeStart(int argc, char** argv, std::FILE* out, std::FILE* err,
                                 ProgramOptions* options) {
    // File names stay the bytes they are, also where they are no UTF-8.
    const QStringList arguments = CommandLineArguments(argc, argv);
    // A mistyped option must end up neither on the real LPX nor silently in another generation
    // than the one asked for.
    QString error;
    const bool understood = ParseProgramOptions(ForWindow, arguments, options, &error);
    // Read once: other users' process listings no longer show a password of --journal.
    HideSecretsInArguments(argc, argv);
    const char* text = nullptr;
    if (options->version) text = VersionText();
    if (options->help) text = HelpText();
    if (text && understood) {
        std::fputs(text, out);
        return std::fflush(out) == 0 ? 0 : 1;
    }
    if (!understood) {
        std::fprintf(err, "korbi-programmer: %s\n»korbi-programmer --help« zeigt die Optionen.\n",
                     error.toLocal8Bit().constData());
        return 2;
    }
    // Without a display the window toolkit would abort with an English hint and a core dump.
    if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY") && !IsSet("QT_QPA_PLATFORM")) {
        std::fputs(
            "korbi-programmer: Keine grafische Anzeige gefunden (weder DISPLAY noch "
            "WAYLAND_DISPLAY ist gesetzt); das Programm braucht eine Arbeitsoberfläche.\n",
            err);
        return 1;
    }
    // The trace records the LPX's frames from the first job on; a file that cannot be used is
    // refused before the window opens, so the user does not run the fault without a trace.
    if ((options->given & OptTrace) && !StartTrace(options->trace, &error)) {
        std::fprintf(err, "korbi-programmer: %s\n", error.toLocal8Bit().constData());
        return 2;
    }
    return -1;
}

QStringList StartupArguments(const QString& program, const ProgramOptions& options) {
    return QStringList{program} + options.positionals;
}
