// The station publishing to a real mosquitto on a localhost port, on the
// in-process simulator: what a dashboard subscribed to zev/# sees when a fault
// comes, when it is acknowledged and goes, when the broker is away while alarms
// come and go (and the station restarts meanwhile), and what the configuration
// page says when the broker cannot be reached or refuses the login.
#include "mqtt_broker.h"
#include "sim_bench.h"

#include "alarms/alarm_log.h"
#include "base/settings.h"
#include "plantlink/link_status_text.h"
#include "plantlink/plant_publisher.h"
#include "plant/tool_data.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <chrono>
#include <thread>

using namespace zev;
using namespace zev::test;
using zevsim::FaultKind;

namespace {

QJsonObject json(const std::string& payload) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(payload)).object();
}

void configure(TestContext& tc, int port, const QString& extraKey = {}, const QString& extraValue = {}) {
    const QString ini = QStringLiteral("*"), s = QStringLiteral("MQTT");
    tc.settings->SetIni(s, QStringLiteral("Enabled"), QStringLiteral("1"), ini);
    tc.settings->SetIni(s, QStringLiteral("Host"), QStringLiteral("127.0.0.1"), ini);
    tc.settings->SetIni(s, QStringLiteral("Port"), QString::number(port), ini);
    tc.settings->SetIni(s, QStringLiteral("Station"), QStringLiteral("press-07"), ini);
    tc.settings->SetIni(s, QStringLiteral("RetryLast"), QStringLiteral("1"), ini);
    if (!extraKey.isEmpty()) tc.settings->SetIni(s, extraKey, extraValue, ini);
}

// The ids of the alarm log's records after `after`, read with SQL of the test's own.
std::vector<qint64> logIds(TestContext& tc, qint64 after) {
    std::vector<qint64> ids;
    QSqlQuery q(tc.ctx->alarmLog->db().database());
    q.exec(QStringLiteral("SELECT rowid FROM LOG WHERE rowid > %1 ORDER BY rowid").arg(after));
    while (q.next()) ids.push_back(q.value(0).toLongLong());
    return ids;
}

class PublisherOnSimulator : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(broker.start());
        ASSERT_TRUE(identifyAndHeat(tc, sim, 200));
        configure(tc, broker.port());
    }
    // One reading pass of the main cycle on a fresh scan.
    void pass() {
        sim.advance(0.5);
        ASSERT_TRUE(sim.waitForScan());
        tc.clock.advance(0.5);
        tc.link->readValues();
    }
    std::string last(const MqttWatcher& w, const std::string& leaf) {
        const auto m = w.on("zev/press-07/" + leaf);
        return m.empty() ? std::string("<none>") : m.back().payload;
    }

    MqttBroker broker;
    zevsim::InProcessBus sim{controllers({8, 8})};
    TestContext tc;
};

