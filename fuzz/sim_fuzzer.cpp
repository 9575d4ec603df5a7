// Sends arbitrary bytes to the simulated LPX, as lpx-sim receives them from whatever program
// opens its terminal. Frames are built from parts of the input so that valid commands occur
// often; a byte 0xFF presses a device's button.

#include <cstdlib>
#include <string>

#include "link/lpxsim.h"

#define CHECK(condition) \
    if (!(condition)) std::abort()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LpxSim sim;
    sim.AddDevice(0x12AB, 0x21);
    sim.AddDevice(0x0001, 0x1A, 0x01);
    std::string chunk;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t byte = data[i];
        if (byte == 0xFF) {
            sim.PressButton(static_cast<int>(i % 3));
        } else if (byte == 0xFE) {
            // A complete frame around what came so far.
            for (const SimPiece& piece : sim.Receive(LpxSim::Frame(chunk)))
                CHECK(piece.bytes.size() <= 64);
            chunk.clear();
        } else {
            chunk += static_cast<char>(byte);
        }
    }
    for (const SimPiece& piece : sim.Receive(chunk)) CHECK(piece.bytes.size() <= 64);
    return 0;
}
