// The Total view of the overview: one tile per zone with one or two values.
// Up to 150 zones the tab strip `SSTab1(1)` chooses the pair of values; above
// 150 zones `SSTab1(0)` chooses the single value each tile shows.
#pragma once

#include "views/zone_field_names.h"

#include <QWidget>
#include <vector>

class QTabBar;

namespace zev {

struct AppContext;
class ZoneTile;

class TotalPanel : public QWidget {
    Q_OBJECT
public:
    // Tabs of SSTab1(1) (two values per zone).
    enum PairTab { kPairPowerCurrent = 0, kPairDifference = 1, kPairSetpointActual = 2 };
    // Tabs of SSTab1(0) (one value per zone).
    enum SingleTab { kSingleCurrent = 0, kSinglePower = 1, kSingleDifference = 2, kSingleSetpoint = 3,
                     kSingleActual = 4 };

    explicit TotalPanel(AppContext& ctx, QWidget* parent = nullptr);

    QTabBar* SSTab1(int index) const { return index == 0 ? single_ : pair_; }
    // More than 150 zones: one value per tile, SSTab1(0) shown.
    bool singleValue() const { return singleValue_; }
    int tileCount() const { return static_cast<int>(tiles_.size()); }
    ZoneTile* tile(int position) const { return tiles_.at(static_cast<std::size_t>(position)); }

    // Tab captions in the current language with the temperature unit.
    void setCaptions();
    // Tiles for the current zone count, laid out for the panel's size, with
    // their numbers and group colours.
    void SetZonesPosition();
    // Zone names as the tiles' tool tips (the tiles themselves show numbers).
    void setNames();
    // Writes the values of every tile; nothing is written that did not change.
    void RefreshValues();
    // Empties the value fields (offline: values of the past are not shown).
    void clearValues();

signals:
    void zoneClicked(int zone);
    // The operator chose another tab of SSTab1 (SSTab1_Click): the values
    // change meaning.
    void valuesChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeTiles();
    void setGroupColours();
    // Accessible names of the tiles' fields for the value the tab shows.
    void setFieldNames();

    AppContext& ctx_;
    ZoneFieldNames names_;
    QTabBar* single_;
    QTabBar* pair_;
    QWidget* area_;
    std::vector<ZoneTile*> tiles_;
    bool singleValue_ = false;
};

}  // namespace zev
