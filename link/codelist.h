#pragma once
// The radio ID codes for a series: a range "1000-10FF", or a text file with one four-digit
// hexadecimal code per line (blank lines and lines starting with # are left out). Every code
// must be one a device may carry, and none may come twice: each device gets its own.

#include <QString>
#include <QStringList>

// The codes of a list's text, upper case, in order. False with a German error naming the line.
bool ParseCodeList(const QString& text, QStringList* codes, QString* error);
// The codes of a range "1000-10FF" (either case), both ends included.
bool ParseCodeRange(const QString& range, QStringList* codes, QString* error);
// A range, or else the file of that name.
bool LoadCodeList(const QString& source, QStringList* codes, QString* error);
