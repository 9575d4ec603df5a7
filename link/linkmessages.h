#pragma once
// What the user is told when the line to the LPX cannot be opened or goes away.

#include <QString>

#include "link/serialdriver.h"

// The German second paragraph for an open of the LPX that the system refused: which device
// file, why, and what to do. Empty when the cause is unknown or needs no more words than the
// main message's "USB cable and power supply".
QString OpenFailureCause(const OpenFailure& failure);
