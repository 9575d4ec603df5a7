// Writes the two shipped templates from their tables (files/templates.cpp):
//   korbi-make-templates resources/
// gives resources/Default_v1.b and resources/Default_v2.b.

#include <cstdio>
#include <string>

#include "files/templates.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    for (int generation = 1; generation <= 2; ++generation) {
        const std::string path =
            std::string(argv[1]) + "/Default_v" + std::to_string(generation) + ".b";
        const ImageBytes bytes = StartTemplate(generation);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
            std::fclose(file) != 0) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
