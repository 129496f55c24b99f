// A test context with a zone table filled by hand: every zone in control mode at
// 200 °C, measuring 198 °C, 35 % output, 2.5 A, no fault, groups 1..8 in use
// with their default colours.
#pragma once

#include "test_context.h"

#include "plant/zone_table.h"
#include "base/app_context.h"

#include <QEvent>
#include <QLabel>
#include <ostream>
#include <gtest/gtest.h>

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace zev::test {

// Counts the paint events, and the palette and font changes, of the widgets it watches.
struct EventCounter : QObject {
    void watch(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        if (e->type() == QEvent::PaletteChange || e->type() == QEvent::FontChange) ++changes;
        return false;
    }
    int paints = 0, changes = 0;
};

class OverviewFixture : public ::testing::Test {
protected:
    explicit OverviewFixture(int language = 1) : tc(language), ctx(*tc.ctx) {}

    void fillGroups();
    // n zones, all healthy; zone z belongs to group (z - 1) % 9.
    void fillZones(int n);
    ZoneRecord& zone(int z) { return ctx.plant.zone(z); }

    TestContext tc;
    AppContext& ctx;
};

}  // namespace zev::test
