#include "alarms/top_ten.h"

#include "plant/zone_table.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zev {

namespace {
constexpr std::int32_t kDay = 86400;

// The whole seconds of a fault time; nonsense (negative, not a number) counts 0
// and a value beyond the 32-bit range stays at its largest.
std::int32_t wholeSeconds(double s) {
    if (!(s > 0.0)) return 0;
    if (s >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(s);
}
}  // namespace

std::vector<TopTenEntry> rankZones(const PlantData& plant) {
    const int count = std::clamp(plant.ZoneCount, 0, kMaxZones);
    std::vector<TopTenEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (int z = 1; z <= count; ++z) entries.push_back({z, wholeSeconds(plant.zone(z).AlarmSeconds)});
    std::sort(entries.begin(), entries.end(),
              [](const TopTenEntry& a, const TopTenEntry& b) { return a.seconds < b.seconds; });
    return entries;
}

std::vector<TopTenRow> topTenRows(const PlantData& plant) {
    const std::vector<TopTenEntry> entries = rankZones(plant);
    std::vector<TopTenRow> rows;
    if (entries.empty()) return rows;
    const double m = entries.back().seconds;
    const double top = kTopTenBarTwips * m / (m + kTopTenHalfSeconds);
    for (int r = 0; r < kTopTenRows && r < static_cast<int>(entries.size()); ++r) {
        const TopTenEntry& e = entries[entries.size() - 1 - static_cast<std::size_t>(r)];
        TopTenRow row;
        if (e.seconds > 0) {
            row.zone = e.zone;
            row.text = plant.zone(e.zone).Name + QStringLiteral("  [ ") + faultTimeText(e.seconds) + QStringLiteral(" ] ");
            row.barTwips = top * e.seconds / m;
        }
        rows.push_back(row);
    }
    return rows;
}

QString faultTimeText(std::int32_t seconds) {
    const std::int32_t s = ((seconds % kDay) + kDay) % kDay;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace zev
