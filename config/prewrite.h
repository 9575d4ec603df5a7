#pragma once
// Checks that a device write makes before it sends anything. These work on texts, on the
// encoded write image and on the settings model.

#include <QString>

#include "config/image.h"

class SettingsModel;

// A new radio ID code that the device must not get: "0", "00", "000", "0000" or "FFFF" in any
// mix of cases. An empty text is allowed: the code is then not changed.
bool IsForbiddenNewRadioCode(const QString& text);

// True when some non-empty door code of the continuous group (0x40...) equals one of the
// restricted group (0x50...). Repeats within one group are not looked for.
bool HasCodeInBothGroups(const ConfigImage& image);

// True when some zone is set in both groups' bitmaps.
bool HasZoneInBothGroups(const ConfigImage& image);

// True when text is exactly four hexadecimal digits (either case).
bool IsFourHexDigits(const QString& text);

// The checks of a new radio ID code that a write gives the device: the catalogue id of the
// failed check's message, or 0 (also for the empty text: the code is then not changed).
int CheckNewRadioCode(const QString& newCode);

// A door code or a zone in both groups of the encoded write image: the catalogue id of the
// failed check's message, or 0.
int CheckWriteImage(const ConfigImage& writeImage);

// The checks of a device write that need neither the LPX nor a button press, in order: the new
// radio ID code, then, after the settings are encoded into writeImage for the device, a door
// code or a zone in both groups. The catalogue id of the first failed check's message, or 0.
int CheckSettingsBeforeWrite(const SettingsModel& settings, ConfigImage& writeImage);
