#include "widgets/fit_label.h"

#include <QPainter>
#include <algorithm>

namespace zev {

QFont FitLabel::drawnFont() const {
    QFont f = font();
    const int room = contentsRect().width() - 2;
    const int need = fontMetrics().horizontalAdvance(text());
    if (need <= room || room <= 0) return f;
    const double scale = static_cast<double>(room) / need;
    if (f.pixelSize() > 0) f.setPixelSize(std::max(6, static_cast<int>(f.pixelSize() * scale)));
    else f.setPointSizeF(std::max(5.0, f.pointSizeF() * scale));
    return f;
}

void FitLabel::paintEvent(QPaintEvent* event) {
    const QFont f = drawnFont();
    if (f == font()) {
        QLabel::paintEvent(event);
        return;
    }
    // The background is already filled (autoFillBackground).
    QPainter p(this);
    p.setFont(f);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(contentsRect(), static_cast<int>(alignment()), text());
}

}  // namespace zev
