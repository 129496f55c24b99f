// The chart's automatic scales and the staircase runs of a line.
#include "trend/trend_scale.h"

#include <gtest/gtest.h>

namespace zev::test {
namespace {

std::vector<TrendLine> linesOf(int kind, std::vector<std::int16_t> data) { return {{kind, 1, std::move(data)}}; }
constexpr std::int16_t N = kTrendNoValue;

TEST(TrendScaleTest, AutomaticScalesFallOnFivesWithSpansOfTwenty) {
    struct Case { int lo, hi, min, max; };
    for (const Case c : {Case{12, 71, 10, 70}, Case{12, 72, 10, 70}, Case{12, 73, 10, 90}, Case{50, 50, 50, 70},
                         Case{199, 230, 195, 235}, Case{0, 20, 0, 20}, Case{0, 21, 0, 40}}) {
        TrendScale s;
        auto lines = linesOf(KindActual, {N, static_cast<std::int16_t>(c.lo), N, static_cast<std::int16_t>(c.hi)});
        lines.push_back({KindOutput, 2, {500, 0}});  // the other scale's kind counts nothing here
        EXPECT_TRUE(TestRescale(s, lines, 240));
        EXPECT_EQ(s.minimum, c.min) << c.lo << ".." << c.hi;
        EXPECT_EQ(s.maximum, c.max) << c.lo << ".." << c.hi;
        EXPECT_FALSE(TestRescale(s, lines, 240));  // unchanged: nothing to redraw
    }
    // 240 pixels: M = 10, 200 pixels for the span.
    TrendScale s;
    TestRescale(s, linesOf(KindSetpoint, {12, 71}), 240);
    EXPECT_DOUBLE_EQ(s.pixelsPerUnit, 200.0 / 60.0);
    EXPECT_DOUBLE_EQ(s.y(300, 40), 300 - 100.0);
}

TEST(TrendScaleTest, TheOutputScaleAndFixedScales) {
    TrendScale right;
    auto lines = linesOf(KindOutput, {3, 47});
    lines.push_back({KindActual, 1, {900, 950}});
    EXPECT_TRUE(TestRescale_Y(right, lines, 240));
    EXPECT_EQ(right.minimum, 0);
    EXPECT_EQ(right.maximum, 60);
    TrendScale fixed{100, 200, true};
    EXPECT_FALSE(TestRescale(fixed, lines, 240));
    EXPECT_EQ(fixed.maximum, 200);
    EXPECT_TRUE(TestRescale(fixed, lines, 240, ScaleLimits{20, 40}));
    EXPECT_EQ(fixed.minimum, 20);
    EXPECT_EQ(fixed.maximum, 40);
    EXPECT_TRUE(TestRescale(fixed, lines, 240, std::nullopt, true));
    EXPECT_EQ(fixed.minimum, 900);
    // No valid value leaves a scale alone.
    TrendScale empty;
    EXPECT_FALSE(TestRescale(empty, linesOf(KindActual, {N, N}), 240));
}

std::vector<std::vector<Vertex>> allRuns(const std::vector<std::int16_t>& data, int limit = kMaxRunVertices) {
    std::vector<std::vector<Vertex>> runs;
    std::vector<Vertex> run;
    int start = 0;
    while (GetLinePoints(start, data, run, limit)) runs.push_back(run);
    return runs;
}

TEST(LinePointsTest, StaircasesAndGaps) {
    using R = std::vector<std::vector<Vertex>>;
    EXPECT_EQ(allRuns({N, N, N}), R{});
    EXPECT_EQ(allRuns({N, 5, N, N}), (R{{{1, 5}, {1, 5}}}));
    EXPECT_EQ(allRuns({7, 7, 7, 7}), (R{{{0, 7}, {3, 7}}}));
    EXPECT_EQ(allRuns({1, 1, 4, 4, 2}), (R{{{0, 1}, {2, 1}, {2, 4}, {4, 4}, {4, 2}, {4, 2}}}));
    EXPECT_EQ(allRuns({1, 2, N, 3, 3}), (R{{{0, 1}, {1, 1}, {1, 2}, {1, 2}}, {{3, 3}, {4, 3}}}));
}

TEST(LinePointsTest, ARunAtTheVertexLimitEndsAndTheNextGoesOn) {
    std::vector<std::int16_t> data;
    for (int p = 0; p < 3000; ++p) data.push_back(static_cast<std::int16_t>(p % 2 ? 10 : 20));
    const auto runs = allRuns(data);
    ASSERT_GT(runs.size(), 3u);
    int changes = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_LE(runs[i].size(), static_cast<std::size_t>(kMaxRunVertices));
        if (i > 0) {
            EXPECT_EQ(runs[i].front(), runs[i - 1].back());  // no step is lost between runs
        }
        for (std::size_t v = 1; v < runs[i].size(); ++v) {
            if (runs[i][v].value != runs[i][v - 1].value) ++changes;
        }
    }
    EXPECT_EQ(changes, 2999);
    EXPECT_EQ(runs.back().back(), (Vertex{2999, 10}));
}

}  // namespace
}  // namespace zev::test
