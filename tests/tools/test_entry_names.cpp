// Typed names of tools and their content stay inside their directory.
#include "temp_home.h"

#include "tools/entry_names.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace zev;

namespace {

TEST(EntryNames, SeparatorsAreReplacedAndNamesOutsideAreRefused) {
    struct Case { const char* typed; const char* clean; };
    const Case cases[] = {
        {"  form 7  ", "form 7"},
        {"../etc", ".._etc"},
        {"a/b\\c:d?e", "a_b_c_d_e"},
        {"..\\..", ".._.."},
        {"Düse \"links\"", "Düse \"links\""},
        {"", nullptr},
        {"   ", nullptr},
        {".", nullptr},
        {" .. ", nullptr},
        {"a\tb", nullptr},
    };
    for (const Case& c : cases) {
        const auto got = cleanEntryName(QString::fromUtf8(c.typed));
        if (!c.clean) {
            EXPECT_FALSE(got.has_value()) << c.typed;
            continue;
        }
        ASSERT_TRUE(got.has_value()) << c.typed;
        EXPECT_EQ(*got, QString::fromUtf8(c.clean)) << c.typed;
    }
}

TEST(EntryNames, ASymbolicLinkOutOfTheFolderIsNotFollowed) {
    test::TempHome home;
    const QString tools = home.file(QStringLiteral("TOOLS"));
    const QString outside = home.file(QStringLiteral("outside"));
    ASSERT_TRUE(QDir().mkpath(tools + QStringLiteral("/FORM1")));
    ASSERT_TRUE(QDir().mkpath(outside));
    ASSERT_TRUE(QFile::link(outside, tools + QStringLiteral("/AWAY")));
    ASSERT_TRUE(QFile::link(tools + QStringLiteral("/FORM1"), tools + QStringLiteral("/ALIAS")));
    ASSERT_TRUE(QFile::link(home.file(QStringLiteral("gone")), tools + QStringLiteral("/DANGLING")));
    EXPECT_TRUE(staysInside(tools, QStringLiteral("FORM1")));
    EXPECT_TRUE(staysInside(tools, QStringLiteral("NEW")));
    EXPECT_TRUE(staysInside(tools, QStringLiteral("ALIAS")));  // leads to a tool of the same folder
    EXPECT_FALSE(staysInside(tools, QStringLiteral("AWAY")));
    EXPECT_FALSE(staysInside(tools, QStringLiteral("DANGLING")));
    EXPECT_FALSE(staysInside(tools, QStringLiteral("..")));
    EXPECT_FALSE(staysInside(tools, QStringLiteral("FORM1/../..")));
}

}  // namespace
