#pragma once
// What the command line settles before any window exists: --help and --version, a bad
// --simulate value, and the check that there is a display to open the window on. The help text
// lists every option from one table (commandline.cpp); a new option gets its line there.

#include <QStringList>
#include <cstdio>

// Asks the program to end as soon as start-up has shown the window, with exit code 0: an
// installation can then be checked (the working copies of the shipped files are in place).
inline constexpr const char* kExitAfterStartOption = "--exit-after-start";

// The German help text: call, arguments, options, exit codes.
const char* HelpText();

// The German version text: program name, file version, description and comments.
const char* VersionText();

// Prints the help or the version to out when the command line asks for one (exit code 0); one
// German line to err for a bad --simulate value (exit code 2) or when neither DISPLAY nor
// WAYLAND_DISPLAY nor QT_QPA_PLATFORM is set (exit code 1). Returns -1 when the program is to
// start its window.
int HandleCommandLineBeforeStart(int argc, char** argv, std::FILE* out, std::FILE* err);

// True when the arguments hold the option exactly as given (e.g. kExitAfterStartOption).
bool HasOption(const QStringList& arguments, const char* option);
