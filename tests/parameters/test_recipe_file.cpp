// Recipe names, the PARAM text and damaged recipe files, on real files.
#include "temp_home.h"

#include "parameters/recipe_file.h"

#include <QFile>
#include <gtest/gtest.h>

namespace zev {
namespace {

constexpr int N = kNoValue;

TEST(RecipeFile, ParamTextIsWalkedValueBySemicolon) {
    struct Case {
        const char* text;
        int count;
        std::vector<int> first;  // the first values expected
        std::vector<int> bad;
    };
    const Case cases[] = {
        {"250;10;;5;", 4, {250, 10, 0, 5}, {}},
        {"1;2", 1, {1}, {}},                            // no ";" after the 2: not a value
        {"-10024;-20000;-10023;7.6;", 4, {N, N, -10023, 8}, {}},
        {"abc;70000;3;", 3, {N, N, 3}, {1, 2}},         // no number, not 16 bits
        {"", 0, {}, {}},
    };
    for (const Case& c : cases) {
        std::array<int, 28> out;
        out.fill(42);
        std::vector<int> bad;
        EXPECT_EQ(parseParamText(QString::fromLatin1(c.text), out, &bad), c.count) << c.text;
        for (std::size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(out[i], c.first[i]) << c.text << " #" << i + 1;
        EXPECT_EQ(out[static_cast<std::size_t>(c.count)], 42) << c.text << ": values after the last stay";
        EXPECT_EQ(bad, c.bad) << c.text;
    }
    // 30 values: only 28 are read.
    std::array<int, 28> out{};
    EXPECT_EQ(parseParamText(QString(QStringLiteral("9;")).repeated(30), out, nullptr), 28);
}

TEST(RecipeFile, NamesStayInsideTheRecipeDirectory) {
    const std::pair<QString, std::optional<QString>> cases[] = {
        {QStringLiteral(" test "), QStringLiteral("TEST")},
        {QStringLiteral("a/b:c\\d?e"), QStringLiteral("A_B_C_D_E")},
        {QStringLiteral("../etc"), QStringLiteral(".._ETC")},
        {QStringLiteral("Größe 2"), QStringLiteral("GRÖSSE 2")},
        {QString(), std::nullopt},
        {QStringLiteral("   "), std::nullopt},
        {QStringLiteral("."), std::nullopt},
        {QStringLiteral(" .. "), std::nullopt},
    };
    for (const auto& [entered, expected] : cases) EXPECT_EQ(recipeName(entered), expected) << entered.toStdString();
}

TEST(RecipeFile, ListAndCaseOfExistingFiles) {
    test::TempHome home;
    home.write(QStringLiteral("parameter/test.rzp"), "[GLOBAL]\r\n");
    home.write(QStringLiteral("parameter/B.RZP"), "[GLOBAL]\r\n");
    home.write(QStringLiteral("parameter/notes.txt"), "x");
    const QString dir = home.file(QStringLiteral("parameter"));
    EXPECT_EQ(recipeNames(dir), (QStringList{"B", "TEST"}));
    EXPECT_EQ(existingRecipeFile(dir, QStringLiteral("TEST")), home.file(QStringLiteral("parameter/test.rzp")));
    EXPECT_EQ(existingRecipeFile(dir, QStringLiteral("C")), QString());
    EXPECT_EQ(recipeFilePath(dir, QStringLiteral("TEST")), home.file(QStringLiteral("parameter/TEST.RZP")));
}

TEST(RecipeFile, DamagedFilesAreRecognised) {
    test::TempHome home;
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 7919) % 251);
    home.write(QStringLiteral("garbage.rzp"), garbage);
    home.write(QStringLiteral("empty.rzp"), "");
    home.write(QStringLiteral("modes.rzp"),
               "[Z001]\r\nPARAM=1;2;\r\nMODE=7\r\n[Z002]\r\nPARAM=3;\r\n[z003]\r\nMODE=x\r\n[Z0004]\r\nMODE=1\r\n"
               "[GLOBAL]\r\n?HIW=45\r\n?APM=on\r\n");
    QFile big(home.file(QStringLiteral("big.rzp")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(qint64(50) * 1024 * 1024));
    big.close();

    const QStringList codes{"?HIW", "?APM", "?ENA"};
    EXPECT_EQ(readRecipeFile(home.file(QStringLiteral("garbage.rzp")), codes).status, RecipeReadStatus::NotARecipe);
    EXPECT_EQ(readRecipeFile(home.file(QStringLiteral("empty.rzp")), codes).status, RecipeReadStatus::NotARecipe);
    EXPECT_EQ(readRecipeFile(home.file(QStringLiteral("big.rzp")), codes).status, RecipeReadStatus::TooLarge);
    EXPECT_EQ(readRecipeFile(home.file(QStringLiteral("none.rzp")), codes).status, RecipeReadStatus::Missing);

    const RecipeRead r = readRecipeFile(home.file(QStringLiteral("modes.rzp")), codes);
    ASSERT_EQ(r.status, RecipeReadStatus::Ok);
    EXPECT_EQ(r.data.zoneSections, 3);  // "Z0004" names no zone
    EXPECT_EQ(r.data.zones[1].mode, N);  // 7 is no mode
    EXPECT_EQ(r.data.zones[2].mode, N);  // missing
    EXPECT_EQ(r.data.zones[3].mode, N);
    EXPECT_FALSE(r.data.zones[4].present);
    EXPECT_EQ(r.data.zones[1].paramCount, 2);
    EXPECT_EQ(r.data.zones[3].paramCount, 0);
    EXPECT_EQ(r.data.globals, (std::map<QString, int>{{"?HIW", 45}, {"?APM", N}}));
    EXPECT_EQ(r.data.damaged, (QStringList{"z003 MODE", "GLOBAL ?APM"}));
}

}  // namespace
}  // namespace zev
