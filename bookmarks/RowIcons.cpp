#include "RowIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap Globe()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x1d, 0x5f, 0xb4), 1.2));
    painter.setBrush(QColor(0x6f, 0xb1, 0xf2));
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1));
    painter.drawEllipse(QRectF(5, 1.5, 6, 13));
    painter.drawLine(QPointF(2, 8), QPointF(14, 8));
    return pixmap;
}

} // namespace

QIcon BookmarkRowIcon()
{
    return QIcon(Globe());
}

QIcon LoginBookmarkRowIcon()
{
    QPixmap pixmap = Globe();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A small gold key across the lower right corner.
    painter.setPen(QPen(QColor(0x8a, 0x5a, 0x00), 1));
    painter.setBrush(QColor(0xf5, 0xc2, 0x2b));
    painter.drawEllipse(QRectF(6.5, 6.5, 5, 5));
    painter.drawRect(QRectF(10.5, 8.5, 5, 1.6));
    painter.drawRect(QRectF(13.5, 10, 1.6, 2.5));
    return QIcon(pixmap);
}
