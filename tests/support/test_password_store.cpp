// The machine-wide password store: defaults, enciphering, damage.
#include "test_context.h"

#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;

TEST(PasswordStore, MissingKeysStoreTheDefaultsEnciphered) {
    TestContext tc;
    const auto loaded = tc.passwords->load();
    EXPECT_FALSE(loaded.damaged);
    EXPECT_EQ(loaded.passwords[1], QString());
    EXPECT_EQ(loaded.passwords[2], QStringLiteral("58"));
    EXPECT_EQ(loaded.passwords[4], QStringLiteral("harbour"));
    const QByteArray file = tc.home.read(QStringLiteral("sys/passwords.ini"));
    EXPECT_TRUE(file.contains("[INFO]"));
    EXPECT_TRUE(file.contains("PL4="));
    EXPECT_FALSE(file.contains("harbour"));  // not in clear
}

TEST(PasswordStore, CipherIsReversibleForAnyText) {
    for (const QString& clear : {QString(), QStringLiteral("58"), QStringLiteral("Überdruck ~~ = ;[x]")}) {
        const QString stored = PasswordStore::encipher(clear);
        EXPECT_NE(stored, clear);
        EXPECT_EQ(PasswordStore::decipher(stored).value_or(QStringLiteral("<none>")), clear);
    }
}

TEST(PasswordStore, AnEmptiedPasswordStaysEmptyAfterARestart) {
    TestContext tc;
    tc.passwords->load();
    tc.passwords->store(2, QString());
    EXPECT_EQ(tc.passwords->load().passwords[2], QString());
}

TEST(PasswordStore, ADamagedEntryRunsWithTheDefaultAndIsNotOverwritten) {
    TestContext tc;
    tc.home.write(QStringLiteral("sys/passwords.ini"), "[INFO]\r\nPL3=\x01\x02garbage\r\n");
    const auto loaded = tc.passwords->load();
    EXPECT_TRUE(loaded.damaged);
    EXPECT_EQ(loaded.passwords[3], QStringLiteral("58"));
    EXPECT_TRUE(tc.home.read(QStringLiteral("sys/passwords.ini")).contains("PL3=\x01\x02garbage"));
}
