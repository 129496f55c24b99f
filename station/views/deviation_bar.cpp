#include "views/deviation_bar.h"

#include "base/app_context.h"
#include "widgets/display_rules.h"
#include "plant/zone_table.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace zev {

double bar::toPixels(double twips, int widthPx) { return twips * widthPx / kFieldTwips; }

BarSpan deviationSpan(const AppContext& ctx, int zone) {
    BarSpan s;
    if (zone < 1 || zone > kMaxZones) return s;
    const ZoneRecord& z = ctx.plant.zone(zone);
    if (z.Setpoint == kNoValue || z.ActualValue == kNoValue || z.Mode == 0) return s;
    const int d = z.Setpoint - z.ActualValue;
    s.empty = false;
    s.lengthTwips = std::min(std::abs(d) * bar::kTwipsPerDegree, bar::kMaxTwips);
    s.startTwips = d >= 0 ? bar::kZeroTwips : bar::kZeroTwips - s.lengthTwips;
    s.alarm = z.StatusWord != 0;
    return s;
}

DeviationBar::DeviationBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picDiff"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool DeviationBar::setSpan(const BarSpan& span) {
    if (span == span_) return false;
    span_ = span;
    update();
    return true;
}

QRectF DeviationBar::barRect() const {
    if (span_.empty || span_.lengthTwips <= 0.0) return {};
    const double x0 = bar::toPixels(span_.startTwips, width());
    const double x1 = bar::toPixels(span_.startTwips + span_.lengthTwips, width());
    const double margin = std::max(2.0, height() * 0.15);
    return QRectF(QPointF(x0, margin), QPointF(x1, height() - margin));
}

void DeviationBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xF4, 0xF4, 0xF4));
    // Marks at 5 and 10 degrees either side help to read the length at a glance.
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    for (int degrees : {-10, -5, 5, 10}) {
        const double x = bar::toPixels(bar::kZeroTwips + degrees * bar::kTwipsPerDegree, width());
        p.drawLine(QPointF(x, height() * 0.65), QPointF(x, height()));
    }
    const QRectF r = barRect();
    if (!r.isEmpty()) p.fillRect(r, span_.alarm ? look::red() : look::yellow());
    p.setPen(QPen(Qt::black, 2));
    const double zero = bar::toPixels(bar::kZeroTwips, width());
    p.drawLine(QPointF(zero, 0), QPointF(zero, height()));
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool dispWXDiff(const AppContext& ctx, int zone, DeviationBar* picDiff) {
    return picDiff->setSpan(deviationSpan(ctx, zone));
}

}  // namespace zev
