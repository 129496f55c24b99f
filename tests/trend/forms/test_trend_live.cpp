// The live tick's one new point, read from the bus link: readings of 1000 and
// more or below 0 are gaps; status lines take the raw word and leave its
// decoding (and the logging of its changes) to the main cycle.
#include "test_context.h"

#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "trend/forms/trend_view.h"

#include <QCheckBox>
#include <QDir>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <map>

namespace zev::test {
namespace {

// The bus library's value cache as a table: (channel, kind) -> value.
class ValueBus final : public BusLink {
public:
    std::int32_t GetVal(int address, int channel, int kind) override {
        ++reads[kind];
        const auto it = values.find({channel, kind});
        return address == 1 && it != values.end() ? it->second : -10024;
    }
    std::map<std::pair<int, int>, std::int32_t> values;
    std::map<int, int> reads;
};

TEST(TrendLive, OneNewPointFromTheBusWithGapsAndRawStatus) {
    ValueBus bus;
    TestContext t(1, &bus);
    AppContext& ctx = *t.ctx;
    ctx.tool.LogFileDir = t.home.path() + "/LOG/";
    QDir().mkpath(ctx.tool.LogFileDir);
    ctx.link->SetOnlineBetrieb(true);
    ctx.plant.ZoneCount = 4;
    for (int z = 1; z <= 4; ++z) {
        ctx.plant.zone(z).BusAddress = 1;
        ctx.plant.zone(z).Channel = static_cast<std::uint8_t>(z);
    }
    const std::int32_t actual[] = {250, 1000, -5, 999};
    const std::int32_t status[] = {0x12345, -1, 0x8, 0};
    for (int z = 1; z <= 4; ++z) {
        bus.values[{z, 2}] = actual[z - 1];
        bus.values[{z, 3}] = status[z - 1];
    }
    TrendView view(ctx);
    view.resize(1024, 600);
    view.show();
    view.entering(0);
    view.Enable_TimerTrend(false);  // the test ticks itself
    view.optScaleTime(0)->click();  // one minute
    view.kindBox(4)->setChecked(true);  // status
    ASSERT_EQ(view.window().lines().size(), 8u);
    const int P = view.window().lastPoint();
    const double step = 60.0 / P;
    bus.reads.clear();
    t.clock.advance(step * 1.2);
    view.TimerTrend_Timer();
    std::vector<int> last;
    for (const TrendLine& l : view.window().lines()) last.push_back(l.data[static_cast<std::size_t>(P)]);
    // Zone by zone: actual value, then the status word narrowed to 16 bits.
    EXPECT_EQ(last, (std::vector<int>{250, 0x2345, -10024, -10024, -10024, 8, 999, 0}));
    EXPECT_EQ(bus.reads[2], 4);
    EXPECT_EQ(bus.reads[3], 4);
    // The zone table's decoded status is untouched: the main cycle sees the change.
    EXPECT_EQ(ctx.plant.zone(1).StatusWord, ZoneRecord{}.StatusWord);
    // Less than a point due: nothing is read.
    t.clock.advance(step * 0.3);
    view.TimerTrend_Timer();
    EXPECT_EQ(bus.reads[2], 4);
}

}  // namespace
}  // namespace zev::test
