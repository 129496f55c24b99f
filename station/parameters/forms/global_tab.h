// Tab 1 of frmParameter: gridParaGlob, one row per global parameter and one
// column per master controller ("Schrank n"), the driver's information rows
// below them, lock pictures on the rows the current level may not edit, and
// Command3 ("Factory Settings"). Cells written by an edit turn green
// (acknowledged) or red (not) and return to white after 0.6 s.
#pragma once

#include "parameters/controller_commands.h"

#include <QWidget>
#include <vector>

class QPushButton;
class QTableWidget;
class QTimer;

namespace zev {

struct AppContext;

class GlobalTab final : public QWidget {
    Q_OBJECT
public:
    explicit GlobalTab(AppContext& ctx, QWidget* parent = nullptr);

    // Rows and columns for the driver and the master controllers; values from
    // the store (Aktualisize_gridParaGlob fills them from a read).
    void build();
    void showValues(const std::vector<std::vector<int>>& columns);
    // The outcome of an edit of row g.
    void showWrite(int g, int value, const std::vector<GlobalCellResult>& cells);
    // LevelCheck_gridParaGlob: lock pictures for the current user level.
    void LevelCheck_gridParaGlob();

    QTableWidget* gridParaGlob() const { return grid_; }
    QPushButton* Command3() const { return factory_; }
    QTimer* whiteTimer() const { return white_; }

signals:
    void rowClicked(int g);
    void factoryClicked();

private:
    void backToWhite();

    AppContext& ctx_;
    QTableWidget* grid_ = nullptr;
    QPushButton* factory_ = nullptr;
    QTimer* white_ = nullptr;
    std::vector<int> masters_;
};

}  // namespace zev
