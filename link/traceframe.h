#pragma once
// What the LPX adapter hands the support trace: every frame as it went over the line. Plain C++
// without Qt, so that the protocol builds on its own (the fuzz targets do).

#include <cstdint>

enum class TraceDirection { ToLpx, FromLpx };

// One frame as it went over the line; an answer that never came is traced with no bytes. Does
// nothing while no trace runs.
void TraceFrame(TraceDirection direction, const uint8_t* bytes, int count);
