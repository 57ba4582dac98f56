// chr.dll: write(file, text, append), the analysis script's log writer.
#include "WriteLine.h"
#include "frameserver_plugin.h"

FRAMESERVER_PLUGIN(host) {
    host.AddFunction("write", "ss[append]b", [](const fsrv::Args& a, fsrv::Host&) {
        logwrite::WriteLine(a[0].AsString(), a[1].AsString(), a[2].AsBool(true));
        return fsrv::Value();
    });
}
