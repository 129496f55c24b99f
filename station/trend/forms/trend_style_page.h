// Page 8 of the configuration view: how the trend draws (pen width, staircase
// or smoothed actual values), the magnifier's zoom factor and the period of
// the energy bars, stored in zev.ini section [Trend].
#pragma once

#include <QWidget>

class QRadioButton;
class QSlider;

namespace zev {

struct AppContext;

class TrendStylePage final : public QWidget {
    Q_OBJECT
public:
    explicit TrendStylePage(AppContext& ctx, QWidget* parent = nullptr);
    QSlider* sldLineWidth() const { return width_; }
    QSlider* sldLupeZoomFkt() const { return zoom_; }
    QSlider* sldEnergyBarMinuten() const { return minutes_; }
    QRadioButton* optTrendDrawStyle(int i) const { return i == 0 ? stairs_ : smooth_; }

private:
    QSlider* slider(const char* name, const char* key, int text, int lo, int hi, int def, int row);
    AppContext& ctx_;
    QSlider* width_ = nullptr;
    QSlider* zoom_ = nullptr;
    QSlider* minutes_ = nullptr;
    QRadioButton* stairs_ = nullptr;
    QRadioButton* smooth_ = nullptr;
};

}  // namespace zev
