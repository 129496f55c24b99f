// Reading the parameter store, recipes and sending the differences on the
// in-process simulator: three controllers (12, 2 and 4 channels), each its own
// master; replies changed on their way back where a test needs a faulty one.
#include "parameter_fixture.h"

#include "parameters/change_plan.h"
#include "parameters/parameter_reader.h"
#include "parameters/parameter_sender.h"
#include "parameters/recipe_book.h"
#include "parameters/table_rules.h"
#include "base/settings.h"
#include "support/password_store.h"
#include "support/user_levels.h"

#include <QFile>

namespace zev::test {
namespace {

class RecipesSim : public ParameterSimTest {
protected:
    RecipesSim() : ParameterSimTest(controllers({12, 2, 4})) {}

    ZoneParameter& param(int p) { return ctx().driver.ZoneParameters[static_cast<std::size_t>(p)]; }
    GlobalParameter& global(const QString& code) {
        for (GlobalParameter& g : ctx().driver.GlobalParameters)
            if (g.Code == code) return g;
        throw std::runtime_error("no such global");
    }
    QString recipeDir() { return ctx().tool.RecipeDir; }
    QString standard() {
        return t.settings->GetIni(QStringLiteral("STANDARD"), QStringLiteral("REZEPT"), QString(), ctx().tool.ToolIni);
    }
    // Telegrams that set something (not the reads of the store).
    QStringList sentTelegrams() {
        QStringList out;
        for (const QString& s : takeTelegrams())
            if (!s.contains(QStringLiteral("KALP")) && !s.endsWith(QLatin1Char('='))) out << s;
        return out;
    }
    bool recorded(const QString& text) {
        for (const Record& r : records())
            if (r.meldung == text) return true;
        return false;
    }

