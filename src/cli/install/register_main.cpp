// Run by the install step: registers the installation folder in its local-machine hive.
//   movrex-register HIVE-FILE PROGRAM-FOLDER
#include <cstdio>
#include <exception>

#include "app/Installation.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: movrex-register HIVE-FILE PROGRAM-FOLDER\n");
        return 2;
    }
    try {
        RegisterInstallation(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "movrex-register: %s\n", e.what());
        return 1;
    }
    return 0;
}
