#pragma once
// The window's side of a support trace that was cut off (a full disk, a file-size limit): a
// warning box, shown once the job that was running has ended, so that a job which otherwise
// succeeded is not taken for one with a whole trace.

#include <functional>

class Messages;
class QWidget;

// From now on a trace that cannot be written is told in a box over window, once jobRunning
// says that no job runs.
void ReportTraceFailuresIn(QWidget* window, Messages& messages, std::function<bool()> jobRunning);
