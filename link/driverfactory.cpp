#include "link/driverfactory.h"

std::unique_ptr<SerialDriver> CreateSerialDriver(const QStringList&) { return nullptr; }
