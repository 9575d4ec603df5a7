#pragma once
// The radio ID codes for a series: a range "1000-10FF", or a text file with one four-digit
// hexadecimal code per line (blank lines and lines starting with # are left out). Every code
// must be one a device may carry, and none may come twice: each device gets its own. A line may
// name the room whose button gets the code after a ";" or a tab: "2000;Zimmer 101".

#include <QHash>
#include <QString>
#include <QStringList>

// The rooms a list names, by code (upper case).
using CodeRooms = QHash<QString, QString>;

// The codes of a list's text, upper case, in order, and the rooms it names. False with a German
// error naming the line.
bool ParseCodeList(const QString& text, QStringList* codes, QString* error,
                   CodeRooms* rooms = nullptr);
// The codes of a range "1000-10FF" (either case), both ends included.
bool ParseCodeRange(const QString& range, QStringList* codes, QString* error);
// A range, or else the file of that name.
bool LoadCodeList(const QString& source, QStringList* codes, QString* error,
                  CodeRooms* rooms = nullptr);
