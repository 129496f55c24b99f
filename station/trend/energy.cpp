#include "trend/energy.h"

#include "trend/trend_lines.h"

namespace zev {

const std::array<double, 101>& energyFactors() {
    static const std::array<double, 101> table = [] {
        struct Known { int output; double share; };
        const Known known[] = {{0, 0.0},   {1, 0.0709},  {10, 6.6667}, {25, 17.6471}, {50, 40.0},
                               {60, 50.0}, {75, 64.7059}, {90, 81.6},  {100, 100.0}};
        std::array<double, 101> t{};
        for (std::size_t k = 0; k + 1 < std::size(known); ++k) {
            const Known a = known[k], b = known[k + 1];
            for (int o = a.output; o <= b.output; ++o)
                t[static_cast<std::size_t>(o)] = a.share + (b.share - a.share) * (o - a.output) / (b.output - a.output);
        }
        return t;
    }();
    return table;
}

std::vector<double> zoneEnergy(const QString& logDir, const std::vector<int>& zones, const QDateTime& end,
                               int minutes) {
    // One point a second: the window's loader reads both days across midnight.
    const int seconds = std::max(1, minutes * 60);
    std::vector<TrendLine> lines;
    for (int z : zones) {
        lines.push_back({KindOutput, z, {}});
        lines.push_back({KindCurrent, z, {}});
    }
    TrendWindow w(logDir);
    w.setLines(std::move(lines));
    w.setGeometry(seconds - 1, seconds - 1);
    w.ReadValBuffers(end, seconds - 1);
    std::vector<double> wh(zones.size(), 0.0);
    const auto& f = energyFactors();
    for (std::size_t i = 0; i < zones.size(); ++i) {
        const auto& out = w.lines()[2 * i].data;
        const auto& amps = w.lines()[2 * i + 1].data;
        double wattSeconds = 0.0;
        for (std::size_t p = 0; p < out.size(); ++p) {
            if (out[p] < 0 || out[p] > 100 || amps[p] < 0) continue;  // also no value
            wattSeconds += amps[p] / 10.0 * kEnergyVolts * f[static_cast<std::size_t>(out[p])] / 100.0;
        }
        wh[i] = wattSeconds / 3600.0;
    }
    return wh;
}

}  // namespace zev
