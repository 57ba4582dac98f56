#include "builtins/Builtins.h"

namespace fsrv::script {

void RegisterBuiltins(Interpreter& in) {
    RegisterValueFunctions(in);
    RegisterClipFunctions(in);
    RegisterRunTimeFunctions(in);
    RegisterPluginLoading(in);
}

}  // namespace fsrv::script
