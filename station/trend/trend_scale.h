// The chart's arithmetic without drawing: the automatic scales and the
// turning of a line into runs of staircase vertices.
#pragma once

#include "trend/trend_lines.h"

#include <optional>
#include <vector>

namespace zev {

struct TrendScale {
    int minimum = 0;
    int maximum = 100;
    bool fixed = false;
    double pixelsPerUnit = 1.0;
    // M: half a grid division, rounded up (H rounded down to 12 divisions).
    static int halfDivision(int height) { return ((height / 12) + 1) / 2; }
    void computePixels(int height) { pixelsPerUnit = 20.0 * halfDivision(height) / (maximum - minimum); }
    double y(int bottom, int value) const { return bottom - pixelsPerUnit * (value - minimum); }
};

struct ScaleLimits {
    int lowest = 0;
    int highest = 0;
};

// TestRescale (kinds setpoint and actual, search from 9999) and TestRescale_Y
// (output, search from 999): true when the scale changed.
bool TestRescale(TrendScale& scale, const std::vector<TrendLine>& lines, int height,
                 std::optional<ScaleLimits> limits = std::nullopt, bool force = false);
bool TestRescale_Y(TrendScale& scale, const std::vector<TrendLine>& lines, int height,
                   std::optional<ScaleLimits> limits = std::nullopt, bool force = false);

struct Vertex {
    int p;
    int value;
    bool operator==(const Vertex&) const = default;
};
constexpr int kMaxRunVertices = 1410;
// GetLinePoints: the next run of vertices of `data` from `start` on; false when
// no valid point is left. `start` is left where the next run begins. A run
// that reaches `limit` vertices ends there and the next one goes on.
bool GetLinePoints(int& start, const std::vector<std::int16_t>& data, std::vector<Vertex>& points,
                   int limit = kMaxRunVertices);

}  // namespace zev
