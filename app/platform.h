#pragma once
// The real platform behind start-up: the user's data and document folders, the program's own
// folder, the command line and the version record.

#include <QStringList>
#include <memory>

#include "app/environment.h"
#include "files/programoptions.h"
#include "link/serialdriver.h"

// Prompts and serial driver are left null; the program entry fills them in.
AppEnvironment PlatformEnvironment(const QStringList& arguments);

// Puts the LPX that the command line asks for behind env: the simulated one of practice mode
// (--simulate), else the converter named by --port or looked up by its description. The caller
// keeps the returned driver alive as long as the windows.
std::unique_ptr<SerialDriver> ConnectLpx(const ProgramOptions& options, AppEnvironment& env);

// The version record the build gave the program.
VersionRecord ProgramVersionRecord();

// The file version of the running program, e.g. "1.0.0.0"; empty when the build gave none.
QString ProgramFileVersion();
