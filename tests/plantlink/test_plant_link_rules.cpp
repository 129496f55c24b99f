// The rules of the plant link that need no broker: which station names make a
// topic level, the reconnection back-off, the zone batch's JSON (no value is
// null, never the marker), and the record feed's acknowledged id on a real
// alarm log.
#include "test_context.h"

#include "alarms/alarm_log.h"
#include "plant/zone_table.h"
#include "plantlink/event_feed.h"
#include "plantlink/mqtt_client.h"
#include "plantlink/mqtt_config.h"
#include "plantlink/payloads.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace zev;

TEST(PlantLinkRules, StationNamesThatMakeOneTopicLevel) {
    const struct {
        QString name;
        bool valid;
    } cases[] = {
        {QStringLiteral("press-07"), true},      {QStringLiteral("Presse_Süd.2"), true},
        {QString(64, u'x'), true},               {QString(65, u'x'), false},
        {QString(), false},                      {QStringLiteral("hall/press"), false},
        {QStringLiteral("press#1"), false},      {QStringLiteral("press+1"), false},
        {QStringLiteral("press 1"), false},      {QStringLiteral("press\t1"), false},
        {QStringLiteral("a\x01"), false},
    };
    for (const auto& c : cases) EXPECT_EQ(validStationName(c.name), c.valid) << c.name.toStdString();
}

TEST(PlantLinkRules, BackOffDoublesFromOneToThirtySeconds) {
    const struct {
        int current, next;
    } cases[] = {{0, 1}, {1, 2}, {2, 4}, {4, 8}, {8, 16}, {15, 30}, {16, 30}, {30, 30}};
    for (const auto& c : cases) EXPECT_EQ(nextRetryDelay(c.current, 1, 30), c.next) << c.current;
}

TEST(PlantLinkRules, ZoneBatchCarriesNullForNoValueAndNamesTheUnits) {
    PlantData plant;
    plant.ZoneCount = 2;
    plant.TemperatureUnit = QStringLiteral("°F");
    ZoneRecord& a = plant.zone(1);
    a.Name = QStringLiteral("Düse \"1\"");
    a.Group = 3;
    a.ActualValue = 446;
    a.Setpoint = 450;
    a.OutputRate = 37;
    a.Current = 2.34F;
    a.Mode = 2;
    a.StatusCode = 0;
    ZoneRecord& b = plant.zone(2);  // a broken sensor: nothing read but the status
    b.Setpoint = 0;
    b.StatusCode = 130;
    b.StatusShort = QStringLiteral("FB");

    const QJsonObject doc = QJsonDocument::fromJson(zonesPayload(plant, QStringLiteral("T"))).object();
    EXPECT_EQ(doc[QStringLiteral("units")].toObject()[QStringLiteral("temperature")].toString(), QStringLiteral("°F"));
    const QJsonArray zones = doc[QStringLiteral("zones")].toArray();
    ASSERT_EQ(zones.size(), 2);
    const QJsonObject z1 = zones[0].toObject(), z2 = zones[1].toObject();
    EXPECT_EQ(z1[QStringLiteral("name")].toString(), QStringLiteral("Düse \"1\""));
    EXPECT_EQ(z1[QStringLiteral("group")].toInt(), 3);
    EXPECT_EQ(z1[QStringLiteral("actual")].toInt(), 446);
    EXPECT_EQ(z1[QStringLiteral("setpoint")].toInt(), 450);
    EXPECT_EQ(z1[QStringLiteral("output")].toInt(), 37);
    EXPECT_DOUBLE_EQ(z1[QStringLiteral("current")].toDouble(), 2.3);
    EXPECT_EQ(z1[QStringLiteral("mode")].toInt(), 2);
    for (const char* key : {"actual", "output", "current"})
        EXPECT_TRUE(z2[QString::fromLatin1(key)].isNull()) << key;
    EXPECT_EQ(z2[QStringLiteral("setpoint")].toInt(), 0);
    EXPECT_EQ(z2[QStringLiteral("status")].toInt(), 130);
    EXPECT_EQ(z2[QStringLiteral("statusText")].toString(), QStringLiteral("FB"));
}

TEST(PlantLinkRules, AcknowledgedIdOnlyPassesRecordsWhoseEveryPredecessorWasAcknowledged) {
    test::TestContext tc;
    tc.tool.ToolIni = tc.home.file(QStringLiteral("SETTINGS.INI"));
    AlarmLog log(*tc.ctx, tc.home.file(QStringLiteral("LOG")));
    log.ErrLog(0, QStringLiteral("SYSTEM"), 0, QStringLiteral("before"));  // id 1: history, not sent

    EventFeed feed(*tc.settings);
    feed.bind(&log, tc.tool.ToolIni);
    EXPECT_EQ(feed.acknowledged(), 1);
    for (int i = 0; i < 3; ++i) log.ErrLog(1, QStringLiteral("Zone %1").arg(i), i + 1, QStringLiteral("m"));
    const std::vector<LogRecord> out = feed.next(10);
    ASSERT_EQ(out.size(), 3U);
    EXPECT_EQ(out[0].id, 2);
    EXPECT_EQ(out[2].zone, 3);
    for (int i = 0; i < 3; ++i) feed.sent(out[static_cast<std::size_t>(i)].id, 10 + i);

    const struct {
        int mid;
        qint64 acked;
    } steps[] = {{11, 1}, {12, 1}, {99, 1}, {10, 4}};
    for (const auto& s : steps) {
        feed.delivered(s.mid);
        EXPECT_EQ(feed.acknowledged(), s.acked) << s.mid;
    }
    feed.store();
    EXPECT_TRUE(tc.home.read(QStringLiteral("SETTINGS.INI")).contains("LastEventId=4\r\n"));

    // A restart: the next feed starts after the stored id, not at the newest record.
    log.ErrLog(1, QStringLiteral("Zone 9"), 9, QStringLiteral("while away"));
    EventFeed again(*tc.settings);
    again.bind(&log, tc.tool.ToolIni);
    const std::vector<LogRecord> rest = again.next(10);
    ASSERT_EQ(rest.size(), 1U);
    EXPECT_EQ(rest[0].id, 5);
    EXPECT_EQ(rest[0].text, QStringLiteral("while away"));
    again.rewind();
    EXPECT_EQ(again.next(10).size(), 1U) << "what was not acknowledged goes out again";
}
