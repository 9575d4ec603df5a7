#pragma once
// The settings file Values.ini: an INI text with the section "Setup" and the keys
// "ConfigDirectory" and "AppVersion". Section and key names match without regard to letter case.
// Every call opens the file for its one access; nothing is kept between calls.

#include <QString>

// applicationDataFolder (ending with "/") followed by "Values.ini".
QString SettingsFilePath(const QString& applicationDataFolder);

// The value as text, at most 2047 characters; empty when the file, the section or the key is
// missing.
QString ReadSetting(const QString& settingsFile, const QString& section, const QString& key);

// Creates the file, the section and the key as needed and replaces an existing value; the file
// is written by WriteFileSafely, so a refused write leaves the old file whole. False when the
// file could not be written; error then holds the errno value (the caller shows
// WriteSettingFailureText).
bool WriteSetting(const QString& settingsFile, const QString& section, const QString& key,
                  const QString& value, int* error = nullptr);

// "Unable to write to <path>": the text shown when WriteSetting fails, with the cause of error
// as a second paragraph when one is known.
QString WriteSettingFailureText(const QString& settingsFile, int error = 0);
