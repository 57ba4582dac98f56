// clang-format off
// fuzz-sources: src/util/AviFileInfo.cpp
// clang-format on
// The test output is read back for its picture size. A damaged file is reported, never read
// past its end; a file that opens always describes itself.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "util/VFW.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int serial = 0;
    const std::string path = "/tmp/decide_aviinfo_fuzz." + std::to_string(getpid()) + "." +
                             std::to_string(serial++) + ".avi";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), size);
    PAVIFILE file;
    std::string why;
    const int32_t result = AVIFileOpenA(file, path, OF_READ, &why);
    AVIFILEINFOA info;
    if (result == AVIERR_OK && AVIFileInfoA(file, &info, sizeof info) != AVIERR_OK) std::abort();
    if (result != AVIERR_OK && (file || why.empty())) std::abort();
    AVIFileRelease(file);
    std::remove(path.c_str());
    return 0;
}
