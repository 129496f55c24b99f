// Page 2 of the configuration view: the group table with name, colour, use,
// setpoint lock and the numeric settings, the commands on the chosen group
// and the values common to all groups.
#pragma once

#include <QWidget>
#include <functional>

class QPushButton;
class QTableWidget;

namespace zev {

struct AppContext;

class GroupSettingsPage final : public QWidget {
    Q_OBJECT
public:
    // Columns of the table; rows are groups 1..8.
    enum Column { kColName, kColColour, kColUse, kColLock, kColDiagTime, kColDiagPower, kColBoostPower, kColCount };

    explicit GroupSettingsPage(AppContext& ctx, QWidget* parent = nullptr);

    void cmdChangeName_Click();
    void cmdChangeColor_Click();
    void cmdDefaultGrpSettings_Click();
    // A touch on a cell: use and lock toggle, numbers open the number pad.
    void MSFlexGrid1_Click(int row, int column);
    void RefreshGrpSettingsTable();

    QTableWidget* table() const { return table_; }
    QPushButton* boostTimeButton() const { return boostTime_; }
    QPushButton* startTempButton() const { return startTemp_; }

private:
    int chosenGroup() const;
    void run(const QString& procedure, const std::function<void()>& f);

    AppContext& ctx_;
    QTableWidget* table_;
    QPushButton* boostTime_;
    QPushButton* startTemp_;
};

}  // namespace zev
