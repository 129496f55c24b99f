// The group editor (frmGroup): zone tiles in their group colours, one option
// per group (µoptSelGrp) and one for marking zones; a press on a tile and a drag across
// further tiles assigns them to the chosen group (stored at once) or marks them.
// Leaving it after assignments tells the other views (0x401).
#pragma once

#include "widgets/view.h"

#include <array>

class QAbstractButton;
class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace zev {

struct AppContext;
class ZoneTileBoard;

class GroupEditor final : public View {
    Q_OBJECT
public:
    static constexpr int kSelectionOption = 9;  // the option after groups 0..8

    explicit GroupEditor(AppContext& ctx, QWidget* parent = nullptr);

    void leaving() override;
    bool entering(int previousTab) override;

    void optSelGrp_Click(int option);
    void cmdRenameZones_Click();
    void optZoneNameView_Click(bool names);

    bool changed() const { return changed_; }
    int option() const { return option_; }
    ZoneTileBoard* board() const { return board_; }
    QRadioButton* groupOption(int option) const { return options_[static_cast<std::size_t>(option)]; }
    QPushButton* renameButton() const { return rename_; }

private:
    void tile(int zone, bool first);
    void refreshOptions();

    AppContext& ctx_;
    ZoneTileBoard* board_;
    std::array<QRadioButton*, kSelectionOption + 1> options_{};
    QRadioButton* names_;
    QRadioButton* numbers_;
    QPushButton* rename_;
    int option_ = kSelectionOption;
    bool markState_ = false;  // the mark a drag gives every tile it reaches
    bool changed_ = false;
};

}  // namespace zev
