// The fault-time ranking ("Fehlerstatistik"): the ten zones with the longest
// cumulated fault time, with the lengths of their bars. Pure computation; the
// alarm view draws it.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace zev {

struct PlantData;

struct TopTenEntry {
    int zone = 0;
    std::int32_t seconds = 0;   // whole seconds of the zone's AlarmSeconds
};

struct TopTenRow {
    int zone = 0;               // 0: the row is shown empty
    QString text;               // zone name + "  [ HH:MM:SS ] "
    double barTwips = 0.0;      // bar length in twips (at most 620)
};

constexpr int kTopTenRows = 10;
constexpr double kTopTenBarTwips = 620.0;  // the longest bar approaches this length
constexpr double kTopTenHalfSeconds = 1000.0;  // seconds at which the top bar is half as long

// One entry per zone 1..ZoneCount, ascending by seconds (equal seconds in any order).
std::vector<TopTenEntry> rankZones(const PlantData& plant);

// Rows 0..9 from the largest entry downwards; rows for which no entry remains
// are not returned (the view leaves them as they are).
std::vector<TopTenRow> topTenRows(const PlantData& plant);

// Seconds as a time of day "HH:MM:SS": the display wraps after 24 hours.
QString faultTimeText(std::int32_t seconds);

}  // namespace zev
