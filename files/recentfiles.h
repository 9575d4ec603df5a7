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

// The customers' sites named last, newest first, kept in Values.ini (section "Setup", key
// "RecentSites") in the same form, so that the window offers them again after a restart.
constexpr int kRecentSitesMax = 10;
QStringList ReadRecentSites(const QString& settingsFile);
// Puts site first (once; an empty site is not kept) and stores the list; the new list.
QStringList RememberRecentSite(const QString& settingsFile, const QString& site);
