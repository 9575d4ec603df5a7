#pragma once
// The steps of start-up that need no window: finding and creating the program's folders,
// installing the shipped files into the application data folder, and reading the command line.

#include <QString>
#include <QStringList>

// The application data folder (ending with "/"): commonDataFolder + "/TALO/K-ORBI Programmer
// (DE)/". A missing common folder is created first (mode 0700, it is the user's private data
// folder); when the platform gives none or it cannot be created, the program folder is used.
QString FindApplicationDataFolder(const QString& commonDataFolder, const QString& programFolder);

// The document folder (ending with "/"): commonDocumentsFolder + "/TALO/K-ORBI config/", or
// programFolder + "Config/" when the common folder is not given and cannot be created.
QString FindDocumentFolder(const QString& commonDocumentsFolder, const QString& programFolder);

// What start-up knows of the settings file once the shipped files are installed.
struct InstalledSettings {
    // The settings file whose write was refused, and the errno value why; empty when every
    // write succeeded.
    QString refusedFile;
    int refusedError = 0;
    // "ConfigDirectory" as the settings hold it. When the file could not be written this is
    // the value it held before, kept for the session.
    QString configDirectory;
};

// The folder the shipped files Values.i, Default_v1.b and Default_v2.b are taken from (ending
// with "/"): the program's own folder when any of them lies there, as in a build tree; else the
// installed data folder programFolder + "../share/korbi-programmer/".
QString ShippedFilesFolder(const QString& programFolder);

// Installs or refreshes Values.ini, Default_v1.bin and Default_v2.bin in applicationDataFolder
// from Values.i, Default_v1.b and Default_v2.b in shippedFolder. The settings file is replaced
// when it is missing or its AppVersion differs from programVersion; the templates when they are
// missing or the version changed. A non-empty ConfigDirectory survives an update. A refused
// write to the settings file ends the writes to it, but the templates are still installed.
InstalledSettings InstallShippedFiles(const QString& shippedFolder,
                                      const QString& applicationDataFolder,
                                      const QString& programVersion);

// An argument that starts with "--" is an option (--name=value), never a folder or a file.
bool IsOptionArgument(const QString& argument);

// The first existing folder among the command-line arguments 1 .. n-1 (options left out first),
// exactly as written; empty when there is none. The last argument never gives a folder.
QString CommandLineFolder(const QStringList& arguments);

// The first existing file among the command-line arguments 1 .. n (options left out); empty
// when there is none.
QString CommandLineFile(const QStringList& arguments);
