// A whole application context for a test: real settings in a temporary program
// directory, real texts, the scripted operator (answers given by the test, the
// transcript readable), a fake clock, a pump that advances the fake clock, a
// platform and a printer that only record, and the real bus library.
#pragma once

#include "fake_clock.h"
#include "temp_home.h"

#include "link/bus_link.h"
#include "link/link_session.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "base/app_context.h"
#include "base/navigation.h"
#include "base/lifecycle.h"
#include "base/notification_hub.h"
#include "base/platform.h"
#include "base/progress_line.h"
#include "base/settings.h"
#include "support/error_protocol.h"
#include "base/event_pump.h"
#include "support/password_store.h"
#include "support/printing.h"
#include "support/scripted_operator.h"
#include "support/texts.h"
#include "support/user_levels.h"

#include <QTextStream>
#include <functional>
#include <memory>

namespace zev::test {

class FakePlatform final : public Platform {
public:
    int scrollBarWidth() const override { return width; }
    int scrollBarHeight() const override { return height; }
    void setScrollBars(int w, int h) override { width = w; height = h; }
    bool fontExists(const QString& face) const override { return installedFonts.contains(face); }
    int addFont(const QString& file) override { addedFonts << file; return 1; }
    QString kioskShell() const override { return shell; }
    QString programFile() const override { return program; }
    bool powerOff(QString* error) override {
        ++powerOffs;
        if (!powerOffWorks && error) *error = QStringLiteral("refused");
        return powerOffWorks;
    }
    bool startDetached(const QString& p, const QStringList& a) override { started << (QStringList{p} + a); return true; }
    qint64 diskFree(const QString& path) const override { return freeFor ? freeFor(path) : freeBytes; }
    bool openDateTimeSettings() override { ++dateTimeSettingsOpened; return dateTimeSettingsWork; }

    int width = 17, height = 17;
    QStringList installedFonts, addedFonts;
    QString shell, program = QStringLiteral("/opt/zev/zevcontrol");
    bool powerOffWorks = true;
    int powerOffs = 0;
    QList<QStringList> started;
    qint64 freeBytes = qint64(10) * 1024 * 1024 * 1024;
    std::function<qint64(const QString&)> freeFor;  // when set, answers diskFree instead of freeBytes
    int dateTimeSettingsOpened = 0;
    bool dateTimeSettingsWork = true;
};

class FakePrinter final : public Printer {
public:
    bool printLines(const QString& title, const QStringList& lines, QString* error, QString*) override {
        jobs.append({title, lines});
        if (!works && error) *error = QStringLiteral("no paper");
        return works;
    }
    QList<std::pair<QString, QStringList>> jobs;
    bool works = true;
};

class FakeProgress final : public ProgressLine {
public:
    bool shown() const override { return visible; }
    void setAction(const QString& t) override { line = t; history << t; }
    void appendAction(const QString& t) override { line += t; }
    QString action() const override { return line; }
    bool visible = true;
    QString line;
    QStringList history;
};

// Each yield moves the fake clock by `step` seconds and runs the hook (e.g. the
// simulator's time), so waiting loops finish without real waiting.
class FakePump final : public EventPump {
public:
    explicit FakePump(FakeClock& clock) : clock_(clock) {}
    void yield() override {
        clock_.advance(step);
        ++yields;
        if (hook) hook();
    }
    double step = 0.05;
    int yields = 0;
    std::function<void()> hook;

private:
    FakeClock& clock_;
};

class TestContext {
public:
    // language: 1 German, 2 English. bus: a stand-in for the bus library (the
    // real library when null).
    explicit TestContext(int language = 1, BusLink* bus = nullptr);
    ~TestContext();

    // Answers of the scripted operator, consumed in order.
    void answer(const QStringList& answers);
    // The operator's transcript so far, one interaction per line.
    QStringList transcript() const;
    QString lastNotice() const;

    TempHome home;
    FakeClock clock;
    FakePump pump{clock};
    ExitRequest lifecycle;
    FakePlatform platform;
    FakePrinter printer;
    FakeProgress progress;
    NotificationHub hub;
    Navigation navigation;
    BusLink realBus;
    BusLink& bus;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<Texts> texts;
    std::unique_ptr<ScriptedOperator> op;
    std::unique_ptr<ErrorProtocol> errors;
    std::unique_ptr<PasswordStore> passwords;
    std::unique_ptr<UserLevels> users;
    PlantData plant;
    ToolData tool;
    DriverData driver;
    std::unique_ptr<AppContext> ctx;
    // The link session of ctx (ctx->link); its alarm log opens with start().
    std::unique_ptr<LinkSession> link;
    QStringList fatalMessages;

private:
    QString transcript_;
    QTextStream out_{&transcript_};
};

}  // namespace zev::test
