#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include "ui/MainForm.h"

QIcon ApplicationIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A disc with a film frame over it.
    painter.setBrush(QColor(60, 110, 180));
    painter.setPen(QPen(QColor(20, 40, 80), 1.5));
    painter.drawEllipse(QRectF(2, 2, 28, 28));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(13, 13, 6, 6));
    painter.setBrush(QColor(240, 200, 60));
    painter.drawRect(QRectF(17, 18, 13, 11));
    return QIcon(pixmap);
}
