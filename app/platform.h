#pragma once
// The real platform behind start-up: the user's data and document folders, the program's own
// folder, the command line and the version record.

#include <QStringList>

#include "app/environment.h"

// Prompts and serial driver are left null; the program entry fills them in.
AppEnvironment PlatformEnvironment(const QStringList& arguments);

// The version record the build gave the program.
VersionRecord ProgramVersionRecord();

// The file version of the running program, e.g. "1.0.0.0"; empty when the build gave none.
QString ProgramFileVersion();
