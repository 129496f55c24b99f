// The plant link's page in the configuration view of the real main window, in
// both languages: settings entered on the touch entries, a station name the
// topics cannot carry refused before anything is stored, applied settings in
// zev.ini, the state of the connection and the connection test against a real
// broker. Screenshots docs/screenshots/plant-link-*.png with ZEV_SCREENSHOT_DIR.
#include "screenshots.h"
#include "mqtt_broker.h"
#include "test_context.h"

#include "plant/tool_data.h"
#include "plantlink/forms/plant_link_page.h"
#include "plantlink/plant_publisher.h"
#include "shell/config_view.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace zev::test {
namespace {

struct Language {
    int id;
    const char* connected;
    const char* badName;
    const char* testOk;
    const char* shot;
};

class PlantLinkPageTest : public ::testing::TestWithParam<Language> {};

TEST_P(PlantLinkPageTest, EnteredAppliedConnectedAndTested) {
    const Language& lang = GetParam();
    MqttBroker broker;
    ASSERT_TRUE(broker.start());
    TestContext t(lang.id);
    t.tool.LogFileDir = t.home.file(QStringLiteral("TOOLS/T/LOGFILES/"));
    t.link->start(false);  // offline, with the tool's alarm log
    PlantPublisher publisher(*t.ctx);
    t.ctx->plantLink = &publisher;
    SplashWindow splash;
    MainWindow main(*t.ctx, splash);
    main.InitForms();
    main.mainTimer()->stop();
    main.setGeometry(QRect(0, 0, 1024, 768));
    main.show();
    main.selectTab(kViewConfiguration);
    auto* config = dynamic_cast<ConfigView*>(main.view(kViewConfiguration));
    ASSERT_NE(config, nullptr);
    config->pages()->setCurrentIndex(kPagePlantLink);
    auto* page = main.findChild<PlantLinkPage*>();
    ASSERT_NE(page, nullptr);
    auto click = [&](const char* name) {
        auto* b = page->findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        b->click();
        QApplication::processEvents();
    };
    auto text = [&](const char* name) { return page->findChild<QLabel*>(QString::fromLatin1(name))->text(); };
    const QByteArray before = t.home.read(QStringLiteral("zev.ini"));

    t.answer({QStringLiteral("127.0.0.1"), QString::number(broker.port()), QStringLiteral("hall 7/press")});
    click("cmdHost");
    click("cmdPort");
    click("cmdStation");
    click("chkEnabled");
    EXPECT_EQ(text("lblTest"), QString::fromUtf8(lang.badName)) << t.transcript().join(QLatin1Char('\n')).toStdString();
    click("cmdApply");
    EXPECT_EQ(t.home.read(QStringLiteral("zev.ini")), before) << "a refused name stores nothing";

    t.answer({QStringLiteral("press-7")});
    click("cmdStation");
    click("cmdApply");
    const QByteArray ini = t.home.read(QStringLiteral("zev.ini"));
    EXPECT_TRUE(ini.contains("[MQTT]\r\nEnabled=1\r\nHost=127.0.0.1\r\nPort=" + QByteArray::number(broker.port()) +
                             "\r\nStation=press-7\r\n"))
        << ini.toStdString();
    MqttWatcher watch(broker.port());
    ASSERT_TRUE(watch.waitFor([&] { return text("lblState") == QString::fromUtf8(lang.connected); }, 5)) << text("lblState").toStdString();
    ASSERT_TRUE(watch.waitFor([&] { return !watch.on("zev/press-7/state").empty(); }, 3));

    click("cmdTestConnection");
    ASSERT_TRUE(watch.waitFor([&] { return text("lblTest") == QString::fromUtf8(lang.testOk); }, 5)) << text("lblTest").toStdString();
    EXPECT_EQ(publisher.status().state, LinkState::Connected) << "the test leaves the station's connection alone";

    EXPECT_TRUE(saveScreenshot(main.grab(), QString::fromLatin1(lang.shot)));
    main.unloadViews();
}

INSTANTIATE_TEST_SUITE_P(
    BothLanguages, PlantLinkPageTest,
    ::testing::Values(Language{1, "Verbunden", "Stationsname ungültig: nicht leer, höchstens 64 Zeichen, ohne / # + und Leerzeichen",
                               "Verbindungstest erfolgreich", "plant-link-de.png"},
                      Language{2, "Connected", "Station name not valid: not empty, at most 64 characters, no / # + or blanks",
                               "Connection test succeeded", "plant-link-en.png"}),
    [](const ::testing::TestParamInfo<Language>& info) { return info.param.id == 1 ? "German" : "English"; });

}  // namespace
}  // namespace zev::test
