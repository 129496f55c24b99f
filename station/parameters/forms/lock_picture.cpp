#include "parameters/forms/lock_picture.h"

#include <QPainter>
#include <QPen>

namespace zev {

QPixmap lockPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // Shackle above, body below.
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), s * 0.1));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(s * 0.28, s * 0.08, s * 0.44, s * 0.52), 0, 180 * 16);
    p.drawLine(QPointF(s * 0.28, s * 0.34), QPointF(s * 0.28, s * 0.46));
    p.drawLine(QPointF(s * 0.72, s * 0.34), QPointF(s * 0.72, s * 0.46));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xC8, 0x96, 0x1E));
    p.drawRoundedRect(QRectF(s * 0.16, s * 0.44, s * 0.68, s * 0.5), s * 0.08, s * 0.08);
    p.setBrush(QColor(0x40, 0x30, 0x10));
    p.drawEllipse(QRectF(s * 0.44, s * 0.58, s * 0.12, s * 0.12));
    p.drawRect(QRectF(s * 0.475, s * 0.66, s * 0.05, s * 0.16));
    return pixmap;
}

}  // namespace zev
