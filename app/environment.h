#pragma once
// What start-up takes from the platform, handed in so that tests can run the program in
// temporary folders with a scripted user and a simulated LPX.

#include <QString>
#include <QStringList>

class PracticeLpx;
class Prompts;
class SerialDriver;

// The program's version record (empty texts when the build gave none).
struct VersionRecord {
    QString fileDescription;
    QString fileVersion;
    QString comments;
};

struct AppEnvironment {
    QString commonDataFolder;       // e.g. ~/.local/share; empty when the platform gives none
    QString commonDocumentsFolder;  // e.g. ~/Documents; empty when the platform gives none
    QString programFolder;          // folder of the executable, with trailing "/"
    QString siteConfigFolder;       // /etc/korbi-programmer/: the site's about.ini
    QStringList arguments;          // the command line, argument 0 being the program
    VersionRecord version;
    Prompts* prompts = nullptr;
    SerialDriver* serialDriver = nullptr;
    // Practice mode (--simulate): serialDriver is the simulated LPX practiceLpx, whose devices
    // exist for this session only. Nothing of it is real work: no serial device is opened, and
    // its device jobs must not be recorded as jobs on real devices.
    bool practiceMode = false;
    // The serial device named by --port; empty: the LPX is looked up by its converter.
    QString lpxPort;
    // A company's journal server named on the command line (--journal); empty: the one of
    // KORBI_JOURNAL or the settings file, if any.
    QString journalServer;
    PracticeLpx* practiceLpx = nullptr;
};
