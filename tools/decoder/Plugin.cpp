// filters/mpeg2dec3dg.dll: registers mpeg2source with the frame server.
#include "Mpeg2Source.h"
#include "frameserver_plugin.h"

FRAMESERVER_PLUGIN(host) {
    host.AddFunction("mpeg2source", "s", [](const fsrv::Args& args, fsrv::Host&) {
        return fsrv::Value(
            fsrv::ClipPtr(std::make_shared<decoder::Mpeg2Source>(args[0].AsString())));
    });
}
