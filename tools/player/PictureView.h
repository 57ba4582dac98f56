#pragma once
// The picture area of the player: the current frame, as large as the area allows at the
// picture's own aspect and centred on black, or a message (a script error) in its place.
#include <QImage>
#include <QString>
#include <QWidget>

namespace player {

class PictureView : public QWidget {
  public:
    explicit PictureView(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);
    // A non-empty message is shown instead of the picture until the next picture arrives.
    void SetMessage(const QString& message);
    const QString& Message() const { return message_; }
    // The size the window asks for this area (the clip's size, or less on a small screen).
    void SetPreferredSize(QSize size);
    QSize sizeHint() const override { return preferred_; }
    // Where the picture is painted: the largest rectangle of its aspect that fits, centred.
    QRect PictureRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
    QString message_;
    QSize preferred_{640, 360};
};

}  // namespace player
