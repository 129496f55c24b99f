// The trend chart (picFore with its scales and time axis): grid, the lines of
// a TrendWindow as staircases (or smoothed actual values), the temperature
// scale on the left, the output scale on the right, the time axis below, the
// magnifier and the energy bars.
#pragma once

#include "trend/trend_lines.h"
#include "trend/trend_scale.h"

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QWidget>
#include <vector>

class QTimer;

namespace zev {

struct EnergyBar {
    QString caption;  // the zone
    double wattHours = 0.0;
    QColor colour;
};

class TrendChart final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLeftMargin = 52;
    static constexpr int kRightMargin = 40;
    static constexpr int kTopMargin = 8;
    static constexpr int kBottomMargin = 22;
    static constexpr int kLupeMs = 7000;

    TrendChart(TrendWindow& window, QWidget* parent = nullptr);

    // The plot area in widget pixels: width W (P = W - 2), height a multiple of 12.
    QRect plotRect() const;
    int lastPointForSize() const { return std::max(1, plotRect().width() - 2); }

    TrendScale left;
    TrendScale right;
    std::vector<QColor> colours;  // per line
    std::vector<QString> names;   // per line, for the magnifier's text
    int penWidth = 1;
    bool smoothed = false;
    QString unit = QStringLiteral("\u00b0C");
    QDateTime windowEnd;

    // Rescales both axes from the data; true when one changed.
    bool rescale();
    void UpdateTrend();

    // Magnifier: enabled while its page is chosen.
    void setLupeEnabled(bool on);
    int lupeZoom = 2;
    bool lupeShown() const { return lupeShown_; }
    // Energy bars instead of the lines (empty: the lines).
    void setEnergyBars(std::vector<EnergyBar> bars);

    // The lines as drawn, for the benchmark: renders into `target`.
    void render(QPainter& p);

    // The hint shown while a scale is being marked (empty: none).
    QString markHint[2];  // left, right

    // A shorter window being placed (history): its start and end as fractions
    // of the shown window; while one is set, a touch on the plot or the time
    // axis places it instead of moving the window.
    void setPlacement(double from, double to);
    void clearPlacement();
    bool placing() const { return placing_; }
    QString placeHint;

    // The value of scale `left` (or right) at widget row y.
    int valueAt(bool leftScale, int y) const;

signals:
    void plotSizeChanged();
    // A range marked by touch on the temperature (left) or output scale.
    void scaleMarked(bool leftScale, int from, int to);
    // The time axis dragged by so many pixels (to the right: positive).
    void timeDragged(int pixels);
    // The finger at `fraction` of the shown window while a window is placed.
    void placed(double fraction);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    void DrawGrid(QPainter& p, const QRect& r);
    void PaintLines(QPainter& p, const QRect& r);
    void PaintTime(QPainter& p, const QRect& r);
    void PaintScales(QPainter& p, const QRect& r);
    void Draw_PowerBars(QPainter& p, const QRect& r);
    void LupeRefresh(QPainter& p);
    QString PaintLupeText() const;

    TrendWindow& window_;
    QTimer* lupeTimer_;
    bool lupeEnabled_ = false;
    bool lupeShown_ = false;
    QPoint lupeAt_;
    QImage plain_;  // the chart without the lens, for the lens to enlarge
    std::vector<EnergyBar> bars_;
    int marking_ = -1;  // 0 left scale, 1 right scale, 2 time axis
    int markFrom_ = 0;
    int markTo_ = 0;
    bool placing_ = false;
    double placeFrom_ = 0.0;
    double placeTo_ = 0.0;
    bool placingDrag_ = false;
};

}  // namespace zev
