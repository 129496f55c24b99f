#include "test_context.h"

#include <QDir>

namespace zev::test {

TestContext::TestContext(int language, BusLink* busStandIn) : bus(busStandIn ? *busStandIn : realBus) {
    settings = std::make_unique<Settings>(home.path());
    Texts::Config config;
    config.arguments = {QStringLiteral("zevcontrol"), QStringLiteral("LNGID=%1").arg(language)};
    config.languageFile = home.file(QStringLiteral("sys/ZEV3.INI"));
    config.fatal = [this](const QString& m) { fatalMessages << m; };
    texts = std::make_unique<Texts>(*settings, config);
    op = std::make_unique<ScriptedOperator>(QStringList{}, out_, lifecycle);
    errors = std::make_unique<ErrorProtocol>(*texts, *op, clock, lifecycle, printer, home.path());
    passwords = std::make_unique<PasswordStore>(*settings, home.file(QStringLiteral("sys/passwords.ini")));
    users = std::make_unique<UserLevels>(*texts, *op, clock, *passwords);
    ctx = std::unique_ptr<AppContext>(new AppContext{*settings, *texts, *op, clock, pump, hub, *errors, *users, bus,
                                                     platform, printer, progress, lifecycle, navigation, plant, tool,
                                                     driver});
    ctx->programDir = home.path();
    link = std::make_unique<LinkSession>(*ctx);
    ctx->link = link.get();
}

TestContext::~TestContext() {
    link.reset();  // the alarm log closes while the context still stands
}

void TestContext::answer(const QStringList& answers) { op->addAnswers(answers); }

QStringList TestContext::transcript() const {
    QStringList lines = transcript_.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QString TestContext::lastNotice() const {
    const QStringList lines = transcript();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (it->startsWith(QLatin1String("NOTICE "))) return *it;
    return {};
}

}  // namespace zev::test
