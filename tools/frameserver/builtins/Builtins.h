#pragma once
// The functions every script has without loading a plugin, registered with the same signatures
// and the same binding rules as plugin functions.
namespace fsrv::script {

class Interpreter;

void RegisterBuiltins(Interpreter& in);

// One group each, in its own file.
void RegisterValueFunctions(Interpreter& in);    // round, float, string, width, GetParity ...
void RegisterClipFunctions(Interpreter& in);     // Trim, SelectRangeEvery, crop, resizers
void RegisterRunTimeFunctions(Interpreter& in);  // FrameEvaluate, *DifferenceFromPrevious
void RegisterPluginLoading(Interpreter& in);     // LoadPlugin

}  // namespace fsrv::script
