// The zone selection controls shared by the views that select zones (alarm
// list now; parameters, trend and diagnosis later): the ten group boxes
// µchkGroup(0..9) and the single-zone box chkSingleZone with its zone number.
// The rule that turns them into selected zones is CheckSelZone
// (link/zone_selection.h). The panel follows the group names, colours and use
// (notifications 0x402..0x404) and reports every change of the selection,
// including a changed assignment of zones to groups (0x401).
#pragma once

#include "plant/zone_selection.h"

#include <QWidget>
#include <array>
#include <vector>

class QCheckBox;
class QPushButton;
class QVBoxLayout;

namespace zev {

struct AppContext;

class ZoneSelectionPanel final : public QWidget {
    Q_OBJECT
public:
    // columns: group boxes per row (groups 1..8, then "without group" and
    // "selection"); with four or more the single-zone box stands to their right,
    // else below them.
    explicit ZoneSelectionPanel(AppContext& ctx, QWidget* parent = nullptr, int columns = 2);

    QCheckBox* groupBox(int index) const { return groups_[static_cast<std::size_t>(index)]; }
    QCheckBox* singleZoneBox() const { return single_; }
    ZoneSelectionControls controls() const;
    // Selected zones (1..ZoneCount) and their count.
    int CheckSelZone(std::vector<bool>& SelectedZones) const;
    // Puts a zone number (limited to 1..ZoneCount) into chkSingleZone's caption.
    void setSingleZone(int zone);
    int singleZone() const { return singleZone_; }
    // A command of the view (e.g. acknowledge) below the single-zone box, where
    // it takes no width of its own.
    void addCommand(QWidget* command);

signals:
    void selectionChanged();

private:
    void showGroupNames();
    void showGroupColours();
    void showGroupUse();
    void stepSingleZone(int step);

    AppContext& ctx_;
    std::array<QCheckBox*, kSelectionBoxCount> groups_{};
    QCheckBox* single_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* up_ = nullptr;
    QVBoxLayout* side_ = nullptr;
    int singleZone_ = 1;
};

}  // namespace zev
