#pragma once
// Checks that a device write makes before it sends anything. These work on texts and on the
// encoded write image only; the checks that read the settings view are TfrmMain methods
// (UsesGeneration2Settings, PressTimeFitsDelay).

#include <QString>

#include "config/image.h"

// A new radio ID code that the device must not get: "0", "00", "000", "0000" or "FFFF" in any
// mix of cases. An empty text is allowed: the code is then not changed.
bool IsForbiddenNewRadioCode(const QString& text);

// True when some non-empty door code of the continuous group (0x40...) equals one of the
// restricted group (0x50...). Repeats within one group are not looked for.
bool HasCodeInBothGroups(const ConfigImage& image);

// True when some zone is set in both groups' bitmaps.
bool HasZoneInBothGroups(const ConfigImage& image);
