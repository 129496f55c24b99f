// Writes the driver files of the simulated controller families into a directory
// (data/DRIVER of the source tree): zevsim_driver_gen <directory>.
// The files are committed; test_driver_files checks that they still match the table.
#include "plant/driver_file.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    for (const auto& family : zevsim::controllerFamilies()) {
        for (const auto& file : zevsim::driverFilesFor(family)) {
            const std::string path = dir + "/" + file.fileName;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
            if (!out) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
            std::printf("%s (%zu bytes)\n", path.c_str(), file.bytes.size());
        }
    }
    return 0;
}
