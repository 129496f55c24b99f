// The trend lines and the loading of a time window from the day files.
// A point p of the window lies at window start + p x step; it is read from
// the slot (day, second) its rounded time falls into: 00:00:00 is second
// 86400 of the day before, so a window across midnight reads both days.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace zev {

constexpr int kTrendMaxLines = 270;
constexpr std::int16_t kTrendNoValue = -10024;
// optScaleTime 0..7: the spans of the window in seconds.
constexpr std::array<int, 8> kTrendSpans = {60, 600, 1800, 3600, 7200, 14400, 28800, 43200};
// The value kinds a line can show (the value codes of myGetValue).
enum TrendKind { KindSetpoint = 0, KindActual = 1000, KindStatus = 2000, KindOutput = 3000, KindCurrent = 4000 };

struct TrendLine {
    int kind = KindActual;
    int zone = 1;
    std::vector<std::int16_t> data;  // points 0..P
};

// CalcLines: one line per selected zone and kind (zone by zone, kinds in the
// given order), at most 270; `cut` tells whether zones were left out.
std::vector<TrendLine> CalcLines(const std::vector<bool>& selectedZones, const std::vector<int>& kinds, bool* cut);

// The slot of one point: its day and second 1..86400.
struct DaySecond {
    QDate day;
    int second = 0;
    bool operator==(const DaySecond&) const = default;
};
// Step between points in seconds: the span over P, in single precision.
float trendStep(int span, int lastPoint);
// Point p of a window of `span` seconds ending at `end` with points 0..P; the
// time is rounded to the whole second, halves to the even one.
DaySecond pointSlot(const QDateTime& end, int span, int lastPoint, int p);
// A shorter window placed on the shown one: its end when its middle lies at
// `fraction` (0 the start, 1 the end) of the shown window, kept wholly inside.
QDateTime placedWindowEnd(const QDateTime& shownEnd, int shownSpan, int shorterSpan, double fraction);

// The lines of a window and their loading from the day files of a directory.
class TrendWindow {
public:
    explicit TrendWindow(QString logDir = {}) : logDir_(std::move(logDir)) {}
    void setLogDir(const QString& dir) { logDir_ = dir; }
    // Sets P and the span; the lines' data are sized to P + 1 points of no value.
    void setGeometry(int lastPoint, int span);
    void setLines(std::vector<TrendLine> lines);

    int lastPoint() const { return lastPoint_; }
    int span() const { return span_; }
    std::vector<TrendLine>& lines() { return lines_; }
    const std::vector<TrendLine>& lines() const { return lines_; }

    // ReadValBuffers: fills points P - n .. P of every line for the window
    // ending at `end` (n = P: the whole window).
    void ReadValBuffers(const QDateTime& end, int n);
    // Moves every line k points to the left; the k newest become no value.
    void shiftLeft(int k);

    static QString dayFileName(const QDate& day);

private:
    void FillLineBuffer(const QDate& day, const std::vector<std::pair<int, int>>& points);

    QString logDir_;
    int lastPoint_ = 0;
    int span_ = 3600;
    std::vector<TrendLine> lines_;
};

}  // namespace zev
