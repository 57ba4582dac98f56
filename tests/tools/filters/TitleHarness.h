#pragma once
// The planner's frame-server scripts run on generated titles through the installed frame server
// (system/avisynth.dll, through its C interface) and the installed filter plugins, in an
// installation folder of the test's own. The titles are YUV4MPEG2 clips that the frame server
// test source serves under the decoder's name until the decoder plugin exists; then Title's
// source becomes the title's index and InstallFilters stops copying the stand-in, and nothing
// else changes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HostApi.h"
#include "frameserver_plugin.h"
#include "scripts/avs.h"
#include "support/TestEnv.h"

namespace filtertest {

struct Title {
    std::string source;  // what mpeg2source() opens
    bool ntsc = true;
};

// A title of tests/media/make_filter_clips.sh by name ("hard", "letterbox", ...).
Title ClipTitle(const std::string& folder, const std::string& name);

// The installed frame server, serving one script file at a time.
class Server {
  public:
    Server();
    // Opens the script; "" or the frame server's error text.
    std::string Open(const std::string& scriptPath);
    ~Server();
    int Frames() const { return frames_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    double Rate() const { return rate_; }
    // A copy of frame n; throws with the error text when it cannot be served.
    std::shared_ptr<fsrv::Frame> Frame(int n);
    // Serves every frame, as the job runner's analysis runs do; "" or the first error.
    std::string ServeAll();

  private:
    std::unique_ptr<HostApi> api_;
    void* script_ = nullptr;
    int frames_ = 0, width_ = 0, height_ = 0;
    double rate_ = 0;
};

// A test case with an installation folder (filters/ holding the installed plugins and the
// decoder), the scripts' environment pointing at it, and the generated titles.
class TitleCase : public testing::Test {
  protected:
    void SetUp() override;
    // Saves the lines as the planner does (as `name` in the folder) and opens them.
    void Open(const TScriptLines& lines, const std::string& name = "_.avs");
    void OpenOn(Server& server, const TScriptLines& lines, const std::string& name);
    TMovieScriptParams MovieOf(const Title& title, uint8_t sourceType) const;

    testing_support::TempDir dir_;
    TScriptEnvironment env_;
    std::string clips_;
    Server server_;
};

// Luma PSNR of two frames of one size, in dB (99 for identical frames), leaving out `margin`
// rows at the top and at the bottom.
double LumaPsnr(const fsrv::Frame& a, const fsrv::Frame& b, int margin = 0);

}  // namespace filtertest