    ParameterReader reader{ctx(), feedback};
    RecipeBook book{ctx(), feedback};
    ParameterSender sender{ctx(), feedback, record};
};

TEST_F(RecipesSim, ZoneParametersAreReadOneBlockPerControllerAndAWrongLengthIsNoValue) {
    for (int c = 1; c <= 12; ++c) ASSERT_TRUE(bus.plant().setZoneParameter(1, c, 1, 100 + c));
    for (int c = 1; c <= 4; ++c) ASSERT_TRUE(bus.plant().setZoneParameter(3, c, 1, 300 + c));
    struct Case {
        const char* name;
        std::function<void(QByteArray&)> change;  // on controller 1's reply (48 characters for 12 channels)
        bool firstRead;
    };
    const Case cases[] = {
        {"48 characters", nullptr, true},
        {"47 characters", [](QByteArray& r) { r.remove(4, 1); }, false},
        {"49 characters", [](QByteArray& r) { r.insert(4, '0'); }, false},
        {"no answer", [](QByteArray& r) { r = "?"; }, false},
    };
    for (const Case& c : cases) {
        tamperBus.tamper = [&](const QByteArray& command, QByteArray& reply, int*) {
            if (command == "G01KALP01=" && c.change) c.change(reply);
            if (command == "G02KALP01=") reply = "G02=0250-010xx\x03";  // what a 2-channel controller answers
        };
        param(1).Value.fill(static_cast<std::int16_t>(kNoValue));
        takeTelegrams();
        const int errors = reader.ReceiveZonenParameter(1);
        EXPECT_EQ(takeTelegrams().filter(QStringLiteral("KALP")).size(), 3) << c.name << ": one telegram per controller";
        EXPECT_EQ(errors, c.firstRead ? 0 : 1) << c.name;
        for (int z = 1; z <= 12; ++z) EXPECT_EQ(param(1).Value[z], c.firstRead ? 100 + z : kNoValue) << c.name << " zone " << z;
        EXPECT_EQ(param(1).Value[13], 250) << c.name;
        EXPECT_EQ(param(1).Value[14], -10) << c.name;
        for (int z = 15; z <= 18; ++z) EXPECT_EQ(param(1).Value[z], 300 + z - 14) << c.name << ": the next controller is read";
    }
}

TEST_F(RecipesSim, AGlobalReplyThatIsNoNumberIsNoValueAndAnError) {
    const std::pair<const char*, QByteArray> cases[] = {
        {"no answer", QByteArray("?")},
        {"ACK", QByteArray("G01\x06")},
        {"NAK", QByteArray("G01\x15")},
        {"garbage", QByteArray("G01=12ab__\x03")},
        {"empty", QByteArray("G01=__\x03")},
    };
    for (const auto& [name, reply] : cases) {
        tamperBus.tamper = [&](const QByteArray& command, QByteArray& r, int*) {
            if (command == "G01?HIW=") r = reply;
        };
        EXPECT_EQ(reader.ReceiveGlobalParameter(), 1) << name;
        EXPECT_EQ(global(QStringLiteral("?HIW")).Value, kNoValue) << name;
        EXPECT_EQ(recipeCell(global(QStringLiteral("?HIW")).Value, 45, true).back, CellColour::Red) << name;
    }
    tamperBus.tamper = nullptr;
    EXPECT_EQ(reader.ReceiveGlobalParameter(), 0);
    EXPECT_EQ(global(QStringLiteral("?APM")).Value, std::stoi(bus.plant().readGlobal(1, "?APM").value_or("-1")));
}

TEST_F(RecipesSim, ASavedRecipeReplacesTheOldFileAndLoadsWithoutDifference) {
    ASSERT_TRUE(bus.plant().setZoneParameter(2, 2, 15, -10));
    ASSERT_GE(reader.ReceiveParameter(), 0);
    // An older recipe of that name with keys the new one must not keep.
    QDir().mkpath(recipeDir());
    QFile old(recipeDir() + QStringLiteral("TEST.RZP"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("[Z099]\r\nPARAM=1;\r\n[GLOBAL]\r\n?HIW=999\r\n?OLD=5\r\n");
    old.close();
    global(QStringLiteral("?HIW")).Value = kNoValue;  // its reading failed
    t.answer({QStringLiteral("1")});                  // overwrite: "Ja"
    const QString name = book.checkedName(QStringLiteral(" test "));
    ASSERT_EQ(book.askOverwrite(name), RecipeBook::Overwrite::Store);
    ASSERT_TRUE(book.doSaveRecipe(name));

    const QByteArray text = t.home.read(QDir(t.home.path()).relativeFilePath(recipeDir() + QStringLiteral("TEST.RZP")));
    QByteArray zone14 = "[Z014]\r\nPARAM=";
    for (int p = 1; p <= 28; ++p) {
        const auto v = bus.plant().zoneParameter(2, 2, p);
        zone14 += QByteArray::number(p == 15 ? -10 : (v && p <= 26 ? *v : kNoValue)) + ';';
    }
    EXPECT_TRUE(text.contains(zone14 + "\r\nMODE=2\r\n")) << text.left(400).toStdString();
    EXPECT_FALSE(text.contains("Z099"));
    EXPECT_FALSE(text.contains("?OLD"));
    EXPECT_TRUE(text.contains("?HIW=-10024\r\n"));
    EXPECT_TRUE(recorded(QStringLiteral("Rezept TEST gespeichert.")));
    EXPECT_EQ(standard(), QStringLiteral("TEST"));

    // Targets elsewhere, then the recipe again: no difference.
    for (int p = 1; p <= 28; ++p) param(p).Target.fill(1);
    for (int z = 1; z <= 18; ++z) ctx().plant.zone(z).PrevMode = 0;
    EXPECT_TRUE(IsRecipeDiffer(ctx()));
    ASSERT_TRUE(book.doLoadRecipe(QStringLiteral("TEST")));
    EXPECT_FALSE(IsRecipeDiffer(ctx()));
    EXPECT_EQ(param(15).Target[14], -10);
    EXPECT_EQ(global(QStringLiteral("?HIW")).Target, kNoValue);
}

TEST_F(RecipesSim, OnlyTheDifferencesAreSentAndNothingUnsendable) {
    ASSERT_GE(reader.ReceiveParameter(), 0);
    const int p1 = param(1).Value[3];
    for (int p = 1; p <= 28; ++p) param(p).Target = param(p).Value;
    for (int z = 1; z <= 18; ++z) ctx().plant.zone(z).PrevMode = ctx().plant.zone(z).Mode;
    param(1).Target[3] = static_cast<std::int16_t>(p1 == 77 ? 78 : 77);  // sent
    param(5).Target[14] = 500;                                           // outside 0..100: an error, not sent
    param(11).Target[2] = 1;                                             // read-only: no change at all
    ctx().plant.zone(5).PrevMode = 0;                                    // switched off
    ctx().plant.zone(6).ModeFlag = true;
    ctx().plant.zone(6).PrevMode = 1;                                    // manual never to a monitor zone
    ctx().plant.zone(7).PrevMode = 3;                                    // the first value that is no mode: no wish
    global(QStringLiteral("?HIW")).Target = 45;
    tamperBus.tamper = [](const QByteArray& command, QByteArray& r, int*) {
        if (command.startsWith("G02?HIW=")) r = "G02\x15";  // one master refuses
    };
    takeTelegrams();
    std::vector<bool> all(19, true);
    const SendOutcome out = sender.sendChangedParam(all);
    EXPECT_TRUE(t.transcript().filter(QStringLiteral("Alle Zonen")).isEmpty()) << "every zone selected: no question";
    EXPECT_EQ(out.count, 4);
    EXPECT_EQ(out.sent, 3);
    EXPECT_EQ(out.errors, 1);
    const QStringList sent = sentTelegrams();
    EXPECT_EQ(sent.size(), 5) << sent.join(QLatin1Char(' ')).toStdString();  // parameter, mode, ?HIW to 3 masters
    EXPECT_EQ(sent.filter(QStringLiteral("?HIW=0045")).size(), 3);
    EXPECT_EQ(bus.plant().zoneParameter(1, 3, 1), param(1).Target[3]);
    EXPECT_EQ(bus.plant().zoneParameter(2, 2, 5), param(5).Value[14]) << "unchanged at the controller";
    EXPECT_EQ((bus.plant().statusWord(1, 5) & 0x60) >> 5, 0);
    EXPECT_EQ((bus.plant().statusWord(1, 6) & 0x60) >> 5, 2);
    EXPECT_EQ(global(QStringLiteral("?HIW")).Value, 45) << "acknowledged by one master";
    // Only the unsendable target still differs.
    const ChangePlan left = planChanges(ctx());
    ASSERT_EQ(left.count(), 1);
    EXPECT_FALSE(left.parameters[0].sendable);
}

TEST_F(RecipesSim, ASecondClickDoesNothingAndASilentControllerLeavesTheRestToComplete) {
    ASSERT_GE(reader.ReceiveParameter(), 0);
    for (int p = 1; p <= 28; ++p) param(p).Target = param(p).Value;
    for (int z : {2, 16}) param(1).Target[z] = static_cast<std::int16_t>(param(1).Value[z] == 50 ? 51 : 50);
    ASSERT_TRUE(bus.plant().inject({zevsim::FaultKind::ControllerSilent, 3}));  // zones 15..18
    std::vector<SendOutcome> nested;
    t.pump.hook = [&] {
        if (nested.empty()) nested.push_back(sender.sendChangedParam(std::vector<bool>(19, true)));
    };
    const SendOutcome out = sender.sendChangedParam(std::vector<bool>(19, true));
    t.pump.hook = nullptr;
    ASSERT_EQ(nested.size(), 1u);
    EXPECT_FALSE(nested[0].started) << "a send while one runs";
    EXPECT_EQ(out.sent, 1);
    EXPECT_EQ(out.errors, 1);
    EXPECT_EQ(bus.plant().zoneParameter(1, 2, 1), param(1).Target[2]);
    EXPECT_EQ(param(1).Value[16], kNoValue) << "unknown after the failed write: red, and sent again next time";
    EXPECT_EQ(planChanges(ctx()).count(), 1);
}

TEST_F(RecipesSim, MarkedZonesAndGlobalsAboveTheOperatorsLevel) {
    ASSERT_GE(reader.ReceiveParameter(), 0);
    for (int p = 1; p <= 28; ++p) param(p).Target = param(p).Value;
    param(1).Target[2] = static_cast<std::int16_t>(param(1).Value[2] == 50 ? 51 : 50);
    param(1).Target[9] = static_cast<std::int16_t>(param(1).Value[9] == 50 ? 51 : 50);
    GlobalParameter& hiw = global(QStringLiteral("?HIW"));
    hiw.Target = 45;
    hiw.Level = 4;
    for (int level = 1; level <= 3; ++level) t.passwords->store(level, QString());
    t.passwords->store(4, QStringLiteral("geheim"));
    t.users->loadPasswords();
    takeTelegrams();
    // "Nur markierte", then the level question of the global refused ("Abbruch").
    t.answer({QStringLiteral("2"), QStringLiteral("1")});
    const SendOutcome out = sender.sendChangedParam(zonesSelected({2}));
    EXPECT_EQ(out.heldBack, 1) << t.transcript().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(out.sent, 1);
    EXPECT_EQ(sentTelegrams().size(), 1);
    EXPECT_EQ(bus.plant().zoneParameter(1, 2, 1), param(1).Target[2]);
    EXPECT_NE(bus.plant().zoneParameter(1, 9, 1), param(1).Target[9]) << "not marked";
    EXPECT_NE(hiw.Value, 45);
}

TEST_F(RecipesSim, AnUnknownStatusIsNoWishAndNeverSwitchesAZoneOff) {
    ASSERT_GE(reader.ReceiveParameter(), 0);
    ctx().plant.zone(4).StatusWord = kNoValue;  // a failed reading leaves mode 0 in the table
    ctx().plant.zone(4).Mode = 0;
    ASSERT_TRUE(book.doSaveRecipe(QStringLiteral("UNKNOWN")));
    EXPECT_TRUE(t.home.read(QDir(t.home.path()).relativeFilePath(recipeDir() + QStringLiteral("UNKNOWN.RZP")))
                    .contains("[Z004]\r\nPARAM="));
    ASSERT_TRUE(book.doLoadRecipe(QStringLiteral("UNKNOWN")));
    EXPECT_EQ(ctx().plant.zone(4).PrevMode, kNoValue);
    EXPECT_FALSE(IsRecipeDiffer(ctx()));
    takeTelegrams();
    sender.sendChangedParam(std::vector<bool>(19, true));
    EXPECT_TRUE(sentTelegrams().isEmpty());
    EXPECT_EQ((bus.plant().statusWord(1, 4) & 0x60) >> 5, 2);
}

TEST_F(RecipesSim, BadRecipesAndAFailedSaveChangeNothing) {
    ASSERT_GE(reader.ReceiveParameter(), 0);
    ASSERT_TRUE(book.doSaveRecipe(QStringLiteral("GOOD")));
    const auto targets = param(1).Target;
    QDir().mkpath(recipeDir());
    QByteArray garbage(2048, '\0');
    for (int i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 31 % 256);
    QFile g(recipeDir() + QStringLiteral("JUNK.RZP"));
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(garbage);
    g.close();
    const QStringList before = QDir(recipeDir()).entryList(QDir::Files);
    struct Case {
        const char* name;
        const char* notice;
    };
    const Case cases[] = {{"NOPE", "Dieses Rezept gibt es nicht: NOPE"}, {"JUNK", "kein lesbares Rezept"}};
    for (const Case& c : cases) {
        t.answer({QStringLiteral("2")});  // "OK"
        EXPECT_FALSE(book.doLoadRecipe(QString::fromLatin1(c.name))) << c.name;
        EXPECT_TRUE(t.lastNotice().contains(QString::fromUtf8(c.notice))) << t.transcript().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(param(1).Target, targets) << c.name;
        EXPECT_EQ(standard(), QStringLiteral("GOOD")) << c.name;
    }
    EXPECT_EQ(QDir(recipeDir()).entryList(QDir::Files), before) << "loading writes no file";
    QFile check(recipeDir() + QStringLiteral("JUNK.RZP"));
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), garbage);

    // A recipe of the first 10 zones: the others keep their targets and want no mode.
    ASSERT_TRUE(book.doSaveRecipe(QStringLiteral("SMALL")));
    QFile small(recipeDir() + QStringLiteral("SMALL.RZP"));
    ASSERT_TRUE(small.open(QIODevice::ReadOnly));
    QByteArray text = small.readAll();
    small.close();
    text = text.left(text.indexOf("[Z011]")) + text.mid(text.indexOf("[GLOBAL]"));
    ASSERT_TRUE(small.open(QIODevice::WriteOnly | QIODevice::Truncate));
    small.write(text);
    small.close();
    param(1).Target[12] = 7;
    t.answer({QStringLiteral("2")});
    ASSERT_TRUE(book.doLoadRecipe(QStringLiteral("small")));
    EXPECT_TRUE(t.lastNotice().contains(QStringLiteral("10/18"))) << t.lastNotice().toStdString();
    EXPECT_EQ(param(1).Target[12], 7);
    EXPECT_EQ(ctx().plant.zone(12).PrevMode, kNoValue);
    EXPECT_EQ(ctx().plant.zone(10).PrevMode, 2);

    // Saving where no file can be made: told, no record, the standard recipe stays.
    const QString dir = ctx().tool.RecipeDir;
    ctx().tool.RecipeDir = recipeDir() + QStringLiteral("GOOD.RZP/");
    t.answer({QStringLiteral("2")});
    EXPECT_FALSE(book.doSaveRecipe(QStringLiteral("FAIL")));
    ctx().tool.RecipeDir = dir;
    EXPECT_TRUE(t.lastNotice().contains(QStringLiteral("Die Datei konnte nicht geschrieben werden"))) << t.lastNotice().toStdString();
    EXPECT_FALSE(recorded(QStringLiteral("Rezept FAIL gespeichert.")));
    EXPECT_EQ(standard(), QStringLiteral("SMALL"));
}

}  // namespace
}  // namespace zev::test
