#include "scripts/ToolPaths.h"

#include "jobs/ProgramValues.h"
#include "platform/paths.h"

std::string ToolPath(const std::string& programDir, const std::string& relative) {
    std::string path = programDir;
    if (path.empty() || path.back() != platform::kPathDelim) path += platform::kPathDelim;
    return path + relative;
}

std::string FilterPluginPath(const std::string& programDir, const std::string& pluginFile) {
    return ToolPath(programDir, std::string("filters") + platform::kPathDelim + pluginFile);
}

std::string VDubModLocation(const std::string& programDir) {
    return ToolPath(programDir,
                    std::string("VDubMod") + platform::kPathDelim + "VirtualDubMod.exe");
}

std::string VDubModCommandLine(TVDubModRun run, const std::string& vdubPath,
                               const std::string& jobFile, const std::string& tempDir) {
    const std::string script = " /s\"" + jobFile + "\"";
    switch (run) {
        case TVDubModRun::Analysis:
            return vdubPath + " /nowrite /x" + script;
        case TVDubModRun::Logged:
            return vdubPath + " /log\"" + ToolPath(tempDir, "frames.log") + "\" /x" + script;
        case TVDubModRun::Plain:
            break;
    }
    return vdubPath + " /x" + script;
}

std::string VDubModCommandLine(TVDubModRun run, const std::string& jobFile,
                               const std::string& tempDir) {
    return VDubModCommandLine(run, Program().VDubModPath, jobFile, tempDir);
}
