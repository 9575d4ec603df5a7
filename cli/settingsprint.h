#pragma once
// The settings view as text for a terminal: one line per field with the window's label, under
// the captions of the window's boxes; or as JSON, one key per control name.

#include <QList>
#include <QString>
#include <functional>

#include "config/settingsmodel.h"

// The field's value as the window shows it: an edit's text, "ja" or "nein" for a box.
QString ValueText(const SettingsModel& model, Field field);
// The label that names the field in the window (the radio code row's heading included).
QString FieldLabel(Field field);

// The fields that pass the filter (all without one), one line each, under their box captions.
QString SettingsText(const SettingsModel& model, const std::function<bool(Field)>& filter = {},
                     const std::function<QString(Field)>& value = {});
// The messages with their ids, under the heading "Meldungen".
QString MessagesText(const QList<int>& ids, const QStringList& texts);

// A JSON string literal.
QString JsonString(const QString& text);
// The field's value as JSON: an edit's text as a string, a box as true or false.
QString JsonValue(const SettingsModel& model, Field field);
// {"edtRadioCodeOld": "4C2D", ..., "cbZoneF_R": false, "messages": [10818]}
QString SettingsJson(const SettingsModel& model, const QList<int>& messageIds);
