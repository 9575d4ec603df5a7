// The fuzz targets run the protocol without the support trace (which writes a file with Qt).

#include "link/traceframe.h"

void TraceFrame(TraceDirection, const uint8_t*, int) {}
