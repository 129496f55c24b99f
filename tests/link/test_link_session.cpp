// The link session: its stop sequence, and the alarm log it owns for the
// current tool, which takes records with no view loaded at all.
#include "../alarms/alarm_fixture.h"
#include "recording_bus.h"

#include "link/link_session.h"
#include "plant/tool_data.h"

#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;

namespace {

TEST(LinkSession, StopTakesEveryControllerOfflineOnceAfterPollingAndLoggingStop) {
    zev::test::RecordingBus bus;
    TestContext tc(1, &bus);
    tc.link->stop();
    EXPECT_EQ(bus.count(QStringLiteral("FileLogging 0")), 1);
    EXPECT_EQ(bus.count(QStringLiteral("EnableCyclicScan 0")), 1);
    EXPECT_EQ(bus.count(QStringLiteral("SetOnline")), 27) << bus.calls.join(QLatin1Char('\n')).toStdString();
    for (int a = 1; a <= 27; ++a)
        EXPECT_EQ(bus.count(QStringLiteral("SetOnline %1 0").arg(a)), 1) << a;
    EXPECT_LT(bus.indexOf(QStringLiteral("EnableCyclicScan 0")), bus.indexOf(QStringLiteral("SetOnline 1 ")))
        << "polling stops before the controllers go offline";
    EXPECT_EQ(bus.count(QStringLiteral("SetOnline 28")), 0);
}

TEST(LinkSession, TheToolsAlarmLogTakesRecordsWithoutAnyView) {
    TestContext tc;
    EXPECT_EQ(tc.ctx->alarmLog, nullptr);
    tc.tool.LogFileDir = tc.home.file(QStringLiteral("TOOLS/A/LOGFILES/"));
    tc.link->start(false);
    ASSERT_NE(tc.ctx->alarmLog, nullptr);
    AlarmLog* first = tc.ctx->alarmLog;
    first->ErrLog(RecordType::Message, QStringLiteral("USER"), 0, QStringLiteral("Rezept gespeichert."));

    // A restart on the same tool keeps the log; another tool gets its own file.
    tc.link->stop();
    tc.link->start(false);
    EXPECT_EQ(tc.ctx->alarmLog, first);
    tc.tool.LogFileDir = tc.home.file(QStringLiteral("TOOLS/B/LOGFILES/"));
    tc.link->stop();
    tc.link->start(false);
    ASSERT_NE(tc.ctx->alarmLog, nullptr);
    tc.ctx->alarmLog->ErrLog(RecordType::Event, QStringLiteral("TOOL"), 0, QStringLiteral("Werkzeug B geladen."));

    const auto a = zev::test::readRecords(tc.home.file(QStringLiteral("TOOLS/A/LOGFILES/STOER.MDB")));
    const auto b = zev::test::readRecords(tc.home.file(QStringLiteral("TOOLS/B/LOGFILES/STOER.MDB")));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].meldung, QStringLiteral("Rezept gespeichert."));
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].meldung, QStringLiteral("Werkzeug B geladen."));
}

// A link restart on the same tool keeps the log but begins a new run: an alarm
// left open before the restart is closed at the zone's first reading after it.
TEST(LinkSession, ARestartOnTheSameToolBeginsANewRunOfTheLog) {
    TestContext tc;
    tc.tool.LogFileDir = tc.home.file(QStringLiteral("TOOLS/A/LOGFILES/"));
    tc.link->start(false);
    AlarmLog* log = tc.ctx->alarmLog;
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->firstReading(5));
    log->ErrLog(RecordType::Alarm, QStringLiteral("Düse"), 5, QStringLiteral("Fühlerbruch"));
    EXPECT_FALSE(log->firstReading(5));
    tc.clock.advance(10);
    tc.link->stop();
    tc.link->start(false);
    ASSERT_EQ(tc.ctx->alarmLog, log);
    tc.clock.advance(1);
    EXPECT_TRUE(log->firstReading(5)) << "the restart begins a new run";
    const auto r = zev::test::readRecords(tc.home.file(QStringLiteral("TOOLS/A/LOGFILES/STOER.MDB")));
    ASSERT_EQ(r.size(), 1u);
    EXPECT_FALSE(r[0].geht.isNull()) << "the alarm of the run before is closed";
}

}  // namespace
