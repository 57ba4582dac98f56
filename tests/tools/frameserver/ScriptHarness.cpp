#include "ScriptHarness.h"

#include <gtest/gtest.h>

#include "language/ScriptError.h"
#include "support/GeneratedMedia.h"

namespace fstest {

ScriptRun RunScript(const std::string& text) {
    ScriptRun run;
    run.interpreter = std::make_unique<fsrv::script::Interpreter>("t.avs");
    auto notes = run.notes;
    run.interpreter->AddFunction("Note", ".", [notes](const fsrv::Args& a, fsrv::Host&) {
        notes->push_back(a[0].IsString() ? a[0].AsString() : "(not a string)");
        return fsrv::Value();
    });
    try {
        run.interpreter->Run(std::string("LoadPlugin(\"") + FS_SOURCE_PLUGIN + "\")\nPattern()");
        run.clip = run.interpreter->Run(text);
    } catch (const fsrv::ScriptError& e) {
        run.error = e.what();
    }
    return run;
}

std::string Evaluate(const std::string& expression) {
    ScriptRun run = RunScript("Note(string(" + expression + "))\nPattern()");
    return run.error.empty() ? run.notes->at(0) : run.error;
}

int LumaAt(const fsrv::ClipPtr& clip, int n, int x, int y) {
    const fsrv::FramePtr f = clip->GetFrame(n);
    return f->Data(fsrv::kY)[size_t(y) * f->Pitch(fsrv::kY) + x];
}

std::string ClipsFolder() {
    const auto media = testing_support::MakeMedia(FS_MEDIA_SCRIPT, "frameserver");
    EXPECT_EQ(media.Error, "");
    return media.Folder;
}

}  // namespace fstest
