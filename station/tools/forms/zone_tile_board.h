// The group editor's zone tiles, painted in one widget: each tile in its
// group's colour with a contrasting text, marked zones framed. A press on a tile
// and every further tile the pressed pointer reaches are reported (touch
// arrives as the mouse events Qt synthesises from it).
#pragma once

#include <QWidget>
#include <functional>

namespace zev {

struct AppContext;

class ZoneTileBoard final : public QWidget {
    Q_OBJECT
public:
    explicit ZoneTileBoard(AppContext& ctx, QWidget* parent = nullptr);

    // first: the tile pressed (true) or reached by the drag (false).
    std::function<void(int zone, bool first)> onTile;

    // The zone under a point, 0 for none; and a zone's tile.
    int zoneAt(const QPoint& p) const;
    QRect tileRect(int zone) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int columns() const;
    int zoneCount() const;

    AppContext& ctx_;
    int lastZone_ = 0;
    bool dragging_ = false;
};

}  // namespace zev
