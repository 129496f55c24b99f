// The setpoint-deviation bar of a face plate (`picDiff`) and its rule
// (`dispWXDiff`).
//
// Geometry in twips: the bar field is kFieldTwips wide with its zero line at
// kZeroTwips; one degree of deviation d = setpoint - actual value is
// kTwipsPerDegree long, at most kMaxTwips (10 degrees). A positive d (too cold)
// runs right from the zero line, a negative one ends at it running left.
//
// Conversion to the widget: the field always spans the widget's full width, so
// a twip position x is drawn at x * width() / kFieldTwips pixels (at the
// classic 15 twips per pixel the field would be 124 pixels wide; on a face plate
// of any size the bar keeps its proportions: the zero line in the middle and a
// full-scale bar reaching 73 % of the half-width).
#pragma once

#include <QColor>
#include <QWidget>

namespace zev {

struct AppContext;

struct BarSpan {
    double startTwips = 0.0;
    double lengthTwips = 0.0;
    bool alarm = false;   // red (the zone reports a status) instead of yellow
    bool empty = true;    // no values: nothing drawn
    bool operator==(const BarSpan&) const = default;
};

namespace bar {
constexpr double kFieldTwips = 1860.0;
constexpr double kZeroTwips = 930.0;
constexpr double kTwipsPerDegree = 67.5;
constexpr double kMaxTwips = 675.0;
// Pixel position of a twip position in a field `widthPx` pixels wide.
double toPixels(double twips, int widthPx);
}  // namespace bar

// The bar of a zone: empty without setpoint or actual value and in mode 0.
BarSpan deviationSpan(const AppContext& ctx, int zone);

class DeviationBar : public QWidget {
    Q_OBJECT
public:
    explicit DeviationBar(QWidget* parent = nullptr);
    const BarSpan& span() const { return span_; }
    // Redraws only when position, length or colour change; true when it did.
    bool setSpan(const BarSpan& span);
    // The bar's pixel rectangle in the widget now (empty when nothing is drawn).
    QRectF barRect() const;

protected:
    // Clicks go on to the face plate, which opens the zone.
    void paintEvent(QPaintEvent* event) override;

private:
    BarSpan span_;
};

// dispWXDiff: sets the bar of a zone.
bool dispWXDiff(const AppContext& ctx, int zone, DeviationBar* picDiff);

}  // namespace zev
