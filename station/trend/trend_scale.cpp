#include "trend/trend_scale.h"

namespace zev {

namespace {
bool rescale(TrendScale& scale, const std::vector<TrendLine>& lines, int height, std::optional<ScaleLimits> limits,
             bool force, bool left) {
    if (scale.fixed && !limits && !force) return false;
    ScaleLimits l{left ? 9999 : 999, 0};
    if (limits) {
        l = *limits;
    } else {
        for (const TrendLine& line : lines) {
            const bool mine = left ? (line.kind == KindSetpoint || line.kind == KindActual) : line.kind == KindOutput;
            if (!mine) continue;
            for (std::int16_t v : line.data) {
                if (v == kTrendNoValue) continue;
                l.lowest = std::min<int>(l.lowest, v);
                l.highest = std::max<int>(l.highest, v);
            }
        }
    }
    if (l.lowest > l.highest) return false;
    // Integer division as the scale's own rule: it truncates towards zero.
    const int minimum = l.lowest / 5 * 5;
    const int maximum = minimum + ((l.highest - l.lowest - 1) / 20 + 1) * 20;
    if (minimum == scale.minimum && maximum == scale.maximum) return false;
    scale.minimum = minimum;
    scale.maximum = maximum;
    scale.computePixels(height);
    return true;
}
}  // namespace

bool TestRescale(TrendScale& scale, const std::vector<TrendLine>& lines, int height, std::optional<ScaleLimits> limits,
                 bool force) {
    return rescale(scale, lines, height, limits, force, true);
}

bool TestRescale_Y(TrendScale& scale, const std::vector<TrendLine>& lines, int height,
                   std::optional<ScaleLimits> limits, bool force) {
    return rescale(scale, lines, height, limits, force, false);
}

bool GetLinePoints(int& start, const std::vector<std::int16_t>& data, std::vector<Vertex>& points, int limit) {
    points.clear();
    const int last = static_cast<int>(data.size()) - 1;
    int p = start;
    while (p <= last && data[static_cast<std::size_t>(p)] == kTrendNoValue) ++p;
    if (p > last) {
        start = p;
        return false;
    }
    int value = data[static_cast<std::size_t>(p)];
    points.push_back({p, value});
    int lastValid = p;
    for (++p; p <= last; ++p) {
        const int v = data[static_cast<std::size_t>(p)];
        if (v == kTrendNoValue) break;
        lastValid = p;
        if (v == value) continue;
        points.push_back({p, value});
        points.push_back({p, v});
        value = v;
        if (static_cast<int>(points.size()) + 2 > limit) {
            // Full: the next run starts at this vertex, so the line stays whole.
            start = p;
            return true;
        }
    }
    points.push_back({lastValid, value});
    start = p;
    return true;
}

}  // namespace zev
