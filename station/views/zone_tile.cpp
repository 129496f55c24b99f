#include "views/zone_tile.h"

#include "widgets/display_rules.h"
#include "widgets/fit_label.h"

#include <QLabel>
#include <QMouseEvent>

namespace zev {

namespace {
QLabel* valueLabel(QWidget* parent, const char* name) {
    auto* l = new FitLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    applyLook(l, blankLook());  // until the first refresh, and offline
    return l;
}
}  // namespace

ZoneTile::ZoneTile(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("fraZone"));
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x60, 0x60, 0x60));  // the seams between the labels
    setPalette(p);
    number_ = valueLabel(this, "Label1");
    x_ = valueLabel(this, "dispX1");
    w_ = valueLabel(this, "dispW1");
}

void ZoneTile::setZone(int zone) {
    zone_ = zone;
    const QString text = QString::number(zone);
    if (number_->text() != text) number_->setText(text);
}

void ZoneTile::setGroupColours(const QColor& back, const QColor& text) {
    const QPalette& now = number_->palette();
    if (now.color(QPalette::Window) == back && now.color(QPalette::WindowText) == text) return;
    QPalette p = now;
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::WindowText, text);
    number_->setPalette(p);
}

void ZoneTile::setTwoValues(bool two) {
    if (two_ == two) return;
    two_ = two;
    w_->setVisible(two);
    place();
}

void ZoneTile::setFonts(const QFont& number, const QFont& value) {
    if (number_->font() != number) number_->setFont(number);
    // The bold flag belongs to the display rules: keep it.
    for (QLabel* l : {x_, w_}) {
        QFont f = value;
        f.setBold(l->font().bold());
        if (l->font() != f) l->setFont(f);
    }
}

ZoneTile::Parts ZoneTile::partsFor(QSize size, bool two) {
    const int w = size.width(), h = size.height();
    constexpr int seam = 1;
    Parts parts;
    if (two && h * 10 < w * 6) {
        // Flat tile: number on the left, the two values stacked beside it.
        const int nw = w * 3 / 10;
        const int vh = (h - seam) / 2;
        parts.number = QRect(0, 0, nw, h);
        parts.x = QRect(nw + seam, 0, w - nw - seam, vh);
        parts.w = QRect(nw + seam, vh + seam, w - nw - seam, h - vh - seam);
    } else if (two) {
        // Tall tile: number strip on top, values below.
        const int nh = h * 28 / 100;
        const int vh = (h - nh - 2 * seam) / 2;
        parts.number = QRect(0, 0, w, nh);
        parts.x = QRect(0, nh + seam, w, vh);
        parts.w = QRect(0, nh + 2 * seam + vh, w, h - nh - 2 * seam - vh);
    } else {
        const int nh = h * 45 / 100;
        parts.number = QRect(0, 0, w, nh);
        parts.x = QRect(0, nh + seam, w, h - nh - seam);
    }
    return parts;
}

void ZoneTile::place() {
    const Parts parts = partsFor(size(), two_);
    number_->setGeometry(parts.number);
    x_->setGeometry(parts.x);
    if (two_) w_->setGeometry(parts.w);
}

void ZoneTile::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    place();
}

void ZoneTile::mousePressEvent(QMouseEvent* event) { event->accept(); }

void ZoneTile::mouseReleaseEvent(QMouseEvent* event) {
    if (rect().contains(event->position().toPoint())) emit clicked(zone_);
}

}  // namespace zev
