#pragma once
// A setting as the window shows it, in words: the label that names it (with its unit, as the
// window's labels carry it) and its value. korbi-cli prints them and the programming report
// lists them, so both read exactly as the window does.

#include <QString>

#include "config/settingsmodel.h"

// The field's value as the window shows it: an edit's text, "ja" or "nein" for a box.
QString ValueText(const SettingsModel& model, Field field);
// The label that names the field in the window (the radio code row's heading included).
QString FieldLabel(Field field);
