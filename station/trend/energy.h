// The energy of the zones over the last minutes, from the day files: every
// recorded second with an output of 0..100 % and a current of 0 or more adds
// current x voltage x the effective power share of that output.
#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <vector>

namespace zev {

// The heaters' supply voltage the bars assume.
constexpr double kEnergyVolts = 230.0;

// Effective power share in percent for output 0..100 %: the known points,
// linear between them.
const std::array<double, 101>& energyFactors();

// Watt-hours of each zone (index i for zones[i]) over the `minutes` before `end`
// (across midnight: both days' files).
std::vector<double> zoneEnergy(const QString& logDir, const std::vector<int>& zones, const QDateTime& end,
                               int minutes);

}  // namespace zev
