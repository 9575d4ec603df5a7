#pragma once
// The settings view as text for a terminal: one line per field with the window's label, under
// the captions of the window's boxes; or as JSON, one key per control name.

#include <QJsonValue>
#include <QList>
#include <QString>
#include <functional>

#include "config/fieldtext.h"
#include "config/settingsmodel.h"

// The fields that pass the filter (all without one), one line each, under their box captions.
QString SettingsText(const SettingsModel& model, const std::function<bool(Field)>& filter = {},
                     const std::function<QString(Field)>& value = {});
// The messages with their ids, under the heading "Meldungen".
QString MessagesText(const QList<int>& ids, const QStringList& texts);

// The field's value as JSON, the same under every locale: a box as true or false, numbers as
// numbers (24, 2.5; null when unknown), codes and the device's texts as strings.
QJsonValue JsonValue(const SettingsModel& model, Field field);
// An array or object as indented JSON text, as every JSON output of korbi-cli is written.
QString JsonText(const QJsonValue& value);
// {"radioCode": "4C2D", "shortTransmissions": 3, ..., "messages": [10818]}
QString SettingsJson(const SettingsModel& model, const QList<int>& messageIds);
