#include "scripts/ScriptText.h"
#include "scripts/avs.h"

void MakeAnalysisScript(TScriptLines& lines, const std::string& d2vPath, const std::string& logPath,
                        const TScriptEnvironment& env) {
    lines.clear();
    lines.push_back(LoadPluginLine(env, "mpeg2dec3dg.dll"));
    lines.push_back(LoadPluginLine(env, "decomb.dll"));
    lines.push_back(LoadPluginLine(env, "chr.dll"));
    lines.push_back("file=" + QuotedScriptPath(logPath));
    lines.push_back("sep=\"-\"");
    lines.push_back("function IsMoving() {");
    lines.push_back("  return (diff < 1.0) ? false : true}");
    lines.push_back("mpeg2source(" + QuotedScriptPath(d2vPath) + ")");
    lines.push_back("c = SelectRangeEvery(180,18)");
    lines.push_back("global clip = c");
    lines.push_back(
        "c = FrameEvaluate(c,\"write(file,string(IsCombed(threshold=30))+sep+string(IsMoving()),"
        "append=true)\")");
    lines.push_back(
        "c = FrameEvaluate(c,\"global diff = 0.50*YDifferenceFromPrevious(clip) + "
        "0.25*UDifferenceFromPrevious(clip) + 0.25*VDifferenceFromPrevious(clip)\")");
    lines.push_back("crop(c,0,0,4,4)");
}

void MakeHybridTestScript(TScriptLines& lines, const std::string& d2vPath,
                          const std::string& trimExpression, const TScriptEnvironment& env) {
    lines.clear();
    lines.push_back(LoadPluginLine(env, "mpeg2dec3dg.dll"));
    lines.push_back(LoadPluginLine(env, "decomb.dll"));
    lines.push_back("");
    lines.push_back("function getOrder(clip c) {");
    lines.push_back("order = GetParity(c) ? 1 : 0");
    lines.push_back("return order }");
    lines.push_back("");
    lines.push_back("mpeg2source(" + QuotedScriptPath(d2vPath) + ")");
    lines.push_back("SelectRangeEvery(180,18)");
    lines.push_back(trimExpression);
    lines.push_back(
        "Telecide(order=getOrder(),guide=0,back=0,post=0).Decimate(cycle=2,debug=true,"
        "threshold=0.0)");
    lines.push_back("crop(0,0,4,4)");
}
