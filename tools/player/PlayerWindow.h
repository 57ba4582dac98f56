#pragma once
// The player's window: the picture, a play/pause button, the seek bar and the position (time and
// frame number). It plays at the clip's frame rate with frames the fetcher has read ahead; a
// frame that is late holds the picture and the clock resumes from it, so the window stays
// responsive however slow the filters are. Keys: space plays and pauses, the arrow keys step
// one frame, Home and End go to the first and last frame.
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <memory>

#include "FrameFetcher.h"
#include "FrameServer.h"
#include "PlayTime.h"

class QLabel;
class QSlider;
class QToolButton;

namespace player {

class PictureView;

class PlayerWindow : public QWidget {
  public:
    // Opens the script through the installed frame server and shows its first frame; when that
    // fails the window shows why, in the frame server's words, instead of a picture.
    explicit PlayerWindow(const std::string& scriptPath);
    // Stops the fetching thread before the script closes.
    ~PlayerWindow() override;

    void Play();
    void Pause();
    void TogglePlay() { playing_ ? Pause() : Play(); }
    // Shows frame n (kept within the clip) as soon as it is read; playing goes on from there.
    void Seek(int n);
    void Step(int delta);

    bool Playing() const { return playing_; }
    // The frame on screen and its picture; -1 and a null picture before the first.
    int ShownFrame() const { return shown_; }
    const QImage& ShownPicture() const { return shownPicture_; }
    // The error on screen instead of the picture; empty when a picture is shown.
    std::string ErrorText() const;
    // The clip's description; null when the script could not be opened.
    const FsVideoInfo* Info() const { return script_ ? &script_->Info() : nullptr; }
    // The fetching thread is inside a frame-server call.
    bool Fetching() const { return fetcher_ && fetcher_->Busy(); }
    PictureView* View() const { return view_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QWidget* MakeControls();
    void SizeToClip();
    // Shows the wanted frame once it is read and, when playing, due; then asks for the next.
    void Pump();
    void Show(int n, const QImage& picture);
    void ShowError(const QString& text);
    void UpdatePosition(int n);
    std::chrono::steady_clock::time_point DueTime(int n) const;

    std::unique_ptr<ClipScript> script_;
    std::unique_ptr<FrameFetcher> fetcher_;
    PictureView* view_ = nullptr;
    QToolButton* play_ = nullptr;
    QSlider* seek_ = nullptr;
    QLabel* position_ = nullptr;
    QTimer timer_;
    FrameRate rate_;
    int count_ = 0;
    int shown_ = -1;
    QImage shownPicture_;
    int target_ = -1;       // the frame to show next; -1 when none is wanted
    bool seeking_ = false;  // target_ was asked for by a seek or a step, not by the clock
    bool playing_ = false;
    // The clock: frame anchorFrame_ was shown at anchorTime_.
    int anchorFrame_ = 0;
    std::chrono::steady_clock::time_point anchorTime_;
};

}  // namespace player
