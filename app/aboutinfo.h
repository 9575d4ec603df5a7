#pragma once
// The text of the About box: version lines from the version record, then the site's contact
// lines from about.ini (or the company line), then the web and mail lines.

#include <QString>
#include <QStringList>

#include "app/environment.h"

// Reads a whole number as the old INI reader did: decimal, or hexadecimal after "0x" or "$",
// with an optional sign; anything else (letters, an empty text) counts as 0.
long ParseIniInteger(const QString& text);

// The site's contact file: about.ini beside the program when there is one, else the one in the
// site's configuration folder (which may be missing too).
QString AboutIniPath(const QString& programFolder, const QString& siteConfigFolder);

// The memo lines for the given version record and contact file (which may be missing).
QStringList AboutInfoLines(const VersionRecord& version, const QString& aboutIniPath);

// The LPX line: "LPX info: " and the 11 characters, or empty when the LPX did not answer.
QString LpxInfoLine(int queryResult, const QString& info);

// More contact lines than this are not shown: a mistyped count must not stall the box.
constexpr long kMaxContactLines = 1000;
