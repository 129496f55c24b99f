// The fault-time ranking as the alarm view shows it: ten rows, each with the
// zone's name and fault time and a bar in the colour of the zone's group.
// The bar area stands for 620 twips (the longest bar approaches its width), so
// the bars keep their proportions on any panel.
#pragma once

#include "alarms/top_ten.h"

#include <QWidget>
#include <array>

class QLabel;

namespace zev {

struct AppContext;

class TopTenBar final : public QWidget {
    Q_OBJECT
public:
    explicit TopTenBar(QWidget* parent = nullptr);
    void setBar(double twips, const QColor& colour);
    double twips() const { return twips_; }
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double twips_ = 0.0;
    QColor colour_;
};

class TopTenPanel final : public QWidget {
    Q_OBJECT
public:
    explicit TopTenPanel(AppContext& ctx, QWidget* parent = nullptr);
    // RefreshTopTen: rebuilds the ranking from the zones' fault times.
    void RefreshTopTen();
    // Empties the ten rows (as at loading).
    void clearRows();
    QLabel* rowText(int row) const { return texts_[static_cast<std::size_t>(row)]; }
    TopTenBar* rowBar(int row) const { return bars_[static_cast<std::size_t>(row)]; }

private:
    AppContext& ctx_;
    std::array<QLabel*, kTopTenRows> texts_{};
    std::array<TopTenBar*, kTopTenRows> bars_{};
};

}  // namespace zev