TEST_F(PublisherOnSimulator, FaultReachesAlarmsAndEventsWithinTwoSecondsAndGoesAgain) {
    auto publisher = std::make_unique<PlantPublisher>(*tc.ctx);
    MqttWatcher watch(broker.port());
    ASSERT_TRUE(watch.waitFor([&] { return json(last(watch, "state"))[QStringLiteral("online")].toBool(); }, 5));
    const QJsonObject state = json(last(watch, "state"));
    EXPECT_EQ(state[QStringLiteral("link")].toString(), QStringLiteral("online"));
    EXPECT_EQ(state[QStringLiteral("zones")].toInt(), 16);
    EXPECT_EQ(state[QStringLiteral("tool")].toString(), tc.tool.ToolName);
    const qint64 before = logIds(tc, 0).empty() ? 0 : logIds(tc, 0).back();

    ASSERT_TRUE(sim.plant().inject({FaultKind::BrokenSensor, 1, 3}));
    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(watch.waitFor([&] { return last(watch, "alarms/3") != "<none>" && last(watch, "alarms/3") != "" &&
                                           !watch.on("zev/press-07/events").empty(); },
                              2.0, [&] { pass(); }))
        << last(watch, "alarms/3");
    EXPECT_LT(took.elapsed(), 2000);
    const std::vector<qint64> written = logIds(tc, before);
    ASSERT_FALSE(written.empty());
    const QJsonObject event = json(watch.on("zev/press-07/events").front().payload);
    EXPECT_EQ(event[QStringLiteral("id")].toInteger(), written.front());
    EXPECT_EQ(event[QStringLiteral("zone")].toInt(), 3);
    EXPECT_EQ(event[QStringLiteral("kind")].toString(), QStringLiteral("alarm"));
    EXPECT_TRUE(event[QStringLiteral("went")].isNull());
    const QJsonObject alarm = json(last(watch, "alarms/3"));
    EXPECT_EQ(alarm[QStringLiteral("text")].toString(), event[QStringLiteral("text")].toString());
    EXPECT_FALSE(alarm[QStringLiteral("acknowledged")].toBool());
    // A batch sent before the fault was seen may still be the last one here:
    // within two seconds a batch shows the fault's status.
    auto zone3 = [&] { return json(last(watch, "zones"))[QStringLiteral("zones")].toArray()[2].toObject(); };
    EXPECT_TRUE(watch.waitFor([&] { return zone3()[QStringLiteral("status")].toInt() > 0; }, 2, [&] { pass(); }))
        << last(watch, "zones");

    // A subscriber that comes later sees the present alarm at once.
    {
        MqttWatcher late(broker.port());
        ASSERT_TRUE(late.waitFor([&] { return !late.on("zev/press-07/alarms/3").empty(); }, 3));
        EXPECT_TRUE(late.on("zev/press-07/alarms/3").back().retained);
        EXPECT_TRUE(late.on("zev/press-07/alarms/4").empty());
    }

    tc.ctx->alarmLog->acknowledge(QStringLiteral("WHERE Adresse = '3'"));
    ASSERT_TRUE(watch.waitFor([&] { return json(last(watch, "alarms/3"))[QStringLiteral("acknowledged")].toBool(); }, 3));

    sim.plant().clearAllFaults();
    ASSERT_TRUE(watch.waitFor([&] { return last(watch, "alarms/3").empty(); }, 3, [&] { pass(); }));
    MqttWatcher later(broker.port());
    ASSERT_TRUE(later.waitFor([&] { return !later.on("zev/press-07/state").empty(); }, 3));
    later.waitFor([] { return false; }, 0.3);
    EXPECT_TRUE(later.on("zev/press-07/alarms/3").empty()) << "a gone alarm leaves no retained message";

    publisher.reset();  // the station ends: it says so before it goes
    ASSERT_TRUE(later.waitFor([&] { return !json(last(later, "state"))[QStringLiteral("online")].toBool(true); }, 3));
}

