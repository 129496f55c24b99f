#include "trend/trend_lines.h"

#include "zev485_dayfile.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace zev {

namespace dayfile = zev485::dayfile;

std::vector<TrendLine> CalcLines(const std::vector<bool>& selectedZones, const std::vector<int>& kinds, bool* cut) {
    std::vector<TrendLine> lines;
    bool left = false;
    if (!kinds.empty()) {
        const int zonesShown = kTrendMaxLines / static_cast<int>(kinds.size());
        int zones = 0;
        for (std::size_t z = 1; z < selectedZones.size(); ++z) {
            if (!selectedZones[z]) continue;
            if (zones == zonesShown) {
                left = true;
                break;
            }
            ++zones;
            for (int kind : kinds) lines.push_back(TrendLine{kind, static_cast<int>(z), {}});
        }
    }
    if (cut) *cut = left;
    return lines;
}

float trendStep(int span, int lastPoint) {
    return lastPoint > 0 ? static_cast<float>(span) / static_cast<float>(lastPoint) : static_cast<float>(span);
}

QDateTime placedWindowEnd(const QDateTime& shownEnd, int shownSpan, int shorterSpan, double fraction) {
    const qint64 middle = std::llround(std::clamp(fraction, 0.0, 1.0) * shownSpan);
    const qint64 end = std::clamp<qint64>(middle + shorterSpan / 2, shorterSpan, shownSpan);
    return shownEnd.addSecs(end - shownSpan);
}

DaySecond pointSlot(const QDateTime& end, int span, int lastPoint, int p) {
    // Local seconds counted from a fixed day, so that days follow each other
    // without gaps whatever the date.
    const double endAbs = static_cast<double>(end.date().toJulianDay()) * 86400.0 +
                          static_cast<double>(end.time().msecsSinceStartOfDay()) / 1000.0;
    const double t = endAbs - span + static_cast<double>(p) * static_cast<double>(trendStep(span, lastPoint));
    const auto a = static_cast<qint64>(std::nearbyint(t));  // halves to even
    // Seconds 1..86400 of a day: second 0 of a day is the last second of the one before.
    const qint64 day = (a - 1 >= 0) ? (a - 1) / 86400 : -((86400 - a) / 86400);
    return DaySecond{QDate::fromJulianDay(day), static_cast<int>(a - day * 86400)};
}

void TrendWindow::setGeometry(int lastPoint, int span) {
    lastPoint_ = std::max(1, lastPoint);
    span_ = span;
    for (TrendLine& l : lines_) l.data.assign(static_cast<std::size_t>(lastPoint_) + 1, kTrendNoValue);
}

void TrendWindow::setLines(std::vector<TrendLine> lines) {
    lines_ = std::move(lines);
    for (TrendLine& l : lines_) l.data.assign(static_cast<std::size_t>(lastPoint_) + 1, kTrendNoValue);
}

QString TrendWindow::dayFileName(const QDate& day) {
    return day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".CDB");
}

void TrendWindow::shiftLeft(int k) {
    const auto n = static_cast<std::size_t>(lastPoint_) + 1;
    const auto shift = static_cast<std::size_t>(std::clamp(k, 0, lastPoint_ + 1));
    for (TrendLine& l : lines_) {
        std::move(l.data.begin() + static_cast<std::ptrdiff_t>(shift), l.data.end(), l.data.begin());
        std::fill(l.data.begin() + static_cast<std::ptrdiff_t>(n - shift), l.data.end(), kTrendNoValue);
    }
}

void TrendWindow::ReadValBuffers(const QDateTime& end, int n) {
    n = std::clamp(n, 0, lastPoint_);
    // Walk the points in time order and hand each day its points.
    std::vector<std::pair<int, int>> points;  // (point, second)
    QDate day;
    for (int p = lastPoint_ - n; p <= lastPoint_; ++p) {
        const DaySecond slot = pointSlot(end, span_, lastPoint_, p);
        if (slot.day != day && !points.empty()) {
            FillLineBuffer(day, points);
            points.clear();
        }
        day = slot.day;
        points.emplace_back(p, slot.second);
    }
    if (!points.empty()) FillLineBuffer(day, points);
}

namespace {
std::int16_t field(const unsigned char* entry, int kind) {
    const dayfile::ZoneEntry e = dayfile::decodeEntry(entry);
    switch (kind) {
    case KindSetpoint: return e.setpoint;
    case KindActual: return e.actual;
    case KindStatus: return static_cast<std::int16_t>(e.status);
    case KindOutput: return e.output;
    case KindCurrent: return e.current;
    default: return kTrendNoValue;
    }
}
}  // namespace

void TrendWindow::FillLineBuffer(const QDate& day, const std::vector<std::pair<int, int>>& points) {
    auto noValue = [this](int p) {
        for (TrendLine& l : lines_) l.data[static_cast<std::size_t>(p)] = kTrendNoValue;
    };
    QFile f(logDir_ + dayFileName(day));
    if (!f.open(QIODevice::ReadOnly)) {
        for (const auto& pt : points) noValue(pt.first);
        return;
    }
    // Only the part of the presence map the points need.
    const int first = points.front().second, last = points.back().second;
    QByteArray presence;
    if (f.seek(dayfile::presenceOffset(first))) presence = f.read(last - first + 1);
    QByteArray record(static_cast<qsizetype>(dayfile::kRecordBytes), '\0');
    int loaded = -1;
    bool valid = false;
    for (const auto& [p, s] : points) {
        const int at = s - first;
        if (at >= presence.size() || presence.at(at) == 0) {
            noValue(p);
            continue;
        }
        if (s != loaded) {
            loaded = s;
            // A record still being written (short read) is no value this time.
            valid = f.seek(dayfile::recordOffset(s)) &&
                    f.read(record.data(), record.size()) == static_cast<qint64>(record.size());
        }
        if (!valid) {
            noValue(p);
            continue;
        }
        const auto* rec = reinterpret_cast<const unsigned char*>(record.constData());
        for (TrendLine& l : lines_) {
            const bool inFile = l.zone >= 1 && l.zone <= dayfile::kZones;
            l.data[static_cast<std::size_t>(p)] =
                inFile ? field(rec + (l.zone - 1) * dayfile::kEntryBytes, l.kind) : kTrendNoValue;
        }
    }
}

}  // namespace zev
