#pragma once
// The bytes of the two shipped templates, Default_v1.b and Default_v2.b. Each holds the start
// values of the settings view, so File > New shows exactly what an empty window shows, and its
// firmware version carries the generation. The files in resources/ are made from these tables
// (tool korbi-make-templates) and a test checks that they still agree.

#include <QString>

#include "config/image.h"

// generation 1 or 2.
ImageBytes StartTemplate(int generation);

// The installed template of generation 1 or 2 in applicationDataFolder (ending with "/"). The
// name is matched without regard to case; the spelling that start-up installs comes first, so
// that a stray copy in another case cannot hide a template refreshed by an update.
QString InstalledTemplatePath(const QString& applicationDataFolder, int generation);
