// User levels: the guard of every command, the login, the password change and
// the 11-minute fall-back on the fake clock.
#include "test_context.h"

#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;

namespace {

class UserLevelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        users().loadLevelNames();
        users().loadPasswords();  // defaults: 1 "", 2 and 3 "58", 4 "harbour"
    }
    UserLevels& users() { return *tc.users; }
    void minutes(int n) {
        for (int i = 0; i < n; ++i) {
            tc.clock.advance(60);
            users().poll();
        }
    }
    TestContext tc;
};

TEST_F(UserLevelsTest, OpenLevelPassesWithoutPromptAndKeepsTheLevel) {
    EXPECT_TRUE(users().CheckLevel(1));
    EXPECT_EQ(users().UserLevel(), 0);
    EXPECT_TRUE(tc.transcript().isEmpty());
}

TEST_F(UserLevelsTest, HigherPasswordAtALowerPromptLogsInAtTheHigherLevel) {
    tc.answer({QStringLiteral("2"), QStringLiteral("harbour")});  // Login, then the level-4 password
    EXPECT_TRUE(users().CheckLevel(2));
    EXPECT_EQ(users().UserLevel(), 4);
    EXPECT_EQ(users().LevelName(4), QStringLiteral("SERVICE"));
    const QStringList t = tc.transcript();
    ASSERT_EQ(t.size(), 2);
    EXPECT_TRUE(t[0].startsWith(QStringLiteral("NOTICE Für diese Funktion wird die OPTIMIERUNG-Ebene benötigt. | Abbruch | Login")));
    EXPECT_TRUE(t[1].startsWith(QStringLiteral("INPUT Passworteingabe für Benutzerebene: OPTIMIERUNG oder höher.")));
}

TEST_F(UserLevelsTest, LowerLevelsAreNotTried) {
    // 2 and 3 share "58" by default: give level 3 its own password first.
    tc.answer({QStringLiteral("2"), QStringLiteral("harbour"), QStringLiteral("drei"), QStringLiteral("drei"),
               QStringLiteral("2")});
    users().cmdChangePW_Click(3);  // needs level 3: logs in with the level-4 password
    ASSERT_EQ(users().LevelPassword(3), QStringLiteral("drei"));
    users().TryChangeUserLevel(0);
    tc.answer({QStringLiteral("2"), QStringLiteral("58"), QStringLiteral("2")});
    EXPECT_FALSE(users().CheckLevel(3));
    EXPECT_EQ(users().UserLevel(), 0);
    EXPECT_TRUE(tc.lastNotice().startsWith(QStringLiteral("NOTICE Falsches Passwort.")));
}

TEST_F(UserLevelsTest, CancelRefusesAndChangesNothing) {
    tc.answer({QStringLiteral("1")});
    EXPECT_FALSE(users().CheckLevel(3));
    tc.answer({QStringLiteral("2"), QStringLiteral("CANCEL")});
    EXPECT_FALSE(users().CheckLevel(3));
    EXPECT_EQ(users().UserLevel(), 0);
}

TEST_F(UserLevelsTest, ServiceCodeOpensLevelFourAfterThePasswordChanged) {
    tc.answer({QStringLiteral("2"), QStringLiteral("harbour"), QStringLiteral("neu4"), QStringLiteral("neu4"),
               QStringLiteral("2")});
    users().cmdChangePW_Click(4);
    users().TryChangeUserLevel(0);
    tc.answer({QStringLiteral("3916")});
    EXPECT_TRUE(users().TryChangeUserLevel(4));
    EXPECT_EQ(users().UserLevel(), 4);
}

TEST_F(UserLevelsTest, FallBackAfterElevenMinutesToTheHighestLevelUsed) {
    tc.answer({QStringLiteral("58")});
    ASSERT_TRUE(users().TryChangeUserLevel(3));  // starts the login timer
    minutes(10);
    EXPECT_EQ(users().UserLevel(), 3);
    minutes(1);
    EXPECT_EQ(users().UserLevel(), 0);
    EXPECT_FALSE(users().loginTimerEnabled());
}

TEST_F(UserLevelsTest, SettingTheDateAndTimeNeitherLengthensNorShortensALogin) {
    tc.answer({QStringLiteral("58")});
    ASSERT_TRUE(users().TryChangeUserLevel(3));
    minutes(5);
    // Forward a day: the login does not end early.
    tc.clock.set(tc.clock.now().addDays(1));
    users().poll();
    EXPECT_EQ(users().UserLevel(), 3);
    // Back an hour (the status bar's clock allows it at level 4): it does not last longer.
    tc.clock.set(tc.clock.now().addSecs(-3600));
    minutes(5);
    EXPECT_EQ(users().UserLevel(), 3);
    minutes(1);
    EXPECT_EQ(users().UserLevel(), 0);
}

TEST_F(UserLevelsTest, FallBackStopsAtALevelUsedMeanwhileAndKeepsCounting) {
    tc.answer({QStringLiteral("58")});
    ASSERT_TRUE(users().TryChangeUserLevel(3));
    minutes(4);
    EXPECT_TRUE(users().CheckLevel(2));
    minutes(7);
    EXPECT_EQ(users().UserLevel(), 2);
    EXPECT_TRUE(users().loginTimerEnabled());
    minutes(11);
    EXPECT_EQ(users().UserLevel(), 0);
}

TEST_F(UserLevelsTest, WorkingAtTheCurrentLevelRestartsTheTimer) {
    tc.answer({QStringLiteral("58")});
    ASSERT_TRUE(users().TryChangeUserLevel(3));
    minutes(9);
    EXPECT_TRUE(users().CheckLevel(3));
    minutes(9);
    EXPECT_EQ(users().UserLevel(), 3);
    minutes(2);
    EXPECT_EQ(users().UserLevel(), 0);
}

TEST_F(UserLevelsTest, DifferentEntriesLeaveThePasswordUnchanged) {
    tc.answer({QStringLiteral("2"), QStringLiteral("58"), QStringLiteral("eins"), QStringLiteral("zwei"),
               QStringLiteral("2")});
    users().cmdChangePW_Click(2);
    EXPECT_EQ(users().LevelPassword(2), QStringLiteral("58"));
    EXPECT_TRUE(tc.lastNotice().startsWith(QStringLiteral("NOTICE Passwörter unterschiedlich.")));
    // And it is still "58" in the store after a restart.
    EXPECT_TRUE(users().loadPasswords());
    EXPECT_EQ(users().LevelPassword(2), QStringLiteral("58"));
}

TEST_F(UserLevelsTest, ChangingAPasswordNeedsItsLevel) {
    tc.answer({QStringLiteral("1")});  // cancel the login
    users().cmdChangePW_Click(4);
    EXPECT_EQ(users().LevelPassword(4), QStringLiteral("harbour"));
    EXPECT_EQ(tc.transcript().size(), 1);
}

TEST_F(UserLevelsTest, LevelChangesAreAnnounced) {
    int announced = -1;
    QObject::connect(&users(), &UserLevels::levelChanged, [&](int l) { announced = l; });
    tc.answer({QStringLiteral("harbour")});
    users().TryChangeUserLevel(4);
    EXPECT_EQ(announced, 4);
}

}  // namespace
