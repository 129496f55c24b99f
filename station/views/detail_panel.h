// The Detail view of the overview: a page of 15 face plates and the scroll bar
// `scrBereich` that moves the page in steps of 15 zones (the first zone shown is
// 15 x the scroll value, plus one).
#pragma once

#include "views/zone_field_names.h"

#include <QWidget>
#include <array>

class QScrollBar;

namespace zev {

struct AppContext;
class FacePlate;

class DetailPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPlates = 15;

    explicit DetailPanel(AppContext& ctx, QWidget* parent = nullptr);

    QScrollBar* scrBereich() const { return scroll_; }
    FacePlate* plate(int position) const { return plates_.at(static_cast<std::size_t>(position)); }
    // Zone number before the first plate (15 x the scroll value).
    int firstZone() const { return first_; }

    // Scroll range for the zone count and the plates refilled.
    void SetZonesPosition();
    // Fills the plates from the first zone: numbers, names, group colours;
    // plates beyond the last zone are hidden.
    void updScroll();
    // Names only (zone names changed).
    void setNames();
    // "X[" + unit + "]", "W[" + unit + "]".
    void setUnit();
    // Writes the values of the shown plates; nothing is written that did not change.
    void RefreshValues();
    // Empties the value fields (offline: values of the past are not shown).
    void clearValues();

signals:
    void zoneClicked(int zone);
    void groupClicked(int group);
    // The operator moved the page (scrBereich_Change): the overview refills the
    // plates (updScroll) and refreshes them.
    void pageChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placePlates();
    int zoneCount() const;

    AppContext& ctx_;
    ZoneFieldNames names_;
    QWidget* area_;
    QScrollBar* scroll_;
    std::array<FacePlate*, kPlates> plates_{};
    int first_ = 0;
};

}  // namespace zev
