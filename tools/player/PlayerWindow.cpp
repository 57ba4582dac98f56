#include "PlayerWindow.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "PictureView.h"

namespace player {

using Clock = std::chrono::steady_clock;

PlayerWindow::PlayerWindow(const std::string& scriptPath) {
    std::string error;
    script_ = OpenInstalledScript(scriptPath, error);
    setWindowTitle(QFileInfo(QString::fromStdString(scriptPath)).fileName());
    setFocusPolicy(Qt::StrongFocus);
    view_ = new PictureView(this);
    view_->setObjectName("picture");
    QWidget* controls = MakeControls();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_, 1);
    layout->addWidget(controls);
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { Pump(); });
    if (!script_) {
        ShowError(QString::fromStdString(error));
        controls->setEnabled(false);
        return;
    }
    const FsVideoInfo& info = script_->Info();
    rate_ = UsableRate(info.fps_numerator, info.fps_denominator);
    count_ = info.frame_count;
    seek_->setRange(0, count_ - 1);
    SizeToClip();
    UpdatePosition(0);
    // The news of a read frame is posted to this window's thread; once the fetcher has stopped,
    // nothing is posted any more, and what is still queued goes with the window.
    fetcher_ = std::make_unique<FrameFetcher>(*script_, [this] {
        QMetaObject::invokeMethod(
            this, [this] { Pump(); }, Qt::QueuedConnection);
    });
}

PlayerWindow::~PlayerWindow() {
    timer_.stop();
    fetcher_.reset();
}

QWidget* PlayerWindow::MakeControls() {
    auto* bar = new QWidget(this);
    play_ = new QToolButton(bar);
    play_->setObjectName("play");
    play_->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    play_->setToolTip("Play or pause (space)");
    play_->setFocusPolicy(Qt::NoFocus);
    connect(play_, &QToolButton::clicked, this, [this] { TogglePlay(); });
    seek_ = new QSlider(Qt::Horizontal, bar);
    seek_->setObjectName("seek");
    seek_->setFocusPolicy(Qt::NoFocus);
    connect(seek_, &QSlider::valueChanged, this, [this](int n) { Seek(n); });
    position_ = new QLabel(bar);
    position_->setObjectName("position");
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(6, 4, 8, 4);
    layout->addWidget(play_);
    layout->addWidget(seek_, 1);
    layout->addWidget(position_);
    return bar;
}

// The picture at the clip's own size, or smaller at the same aspect when the screen is smaller.
void PlayerWindow::SizeToClip() {
    const QSize clip(script_->Info().width, script_->Info().height);
    QSize room = clip;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // Leave room for the window's frame and the controls under the picture.
        const int controls = layout()->itemAt(1)->sizeHint().height();
        room = screen->availableGeometry().size() - QSize(32, 64 + controls);
    }
    view_->SetPreferredSize(clip.width() <= room.width() && clip.height() <= room.height()
                                ? clip
                                : clip.scaled(room, Qt::KeepAspectRatio));
    resize(sizeHint());
}

void PlayerWindow::Play() {
    if (!fetcher_ || playing_) return;
    playing_ = true;
    play_->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    if (target_ >= 0) return Pump();  // a seek is on its way: playing goes on from it
    if (shown_ < 0 || shown_ + 1 >= count_) return Seek(0);
    anchorFrame_ = shown_;
    anchorTime_ = Clock::now();
    target_ = shown_ + 1;
    fetcher_->Want(target_);
    Pump();
}

void PlayerWindow::Pause() {
    playing_ = false;
    timer_.stop();
    if (!seeking_) target_ = -1;
    play_->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
}

void PlayerWindow::Seek(int n) {
    if (!fetcher_) return;
    target_ = std::clamp(n, 0, count_ - 1);
    seeking_ = true;
    timer_.stop();
    fetcher_->Want(target_);
    UpdatePosition(target_);
    Pump();
}

void PlayerWindow::Step(int delta) {
    Pause();
    Seek((target_ >= 0 ? target_ : shown_) + delta);
}

Clock::time_point PlayerWindow::DueTime(int n) const {
    return anchorTime_ +
           std::chrono::duration_cast<Clock::duration>(FrameTime(int64_t(n) - anchorFrame_, rate_));
}

void PlayerWindow::Pump() {
    if (!fetcher_ || target_ < 0) return;
    const Clock::time_point now = Clock::now();
    if (playing_ && !seeking_ && now < DueTime(target_)) {
        timer_.start(std::chrono::ceil<std::chrono::milliseconds>(DueTime(target_) - now));
        return;
    }
    QImage picture;
    std::string error;
    const FrameFetcher::State state = fetcher_->Get(target_, picture, error);
    if (state == FrameFetcher::State::Pending) return;  // the fetcher's news brings us back
    const int n = target_;
    target_ = -1;
    const bool sought = std::exchange(seeking_, false);
    if (state == FrameFetcher::State::Failed) {
        ShowError(QString::fromStdString(error));
        return Pause();
    }
    // A sought frame starts the clock; so does a late one, rather than rushing the next ones.
    if (sought || now - DueTime(n) > FrameTime(1, rate_)) {
        anchorFrame_ = n;
        anchorTime_ = now;
    }
    Show(n, picture);
    if (!playing_) return;
    if (n + 1 >= count_) return Pause();
    target_ = n + 1;
    fetcher_->Want(target_);
    Pump();
}

void PlayerWindow::Show(int n, const QImage& picture) {
    shown_ = n;
    shownPicture_ = picture;
    view_->SetPicture(picture);
    UpdatePosition(n);
}

void PlayerWindow::ShowError(const QString& text) {
    view_->SetMessage(text);
}

std::string PlayerWindow::ErrorText() const {
    return view_->Message().toStdString();
}

void PlayerWindow::UpdatePosition(int n) {
    // While the user drags the handle, it stays where the hand puts it.
    if (!seek_->isSliderDown()) {
        const QSignalBlocker quiet(seek_);
        seek_->setValue(n);
    }
    position_->setText(QString("%1 / %2   frame %3 / %4")
                           .arg(QString::fromStdString(FrameTimeText(n, rate_)),
                                QString::fromStdString(FrameTimeText(count_, rate_)))
                           .arg(n)
                           .arg(count_ - 1));
}

void PlayerWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
            return TogglePlay();
        case Qt::Key_Left:
            return Step(-1);
        case Qt::Key_Right:
            return Step(1);
        case Qt::Key_Home:
            return Seek(0);
        case Qt::Key_End:
            return Seek(count_ - 1);
        default:
            QWidget::keyPressEvent(event);
    }
}

}  // namespace player
