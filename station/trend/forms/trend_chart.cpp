#include "trend/forms/trend_chart.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace zev {

namespace {
bool onRight(int kind) { return kind == KindOutput || kind == KindCurrent; }
}  // namespace

TrendChart::TrendChart(TrendWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
    setObjectName(QStringLiteral("picFore"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(300, 200);
    lupeTimer_ = new QTimer(this);
    lupeTimer_->setObjectName(QStringLiteral("TimerLupe"));
    lupeTimer_->setSingleShot(true);
    lupeTimer_->setInterval(kLupeMs);
    // TimerLupe_Timer: the lens goes 7 s after the last press.
    connect(lupeTimer_, &QTimer::timeout, this, [this] {
        lupeShown_ = false;
        update();
    });
}

QRect TrendChart::plotRect() const {
    const int w = std::max(10, width() - kLeftMargin - kRightMargin);
    const int h = std::max(12, (height() - kTopMargin - kBottomMargin) / 12 * 12);
    return {kLeftMargin, kTopMargin, w, h};
}

bool TrendChart::rescale() {
    const int h = plotRect().height();
    const bool a = TestRescale(left, window_.lines(), h);
    const bool b = TestRescale_Y(right, window_.lines(), h);
    left.computePixels(h);
    right.computePixels(h);
    return a || b;
}

void TrendChart::UpdateTrend() { update(); }

void TrendChart::setLupeEnabled(bool on) {
    lupeEnabled_ = on;
    if (!on && lupeShown_) {
        lupeShown_ = false;
        lupeTimer_->stop();
        update();
    }
}

void TrendChart::setEnergyBars(std::vector<EnergyBar> bars) {
    bars_ = std::move(bars);
    update();
}

void TrendChart::setPlacement(double from, double to) {
    placing_ = true;
    placeFrom_ = from;
    placeTo_ = to;
    update();
}

void TrendChart::clearPlacement() {
    placing_ = placingDrag_ = false;
    update();
}

void TrendChart::resizeEvent(QResizeEvent*) { emit plotSizeChanged(); }

int TrendChart::valueAt(bool leftScale, int y) const {
    const TrendScale& s = leftScale ? left : right;
    return static_cast<int>(std::lround(s.minimum + (plotRect().bottom() - y) / s.pixelsPerUnit));
}

void TrendChart::mousePressEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    const QRect r = plotRect();
    if (placing() && bars_.empty() && at.x() >= r.left() && at.x() <= r.right() && at.y() >= r.top()) {
        placingDrag_ = true;
        emit placed(static_cast<double>(at.x() - r.left() - 1) / std::max(1, window_.lastPoint()));
        return;
    }
    if (bars_.empty() && at.y() >= r.top() && at.y() <= r.bottom() && (at.x() < r.left() || at.x() > r.right())) {
        // picScaleLeft_MouseDown / picScaleRight_MouseDown
        marking_ = at.x() < r.left() ? 0 : 1;
        markFrom_ = markTo_ = at.y();
        update();
        return;
    }
    if (bars_.empty() && at.y() > r.bottom() && at.x() >= r.left() && at.x() <= r.right()) {
        // picTime_MouseDown: the time axis is dragged along x.
        marking_ = 2;
        markFrom_ = markTo_ = at.x();
        return;
    }
    if (!lupeEnabled_ || !plotRect().contains(e->position().toPoint())) return;
    lupeAt_ = e->position().toPoint();
    lupeShown_ = true;
    lupeTimer_->start();
    update();
}

void TrendChart::mouseReleaseEvent(QMouseEvent* e) {
    placingDrag_ = false;
    if (marking_ < 0) return;
    if (marking_ == 2) {
        marking_ = -1;
        const int dx = static_cast<int>(e->position().x()) - markFrom_;
        if (dx != 0) emit timeDragged(dx);
        return;
    }
    markTo_ = std::clamp(static_cast<int>(e->position().y()), plotRect().top(), plotRect().bottom());
    const bool leftScale = marking_ == 0;
    marking_ = -1;
    update();
    if (std::abs(markTo_ - markFrom_) >= 4) emit scaleMarked(leftScale, valueAt(leftScale, markFrom_), valueAt(leftScale, markTo_));
}

void TrendChart::mouseMoveEvent(QMouseEvent* e) {
    if (placingDrag_) {
        const int x = static_cast<int>(e->position().x()) - plotRect().left() - 1;
        emit placed(static_cast<double>(x) / std::max(1, window_.lastPoint()));
        return;
    }
    if (marking_ == 2) return;
    if (marking_ >= 0) {
        markTo_ = std::clamp(static_cast<int>(e->position().y()), plotRect().top(), plotRect().bottom());
        update();
        return;
    }
    if (!lupeShown_) return;
    lupeAt_ = e->position().toPoint();
    update();
}

namespace {
// A note at the top of the plot while the operator marks or places something.
void drawHint(QPainter& p, const QRect& plot, const QString& hint) {
    if (hint.isEmpty()) return;
    p.setPen(Qt::black);
    const int flags = Qt::AlignTop | Qt::AlignHCenter | Qt::TextWordWrap;
    const QRect box = p.fontMetrics().boundingRect(plot.adjusted(8, 8, -8, -8), flags, hint);
    p.fillRect(box.adjusted(-4, -2, 4, 2), QColor(255, 255, 225));
    p.drawText(box, flags, hint);
}
}  // namespace

void TrendChart::paintEvent(QPaintEvent*) {
    if (plain_.size() != size()) plain_ = QImage(size(), QImage::Format_RGB32);
    {
        QPainter p(&plain_);
        render(p);
    }
    QPainter p(this);
    p.drawImage(0, 0, plain_);
    if (lupeShown_) LupeRefresh(p);
    if (placing()) {
        const QRect r = plotRect();
        const int P = std::max(1, window_.lastPoint());
        const int x0 = r.left() + 1 + static_cast<int>(std::lround(placeFrom_ * P));
        const int x1 = r.left() + 1 + static_cast<int>(std::lround(placeTo_ * P));
        const QRect frame(x0, r.top(), std::max(2, x1 - x0 + 1), r.height());
        p.fillRect(frame, QColor(0, 120, 215, 60));
        p.setPen(QPen(QColor(0, 90, 180), 2));
        p.drawRect(frame.adjusted(0, 0, -1, -1));
        drawHint(p, r, placeHint);
    }
    if (marking_ == 0 || marking_ == 1) {
        const QRect r = plotRect();
        const int x = marking_ == 0 ? 0 : r.right() + 1;
        const int w = marking_ == 0 ? r.left() : width() - r.right() - 1;
        p.fillRect(QRect(x, std::min(markFrom_, markTo_), w, std::abs(markTo_ - markFrom_) + 1), QColor(0, 120, 215, 90));
        drawHint(p, r, markHint[marking_]);
    }
}

void TrendChart::render(QPainter& p) {
    const QRect r = plotRect();
    p.fillRect(rect(), palette().window());
    p.fillRect(r, Qt::white);
    if (!bars_.empty()) {
        Draw_PowerBars(p, r);
        return;
    }
    DrawGrid(p, r);
    PaintLines(p, r);
    PaintScales(p, r);
    PaintTime(p, r);
}

void TrendChart::DrawGrid(QPainter& p, const QRect& r) {
    p.setPen(QPen(QColor(210, 210, 210), 1));
    for (int i = 0; i <= 12; ++i) {
        const int y = r.top() + r.height() * i / 12;
        p.drawLine(r.left(), y, r.right(), y);
    }
    for (int i = 0; i <= 10; ++i) {
        const int x = r.left() + r.width() * i / 10;
        p.drawLine(x, r.top(), x, r.bottom());
    }
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

namespace {
// Thin staircases straight into the image: every segment is horizontal or
// vertical, so a pixel run per segment draws it exactly, and many times faster
// than the general path of the painter.
void stairsIntoImage(QImage& image, const QRect& clip, const std::vector<QPoint>& points, QRgb colour) {
    // The rows are addressed from one base pointer: scanLine() per row checks
    // for a shared copy each time, which costs more than the pixel itself on
    // the tall vertical steps.
    uchar* const base = image.bits();
    const qsizetype stride = image.bytesPerLine();
    auto span = [&](int x0, int x1, int y0, int y1) {
        x0 = std::max(x0, clip.left());
        x1 = std::min(x1, clip.right());
        y0 = std::max(y0, clip.top());
        y1 = std::min(y1, clip.bottom());
        if (x0 == x1) {
            uchar* at = base + y0 * stride + x0 * qsizetype(sizeof(QRgb));
            for (int y = y0; y <= y1; ++y, at += stride) *reinterpret_cast<QRgb*>(at) = colour;
            return;
        }
        for (int y = y0; y <= y1; ++y) {
            auto* line = reinterpret_cast<QRgb*>(base + y * stride);
            for (int x = x0; x <= x1; ++x) line[x] = colour;
        }
    };
    for (std::size_t v = 1; v < points.size(); ++v) {
        const QPoint a = points[v - 1], b = points[v];
        span(std::min(a.x(), b.x()), std::max(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.y(), b.y()));
    }
    if (points.size() == 1) span(points[0].x(), points[0].x(), points[0].y(), points[0].y());
}
}  // namespace

void TrendChart::PaintLines(QPainter& p, const QRect& r) {
    p.save();
    p.setClipRect(r);
    p.setRenderHint(QPainter::Antialiasing, smoothed);
    const int bottom = r.bottom();
    std::vector<Vertex> run;
    std::vector<QPoint> points;
    // Thin staircases go straight into the image when the painter draws on one.
    auto* image = dynamic_cast<QImage*>(p.device());
    const bool direct = image && penWidth <= 1 && !p.transform().isScaling() &&
                        (image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32_Premultiplied);
    const QRect clip = r.adjusted(1, 1, -1, -1).translated(p.transform().map(QPoint(0, 0)));
    const auto& lines = window_.lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TrendLine& l = lines[i];
        const TrendScale& s = onRight(l.kind) ? right : left;
        const QColor colour = i < colours.size() ? colours[i] : QColor(Qt::blue);
        p.setPen(QPen(colour, penWidth));
        const bool smooth = smoothed && l.kind == KindActual;
        int start = 0;
        // One point is one pixel column, so a run never has more than two vertices a column.
        while (GetLinePoints(start, l.data, run)) {
            if (!smooth) {
                points.resize(run.size());
                for (std::size_t v = 0; v < run.size(); ++v)
                    points[v] = QPoint(r.left() + 1 + run[v].p, static_cast<int>(std::lround(s.y(bottom, run[v].value))));
                if (direct) {
                    for (QPoint& pt : points) pt = p.transform().map(pt);
                    stairsIntoImage(*image, clip, points, colour.rgb());
                } else {
                    p.drawPolyline(points.data(), static_cast<int>(points.size()));
                }
                continue;
            }
            // Smoothed: Bézier segments through the corners of the steps.
            QPainterPath path(QPointF(r.left() + 1 + run[0].p, s.y(bottom, run[0].value)));
            for (std::size_t v = 1; v < run.size(); v += 2) {
                const QPointF a = path.currentPosition();
                const QPointF b(r.left() + 1 + run[v].p, s.y(bottom, run[std::min(v + 1, run.size() - 1)].value));
                const double dx = (b.x() - a.x()) / 2;
                path.cubicTo(a + QPointF(dx, 0), b - QPointF(dx, 0), b);
            }
            p.drawPath(path);
        }
    }
    p.restore();
}

void TrendChart::PaintScales(QPainter& p, const QRect& r) {
    p.setPen(Qt::black);
    const QFontMetrics fm(font());
    for (int i = 0; i <= 5; ++i) {
        const double fracL = left.minimum + (left.maximum - left.minimum) * i / 5.0;
        const double fracR = right.minimum + (right.maximum - right.minimum) * i / 5.0;
        const int yl = static_cast<int>(left.y(r.bottom(), static_cast<int>(fracL)));
        const int yr = static_cast<int>(right.y(r.bottom(), static_cast<int>(fracR)));
        p.drawText(QRect(0, yl - fm.height() / 2, kLeftMargin - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(static_cast<int>(fracL)));
        p.drawText(QRect(r.right() + 4, yr - fm.height() / 2, kRightMargin - 4, fm.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::number(static_cast<int>(fracR)));
    }
    p.drawText(QRect(0, 0, kLeftMargin - 4, fm.height()), Qt::AlignRight, QStringLiteral("[") + unit + QStringLiteral("]"));
    p.drawText(QRect(r.right() + 2, 0, kRightMargin, fm.height()), Qt::AlignLeft, QStringLiteral("[ % ]"));
}

void TrendChart::PaintTime(QPainter& p, const QRect& r) {
    if (!windowEnd.isValid()) return;
    p.setPen(Qt::black);
    const QFontMetrics fm(font());
    const int span = window_.span();
    for (int i = 0; i <= 4; ++i) {
        const QDateTime t = windowEnd.addSecs(-span + span * i / 4);
        QString text = t.toString(QStringLiteral("HH:mm:ss"));
        if (i == 0) text = t.toString(QStringLiteral("dd.MM ")) + text;
        const int x = r.left() + r.width() * i / 4;
        const int w = fm.horizontalAdvance(text) + 4;
        const int at = std::clamp(x - w / 2, 0, width() - w);
        p.drawText(QRect(at, r.bottom() + 3, w, fm.height()), Qt::AlignCenter, text);
    }
}

void TrendChart::Draw_PowerBars(QPainter& p, const QRect& r) {
    double most = 1.0;
    for (const EnergyBar& b : bars_) most = std::max(most, b.wattHours);
    const int n = static_cast<int>(bars_.size());
    const int slot = std::max(1, r.width() / std::max(1, n));
    const QFontMetrics fm(font());
    for (int i = 0; i < n; ++i) {
        const EnergyBar& b = bars_[static_cast<std::size_t>(i)];
        const int h = static_cast<int>((r.height() - 2 * fm.height() - 8) * b.wattHours / most);
        const QRect bar(r.left() + i * slot + slot / 6, r.bottom() - fm.height() - 4 - h, slot * 2 / 3, h);
        p.fillRect(bar, b.colour);
        p.setPen(Qt::black);
        p.drawRect(bar);
        const double kilo = b.wattHours >= 1000.0 ? b.wattHours / 1000.0 : b.wattHours;
        QString value = QString::number(kilo, 'f', 2);
        if (value.endsWith(QLatin1Char('0'))) value.chop(1);  // "#0.0#"
        value += b.wattHours >= 1000.0 ? QStringLiteral(" kWh") : QStringLiteral(" Wh");
        p.drawText(QRect(r.left() + i * slot, bar.top() - fm.height() - 2, slot, fm.height()), Qt::AlignCenter, value);
        p.drawText(QRect(r.left() + i * slot, r.bottom() - fm.height() - 2, slot, fm.height()), Qt::AlignCenter,
                   fm.elidedText(b.caption, Qt::ElideRight, slot));
    }
}

QString TrendChart::PaintLupeText() const {
    const QRect r = plotRect();
    const int p = std::clamp(lupeAt_.x() - r.left() - 1, 0, window_.lastPoint());
    QStringList text;
    if (windowEnd.isValid()) {
        const DaySecond slot = pointSlot(windowEnd, window_.span(), window_.lastPoint(), p);
        text << QDateTime(slot.day, QTime(0, 0)).addSecs(slot.second).toString(QStringLiteral("dd.MM.yy HH:mm:ss"));
    }
    const auto& lines = window_.lines();
    for (std::size_t i = 0; i < lines.size() && text.size() < 9; ++i) {
        const auto v = lines[i].data.size() > static_cast<std::size_t>(p) ? lines[i].data[static_cast<std::size_t>(p)]
                                                                           : kTrendNoValue;
        if (v == kTrendNoValue) continue;
        text << (i < names.size() ? names[i] : QString::number(lines[i].zone)) + QStringLiteral(": ") + QString::number(v);
    }
    return text.join(QLatin1Char('\n'));
}

void TrendChart::LupeRefresh(QPainter& p) {
    const int d = 160;
    const int zoom = std::max(1, lupeZoom);
    const QRect source(lupeAt_.x() - d / (2 * zoom), lupeAt_.y() - d / (2 * zoom), d / zoom, d / zoom);
    const QRect lens(lupeAt_.x() - d / 2, lupeAt_.y() - d / 2, d, d);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath circle;
    circle.addEllipse(lens);
    p.setClipPath(circle);
    p.drawImage(lens, plain_, source);
    p.setClipping(false);
    p.setPen(QPen(Qt::darkGray, 3));
    p.drawEllipse(lens);
    const QString text = PaintLupeText();
    const QFontMetrics fm(font());
    QRect box = fm.boundingRect(QRect(0, 0, 400, 400), Qt::AlignLeft, text).adjusted(-4, -4, 4, 4);
    box.moveTopLeft(QPoint(lens.right() + 6, lens.top()));
    if (box.right() > width()) box.moveRight(lens.left() - 6);
    p.fillRect(box, QColor(255, 255, 225));
    p.setPen(Qt::black);
    p.drawRect(box);
    p.drawText(box.adjusted(4, 4, -4, -4), Qt::AlignLeft, text);
    p.restore();
}

}  // namespace zev
