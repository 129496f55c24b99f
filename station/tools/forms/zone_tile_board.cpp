#include "tools/forms/zone_tile_board.h"

#include "base/app_context.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "widgets/group_look.h"

#include <QMouseEvent>
#include <QPainter>

namespace zev {

namespace {
constexpr int kGap = 2;
constexpr int kDecadeGap = 8;  // between the two decades of a row of twenty
}  // namespace

ZoneTileBoard::ZoneTileBoard(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("picZones"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 200);
}

int ZoneTileBoard::zoneCount() const { return std::clamp(ctx_.plant.ZoneCount, 0, kMaxZones); }

// Rows of one decade up to 150 zones, of two decades above, so a zone's last
// digit keeps its column as on the overview.
int ZoneTileBoard::columns() const { return zoneCount() <= 150 ? 10 : 20; }

QRect ZoneTileBoard::tileRect(int zone) const {
    if (zone < 1 || zone > zoneCount()) return {};
    const int cols = columns();
    const int rows = std::max(1, (zoneCount() + cols - 1) / cols);
    const int extra = cols == 20 ? kDecadeGap : 0;
    const int w = (width() - extra - kGap) / cols - kGap;
    const int h = std::min((height() - kGap) / rows - kGap, 3 * w / 2);
    const int col = (zone - 1) % cols, row = (zone - 1) / cols;
    const int x = kGap + col * (w + kGap) + (col >= 10 ? extra : 0);
    return {x, kGap + row * (h + kGap), w, h};
}

int ZoneTileBoard::zoneAt(const QPoint& p) const {
    // Tiles are laid out by number; a short scan keeps the rule in one place.
    for (int z = 1; z <= zoneCount(); ++z)
        if (tileRect(z).contains(p)) return z;
    return 0;
}

void ZoneTileBoard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    QFont number = font();
    const QRect probe = tileRect(1);
    number.setPixelSize(std::clamp(probe.height() / 3, 9, 18));
    number.setBold(true);
    QFont name = font();
    name.setPixelSize(std::clamp(probe.height() / 4, 8, 13));
    for (int z = 1; z <= zoneCount(); ++z) {
        const QRect r = tileRect(z);
        const ZoneRecord& zone = ctx_.plant.zone(z);
        const int g = shownGroup(ctx_, z);
        p.fillRect(r, groupColour(ctx_, g));
        p.setPen(groupTextColour(ctx_, g));
        p.setFont(number);
        const QRect top(r.x(), r.y(), r.width(), r.height() / 2);
        p.drawText(top, Qt::AlignCenter, QString::number(z));
        p.setFont(name);
        const QRect bottom(r.x() + 1, r.y() + r.height() / 2, r.width() - 2, r.height() / 2);
        p.drawText(bottom, Qt::AlignCenter, p.fontMetrics().elidedText(zone.Name, Qt::ElideRight, bottom.width()));
        if (zone.Selected) {
            // Marked zones wear a frame in the text colour, which shows on any group colour.
            p.setPen(QPen(groupTextColour(ctx_, g), 3));
            p.drawRect(r.adjusted(1, 1, -2, -2));
        } else {
            p.setPen(QPen(Qt::gray, 1));
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
}

void ZoneTileBoard::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    lastZone_ = zoneAt(event->position().toPoint());
    if (lastZone_ && onTile) onTile(lastZone_, true);
    update();
}

void ZoneTileBoard::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
    const int z = zoneAt(event->position().toPoint());
    if (z == 0 || z == lastZone_) return;
    // A drag that began off the tiles starts with the first tile it reaches.
    const bool first = lastZone_ == 0;
    lastZone_ = z;
    if (onTile) onTile(z, first);
    update(tileRect(z));
}

void ZoneTileBoard::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
    lastZone_ = 0;
}

}  // namespace zev
