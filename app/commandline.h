#pragma once
// What the command line settles before any window exists: --help and --version, an option the
// window does not know or a bad value (--simulate=3), and the check that there is a display to
// open the window on. The options are read by the table both programs share
// (files/programoptions); the help text gives each of the window's a line (commandline.cpp).

#include <cstdio>

#include "files/programoptions.h"

// The German help text: call, arguments, options, exit codes.
const char* HelpText();

// The German version text: program name, file version, description and comments.
const char* VersionText();

// Reads the command line into options. Prints the help or the version to out when the command
// line asks for one (exit code 0); one German line to err for an option the window does not
// know or a bad value (exit code 2) or when neither DISPLAY nor WAYLAND_DISPLAY nor
// QT_QPA_PLATFORM is set (exit code 1). Returns -1 when the program is to start its window
// (--exit-after-start: and to end once start-up has shown it, with exit code 0, so that an
// installation can be checked).
int HandleCommandLineBeforeStart(int argc, char** argv, std::FILE* out, std::FILE* err,
                                 ProgramOptions* options);

// The arguments that start-up reads folders and files from: the program and the positionals.
QStringList StartupArguments(const QString& program, const ProgramOptions& options);
