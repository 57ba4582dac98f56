// LoadPlugin: a plugin is a shared object exporting the registration function of
// frameserver_plugin.h; it registers its functions on the script's host.
#include "builtins/Builtins.h"
#include "language/Interpreter.h"

namespace fsrv::script {
namespace {

using InitFn = int (*)(int, Host*);

void LoadPlugin(Interpreter& in, const std::string& path) {
    if (in.HasLibrary(path)) return;
    std::string whyNot;
    auto library = platform::SharedLibrary::Load(path, whyNot);
    if (!library) throw Error("LoadPlugin: " + whyNot);
    const auto init = library->Function<InitFn>(FRAMESERVER_PLUGIN_INIT_NAME);
    if (!init)
        throw Error("LoadPlugin: " + path + " is no frame-server plugin (it exports no " +
                    FRAMESERVER_PLUGIN_INIT_NAME + ")");
    // Kept before it registers anything: the functions it registers are its code.
    in.KeepLibrary(std::move(library));
    const int version = init(kInterfaceVersion, &in);
    if (version != kInterfaceVersion)
        throw Error("LoadPlugin: " + path + " was built for plugin interface " +
                    std::to_string(version) + ", this frame server has " +
                    std::to_string(kInterfaceVersion));
}

}  // namespace

void RegisterPluginLoading(Interpreter& in) {
    in.AddFunction("LoadPlugin", "s", [&in](const Args& a, Host&) {
        LoadPlugin(in, a[0].AsString());
        return Value();
    });
}

}  // namespace fsrv::script
