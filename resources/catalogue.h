#pragma once
// The program's German text catalogue: every text the user sees, by numeric id.

#include <QString>
#include <QStringList>

#include "resources/msg.h"

// The entry's text; empty for an id without an entry.
QString Text(int id);
// The entry's text with its "%s" placeholders filled from left to right.
QString FillText(int id, const QStringList& args);
// Fills the "%s" placeholders of any pattern from left to right; surplus placeholders stay empty.
QString FillPattern(const QString& pattern, const QStringList& args);
// All ids that have an entry, ascending.
QList<int> CatalogueIds();

// The window toolkit's own texts, German like the catalogue.
namespace ToolkitText {
inline const char* const ErrorTitle = "Fehler";
inline const char* const InformationTitle = "Information";
inline const char* const ConfirmationTitle = "Bestätigen";
inline const char* const WarningTitle = "Warnung";
inline const char* const Ok = "&OK";
inline const char* const Yes = "&Ja";
inline const char* const No = "&Nein";
inline const char* const Abort = "&Abbruch";
inline const char* const Close = "&Ende";
inline const char* const ShortcutModifier = "Strg+";
}  // namespace ToolkitText
