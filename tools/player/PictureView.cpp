#include "PictureView.h"

#include <QPainter>

namespace player {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(64, 48);
}

void PictureView::SetPicture(const QImage& picture) {
    picture_ = picture;
    message_.clear();
    update();
}

void PictureView::SetMessage(const QString& message) {
    message_ = message;
    update();
}

void PictureView::SetPreferredSize(QSize size) {
    preferred_ = size;
    updateGeometry();
}

QRect PictureView::PictureRect() const {
    if (picture_.isNull()) return {};
    const QSize fitted = picture_.size().scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!message_.isEmpty()) {
        painter.setPen(Qt::white);
        painter.drawText(rect().adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap,
                         message_);
        return;
    }
    if (picture_.isNull()) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(PictureRect(), picture_);
}

}  // namespace player
