#pragma once
// The German manual for technicians: an HTML page that the package installs in its doc folder
// (and the build puts beside the program), shown in the desktop's browser.

#include <QString>

// Where the manual lies for a program in programFolder (with trailing "/"); the installed
// place when it is nowhere.
QString ManualPath(const QString& programFolder);
bool ManualExists(const QString& path);
