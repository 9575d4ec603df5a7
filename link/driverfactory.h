#pragma once
// Chooses the serial driver for the LPX from the command line: with --port=PATH the tty driver
// on that device, otherwise the converter is looked up by its description (tty, then libftdi).

#include <QStringList>
#include <memory>

#include "link/serialdriver.h"

std::unique_ptr<SerialDriver> CreateSerialDriver(const QStringList& arguments);
