#pragma once
// Read records as the jobs store them.

#include <string>

#include "config/image.h"

// Stores a read record (code, count N, start A, N bytes) into image with mark when it is well
// formed: 8 + 2N characters, N from 1 to 8, A + N <= 256. False for any other record, which is
// then ignored.
bool StoreRecordIfValid(ConfigImage& image, const std::string& record, uint8_t mark);
