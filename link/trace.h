#pragma once
// The support trace: when the user asks for it (--trace=FILE), every frame to and from the LPX
// with the milliseconds since the trace began, its direction, its bytes in hexadecimal and as
// printable ASCII, and a line where each device job begins and ends. With the first real LPX in
// the field this file is how a fault gets diagnosed. Off by default; one trace per process, so
// that every adapter (the jobs' and the About box's) writes into it without being handed it.

#include <QString>
#include <cstdint>
#include <functional>

#include "link/traceframe.h"

// Starts the trace into path (created 0600, appended to when it exists). False with a German
// error when the file cannot be used: no regular file, another user's file (the frames would
// become readable to them), or not even its first line can be written.
bool StartTrace(const QString& path, QString* error);
void StopTrace();
bool TraceRunning();

// Told once, with a German text, when a line cannot be written (a full disk, a file-size
// limit): the trace stops there, cut off, and the program must say so where the user looks,
// for a trace that silently ends is taken for the whole story of a fault.
void SetTraceFailureNotice(std::function<void(const QString& text)> notice);
// That text, or empty while every line has reached the file.
QString TraceIncompleteText();

// A line of its own, e.g. where a job begins.
void TraceNote(const QString& text);

// The trace line of a frame, without its time: "-> 02 76 37 36 03  |.v76.|".
QString TraceFrameText(TraceDirection direction, const uint8_t* bytes, int count);
