#pragma once
// The planner's frame-server scripts on generated DVD titles through the installed frame server
// (system/avisynth.dll, through its C interface), the installed decoder and filter plugins, in an
// installation folder of the test's own. Each title is indexed by the installed indexer with the
// planner's own command; ffmpeg's decodes of the same streams (YUV4MPEG2 files beside them) are
// the references the frames are judged by.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "client/ScriptClient.h"
#include "frameserver_plugin.h"
#include "scripts/avs.h"
#include "support/TestEnv.h"

namespace filtertest {

struct Title {
    std::string source;  // what mpeg2source() opens: the title's index
    bool ntsc = true;
};

// The installed frame server, serving one script file at a time.
class Server {
  public:
    Server();
    // Opens the script; "" or the frame server's error text.
    std::string Open(const std::string& scriptPath);
    int Frames() const { return script_ ? script_->Info().frame_count : 0; }
    int Width() const { return script_ ? script_->Info().width : 0; }
    int Height() const { return script_ ? script_->Info().height : 0; }
    double Rate() const;
    // 1 when frame n is top field first, 0 when not, -1 on an error.
    int Parity(int n) { return script_->Parity(n); }
    // A copy of frame n; throws with the error text when it cannot be served.
    std::shared_ptr<fsrv::Frame> Frame(int n);
    // Serves every frame, as the job runner's analysis runs do; "" or the first error.
    std::string ServeAll();

  private:
    std::shared_ptr<fsclient::FrameServerLibrary> fs_;
    std::unique_ptr<fsclient::ClipScript> script_;
};

// A test case with an installation folder (filters/ holding the installed decoder and filter
// plugins), the scripts' environment pointing at it, and the titles of
// tests/media/make_filter_clips.sh.
class TitleCase : public testing::Test {
  public:
    // Frame n of ffmpeg's decode `clip` ("film.y4m", ...).
    std::shared_ptr<fsrv::Frame> Reference(const std::string& clip, int n) const;

  protected:
    void SetUp() override;
    // The title `name` indexed ("hard", "letterbox", ...); "soft" is the soft-pulldown title
    // as the index gives it, "film" the same with the planner's forced-FILM rewrite.
    Title TitleOf(const std::string& name);
    // Saves the lines as the planner does (as `name` in the folder) and opens them.
    void Open(const TScriptLines& lines, const std::string& name = "_.avs");
    void OpenOn(Server& server, const TScriptLines& lines, const std::string& name);
    TMovieScriptParams MovieOf(const Title& title, uint8_t sourceType) const;
    // The title's plain decode, then `filter` ("" or ".crop(...)" and so on).
    TScriptLines SourceOnly(const Title& title, const std::string& filter = "") const;

    testing_support::TempDir dir_;
    TScriptEnvironment env_;
    std::string clips_;
    Server server_;

  private:
    std::map<std::string, Title> titles_;
};

// Luma PSNR of two frames of one size, in dB (99 for identical frames), leaving out `margin`
// rows at the top and at the bottom.
double LumaPsnr(const fsrv::Frame& a, const fsrv::Frame& b, int margin = 0);

}  // namespace filtertest
