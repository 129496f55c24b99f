// The programs as a plant runs them: zevsim on a pseudo-terminal, the station
// publishing to a local mosquitto (ZEV_MQTT_BROKER, as ./run does), and a
// dashboard subscribed to zev/#. The station killed with SIGKILL: the broker's
// last will marks it offline.
#include "mqtt_broker.h"
#include "real_programs.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using zev::test::kBin;

QJsonObject lastState(const zev::test::MqttWatcher& w) {
    std::vector<zev::test::MqttMessage> all;
    for (const auto& m : w.messages())
        if (m.topic.size() > 6 && m.topic.compare(m.topic.size() - 6, 6, "/state") == 0) all.push_back(m);
    return all.empty() ? QJsonObject() : QJsonDocument::fromJson(QByteArray::fromStdString(all.back().payload)).object();
}

TEST(PlantLinkRun, TheLastWillMarksAKilledStationOffline) {
    zev::test::MqttBroker broker;
    ASSERT_TRUE(broker.start());
    zev::test::TempHome home;
    zev::test::prepareRealHome(home);
    QProcessEnvironment env = zev::test::realProgramsEnv(home);
    env.insert(QStringLiteral("ZEV_MQTT_BROKER"), QStringLiteral("127.0.0.1:%1").arg(broker.port()));
    home.write(QStringLiteral("zev.ini"), "[MQTT]\r\nStation=press-9\r\n");

    QProcess sim;
    sim.setProcessEnvironment(env);
    sim.start(kBin + QStringLiteral("/zevsim"), {QStringLiteral("--port-link"), home.file(QStringLiteral("ports/COM1")),
                                                 QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--controllers"),
                                                 QStringLiteral("8")});
    ASSERT_TRUE(sim.waitForStarted(5000));
    for (int i = 0; i < 100 && !QFileInfo::exists(home.file(QStringLiteral("ports/COM1"))); ++i) QThread::msleep(50);

    home.write(QStringLiteral("script.txt"), "2\n");  // the new wiring: "Ja, weiter"
    QProcess station;
    station.setProcessEnvironment(env);
    station.start(kBin + QStringLiteral("/zevcontrol"), {QStringLiteral("--home"), home.path(), QStringLiteral("--script"),
                                                         home.file(QStringLiteral("script.txt")), QStringLiteral("--run-for"),
                                                         QStringLiteral("60")});
    ASSERT_TRUE(station.waitForStarted(5000));

    zev::test::MqttWatcher watch(broker.port());
    const bool up = watch.waitFor([&] {
        return lastState(watch)[QStringLiteral("link")].toString() == QStringLiteral("online") &&
               !watch.on("zev/press-9/zones").empty();
    }, 20);
    const QJsonObject online = lastState(watch);
    station.kill();  // SIGKILL: no goodbye from the station
    station.waitForFinished(5000);
    ASSERT_TRUE(up) << QString::fromUtf8(station.readAllStandardOutput()).toStdString();
    EXPECT_TRUE(online[QStringLiteral("online")].toBool());
    EXPECT_EQ(online[QStringLiteral("zones")].toInt(), 8);

    ASSERT_TRUE(watch.waitFor([&] { return !lastState(watch)[QStringLiteral("online")].toBool(true); }, 5));
    zev::test::MqttWatcher late(broker.port());
    ASSERT_TRUE(late.waitFor([&] { return !lastState(late).isEmpty(); }, 3));
    EXPECT_FALSE(lastState(late)[QStringLiteral("online")].toBool(true)) << "the will is retained";

    sim.terminate();
    sim.waitForFinished(5000);
}

}  // namespace
