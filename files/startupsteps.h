#pragma once
// The steps of start-up that need no window: finding and creating the program's folders,
// installing the shipped files into the application data folder, and reading the command line.

#include <QString>
#include <QStringList>

// The application data folder (ending with "/"): commonDataFolder + "/TALO/K-ORBI Programmer
// (DE)/"; empty when the platform gives no common folder.
QString ApplicationDataFolderPath(const QString& commonDataFolder);

// The application data folder, created when missing (the common folder with mode 0700, it is
// the user's private data folder). Empty, with the errno value in *error, when it cannot be
// created or written: the program's own folder never stands in for it (an installed program
// would write beside /usr/bin), the settings then live for the session only, and the journal
// and the templates are not there.
QString FindApplicationDataFolder(const QString& commonDataFolder, int* error = nullptr);

// The document folder (ending with "/"): commonDocumentsFolder + "/TALO/K-ORBI config/", or
// empty when the common folder is not given and cannot be created.
QString FindDocumentFolder(const QString& commonDocumentsFolder);

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
// Without an application data folder nothing is installed.
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
