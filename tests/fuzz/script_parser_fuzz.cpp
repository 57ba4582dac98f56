// clang-format off
// fuzz-sources: tools/frameserver/language/Parser.cpp tools/frameserver/language/Tokenizer.cpp tools/frameserver/language/Names.cpp
// fuzz-includes: tools/frameserver
// clang-format on
// Frame-server scripts are text anyone can edit. Whatever they hold, the parser either builds a
// tree or throws a script error that names the file and a line; it never crashes or recurses
// without bound.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "language/Parser.h"
#include "language/ScriptError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        fsrv::script::Parse(text, "f.avs");
    } catch (const fsrv::ScriptError& e) {
        if (std::string(e.what()).rfind("f.avs, line ", 0) != 0) std::abort();
    }
    return 0;
}
