#pragma once
// The command sequences that the LPX receives, as the tests expect them.

#include <string>
#include <vector>

using Commands = std::vector<std::string>;

// The commands of the identification of a device that answers the first time.
inline std::vector<std::string> Identification() {
    return {"v", "s1", "m", "m022E", "iFFFF", "M", "x", "s0"};
}

// a, then b.
inline std::vector<std::string> Join(std::vector<std::string> a,
                                     const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