TEST_F(PublisherOnSimulator, RecordsWrittenWhileTheBrokerIsAwayArriveOnceAndInOrderAcrossAStationRestart) {
    auto publisher = std::make_unique<PlantPublisher>(*tc.ctx);
    MqttWatcher watch(broker.port(), "zev/press-07/events", "dashboard");
    ASSERT_TRUE(watch.waitFor([&] { return watch.connected() && publisher->status().state == LinkState::Connected; }, 5));
    // An alarm present when the broker goes, gone when it is back: its
    // retained message must not outlive it.
    ASSERT_TRUE(sim.plant().inject({FaultKind::BrokenSensor, 2, 8}));
    ASSERT_TRUE(watch.waitFor([&] { return !watch.on("zev/press-07/events").empty(); }, 3, [&] { pass(); }));
    const qint64 before = logIds(tc, 0).back();
    watch.waitFor([] { return false; }, 0.3);

    // Half a minute without the broker; the three alarms come and go spread over it.
    constexpr double kOutage = 30.0;
    QElapsedTimer away;
    away.start();
    broker.stop();
    ASSERT_TRUE(watch.waitFor([&] { return publisher->status().state != LinkState::Connected; }, 5));
    int zone = 2;
    for (int alarm = 0; alarm < 3; ++alarm, zone += 3) {
        ASSERT_TRUE(sim.plant().inject({FaultKind::BrokenSensor, 1, zone}));
        for (int i = 0; i < 3; ++i) pass();
        sim.plant().clearAllFaults();
        for (int i = 0; i < 3; ++i) pass();
        if (alarm == 1) publisher = std::make_unique<PlantPublisher>(*tc.ctx);  // the station restarts
        watch.waitFor([] { return false; }, (alarm + 1) * kOutage / 3 - away.elapsed() / 1000.0);
    }
    const std::vector<qint64> expected = logIds(tc, before);
    ASSERT_GE(expected.size(), 3U);

    ASSERT_TRUE(broker.start());
    auto ids = [&] {
        std::vector<qint64> got;
        for (const MqttMessage& m : watch.on("zev/press-07/events"))
            got.push_back(json(m.payload)[QStringLiteral("id")].toInteger());
        return got;
    };
    ASSERT_TRUE(watch.waitFor([&] { return !ids().empty() && ids().back() == expected.back(); }, 10));
    watch.waitFor([] { return false; }, 0.5);  // nothing more may follow
    std::vector<qint64> got = ids();
    std::erase_if(got, [&](qint64 id) { return id <= before; });  // the records of the alarm before
    EXPECT_EQ(got, expected);
    MqttWatcher fresh(broker.port());
    ASSERT_TRUE(fresh.waitFor([&] { return !fresh.on("zev/press-07/state").empty(); }, 3));
    fresh.waitFor([] { return false; }, 0.3);
    EXPECT_TRUE(fresh.on("zev/press-07/alarms/16").empty());
    EXPECT_EQ(publisher->feed().acknowledged(), expected.back());
}

TEST(PlantPublisherFaults, TheConfigurationPageSaysWhatIsWrong) {
    MqttBroker refusing(QStringLiteral("allow_anonymous false"));
    ASSERT_TRUE(refusing.start());
    QTemporaryDir dir;
    const QString garbageCa = dir.filePath(QStringLiteral("ca.pem"));
    QFile f(garbageCa);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a certificate\n");
    f.close();
    const struct {
        const char* what;
        int port;
        QString key, value;
        const char* starts;  // English text of the state
    } cases[] = {
        {"nothing listens", freeLocalPort(), {}, {}, "Broker not reachable: "},
        {"login refused", refusing.port(), {}, {}, "Login refused: "},
        {"TLS to a plain listener", refusing.port(), QStringLiteral("TLS"), QStringLiteral("1"), "TLS error"},
        {"name with a slash", refusing.port(), QStringLiteral("Station"), QStringLiteral("hall/7"), "Station name not valid"},
        {"port out of range", 70000, {}, {}, "Port (1..65535)"},
    };
    for (const auto& c : cases) {
        TestContext tc(2);
        configure(tc, c.port, c.key, c.value);
        tc.settings->SetIni(QStringLiteral("MQTT"), QStringLiteral("CAFile"), garbageCa, QStringLiteral("*"));
        PlantPublisher publisher(*tc.ctx);
        auto text = [&] {
            return linkStatusText(*tc.texts, publisher.config().enabled, publisher.problem(), publisher.status());
        };
        MqttWatcher idle(refusing.port());
        idle.waitFor([&] { return text().startsWith(QLatin1String(c.starts)); }, 3);
        EXPECT_TRUE(text().startsWith(QLatin1String(c.starts))) << c.what << ": " << text().toStdString();
    }
}

TEST(PlantPublisherFaults, TheWaitForTheNextAttemptCountsDown) {
    TestContext tc(2);
    configure(tc, freeLocalPort(), QStringLiteral("RetryFirst"), QStringLiteral("3"));
    PlantPublisher publisher(*tc.ctx);
    auto left = [&] { return publisher.status().state == LinkState::Waiting ? publisher.status().retryIn : -1; };
    QElapsedTimer t;
    t.start();
    while (left() != 3 && t.elapsed() < 3000) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(left(), 3);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    const int later = left();
    EXPECT_TRUE(later == 2 || later == 1) << later;  // counted down, not the 3 it began with
}

}  // namespace
