#pragma once
// The configuration files opened last, newest first, kept in Values.ini (section "Setup", key
// "RecentFiles") so that Datei > Zuletzt geöffnet survives a restart. The paths are stored in
// one value, each escaped so that any file name fits.

#include <QString>
#include <QStringList>

constexpr int kRecentFilesMax = 8;

QStringList ReadRecentFiles(const QString& settingsFile);
// Puts path first (once), keeps at most kRecentFilesMax and stores the list; the new list.
QStringList RememberRecentFile(const QString& settingsFile, const QString& path);
// Drops path (a file that has gone) and stores the list; the new list.
QStringList ForgetRecentFile(const QString& settingsFile, const QString& path);

// The value's form: paths joined by ";", each with "%", ";" and control characters as %XX.
QString JoinRecentFiles(const QStringList& paths);
QStringList SplitRecentFiles(const QString& value);
