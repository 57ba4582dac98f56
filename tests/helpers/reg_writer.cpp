// reg_writer HIVE PREFIX COUNT: writes the DWORD values PREFIX0 .. PREFIX<COUNT-1> (value i = i)
// to the key "Software\Movrex\Concurrent" of HIVE, one accessor write each, as a second process
// writing the same hive would. Exit status 0 when every write went through.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/registry.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: reg_writer HIVE PREFIX COUNT\n");
        return 2;
    }
    const std::string prefix = argv[2];
    const int count = std::atoi(argv[3]);
    try {
        platform::Registry reg;
        reg.SetHiveFile(argv[1]);
        if (!reg.OpenKey("\\Software\\Movrex\\Concurrent", true)) {
            std::fprintf(stderr, "reg_writer: cannot open the key in %s\n", argv[1]);
            return 1;
        }
        for (int i = 0; i < count; ++i) reg.WriteInteger(prefix + std::to_string(i), i);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "reg_writer: %s\n", e.what());
        return 1;
    }
    return 0;
}
