// The tables themselves: the two languages define the same numbers, all of them
// inside the defined ranges, with clean text, and docs/texts.md lists them as
// they are.
#include "support/texts.h"
#include "support/texts_table.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace zev::test {
namespace {

using texts_table::Entry;

// The ranges every installation's tables keep to; written out again here so
// that a slip in a table file cannot hide behind the same slip in a constant.
constexpr int kRanges[][2] = {
    {113, 114},   {129, 152},   {177, 177},   {193, 206},   {209, 231},   {241, 285},   {289, 577},
    {593, 740},   {753, 771},   {785, 789},   {801, 810},   {817, 821},   {833, 833},   {849, 850},
    {881, 928},   {945, 966},   {977, 1152},  {1169, 1173}, {1185, 1195}, {1201, 1204}, {1217, 1235},
    {1249, 1249}, {1265, 1358}, {1361, 1440}, {1505, 1537}};

bool inRanges(int n) {
    for (const auto& r : kRanges)
        if (n >= r[0] && n <= r[1]) return true;
    return false;
}

struct Language {
    int id;
    std::vector<std::span<const Entry>> part1;
    std::span<const Entry> part2;
};

std::vector<Language> languages() {
    return {{1, {texts_table::german113(), texts_table::german753()}, texts_table::german1393()},
            {2, {texts_table::english113(), texts_table::english753()}, texts_table::english1393()}};
}

std::map<int, QString> allTexts(const Language& l) {
    std::map<int, QString> texts;
    auto add = [&texts](std::span<const Entry> segment) {
        for (const Entry& e : segment) EXPECT_TRUE(texts.emplace(e.number, QString::fromUtf8(e.text)).second) << e.number;
    };
    for (auto segment : l.part1) add(segment);
    add(l.part2);
    return texts;
}

TEST(TextTables, BothLanguagesDefineTheSameNumbersInsideTheRanges) {
    const auto ls = languages();
    const auto german = allTexts(ls[0]);
    const auto english = allTexts(ls[1]);
    std::vector<int> g, e;
    for (const auto& [n, text] : german) g.push_back(n);
    for (const auto& [n, text] : english) e.push_back(n);
    EXPECT_EQ(g, e);
    EXPECT_GT(g.size(), 700u);
    for (int n : g) EXPECT_TRUE(inRanges(n)) << n;
    for (const Language& l : ls) {
        for (auto segment : l.part1)
            for (const Entry& x : segment) EXPECT_LE(x.number, 1392) << "part 1 of language " << l.id;
        for (const Entry& x : l.part2) EXPECT_GE(x.number, 1393) << "part 2 of language " << l.id;
    }
}

TEST(TextTables, LookupFindsExactlyTheDefinedNumbers) {
    for (const Language& l : languages()) {
        const auto texts = allTexts(l);
        for (int n = -5; n <= 1600; ++n) {
            const auto it = texts.find(n);
            EXPECT_EQ(Texts::lookup(l.id, n), it == texts.end() ? QString() : it->second) << l.id << ":" << n;
        }
    }
}

// Text that went through a wrong conversion somewhere shows "Ã"/"Â" pairs or
// the replacement character; every character must also fit the Windows-1252
// files and protocols the texts end up in.
TEST(TextTables, NoTextHasAnEncodingFault) {
    for (const Language& l : languages()) {
        for (const auto& [n, text] : allTexts(l)) {
            EXPECT_FALSE(text.isEmpty()) << n;
            EXPECT_FALSE(text.contains(QChar(0xFFFD))) << n;
            EXPECT_FALSE(text.contains(QStringLiteral("Ã")) || text.contains(QStringLiteral("Â"))) << n;
            EXPECT_EQ(text.toUtf8(), QString::fromUtf8(text.toUtf8()).toUtf8()) << n;
            for (QChar c : text) {
                const ushort u = c.unicode();
                EXPECT_TRUE((u >= 0x20 && u < 0x7F) || (u >= 0xA0 && u <= 0xFF))
                    << "language " << l.id << ", number " << n << ", character U+" << std::hex << u;
            }
        }
    }
    // Umlauts, "ß" and "°" are single characters, written here as code points so
    // that this check does not depend on how this file is encoded.
    EXPECT_EQ(Texts::lookup(1, 1395), QString::fromUtf16(u"F\u00FChlerschlu\u00DF"));
    EXPECT_EQ(Texts::lookup(1, 959), QString::fromUtf16(u"Differenz [\u00B0C]"));
    EXPECT_EQ(Texts::lookup(2, 959), QString::fromUtf16(u"Difference [\u00B0C]"));
}

// docs/texts.md is where the others look numbers up: one row per number,
// "| n | German | English | where | note |", texts exactly between "| " and " |".
TEST(TextTables, DocumentationListsEveryNumberAsTheTablesHaveIt) {
    // The source tree (a compiler cache may make __FILE__ relative to the build).
    const QString root = QStringLiteral(ZEV_SOURCE_DIR);
    QFile f(root + QStringLiteral("/docs/texts.md"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    const QRegularExpression row(QStringLiteral("^\\| (\\d+) \\| (.*) \\| (.*) \\| (.*) \\| (.*) \\|$"));
    std::map<int, std::pair<QString, QString>> documented;
    for (const QString& line : lines) {
        const auto m = row.match(line);
        if (!m.hasMatch()) continue;
        EXPECT_TRUE(documented.emplace(m.captured(1).toInt(), std::pair{m.captured(2), m.captured(3)}).second)
            << "listed twice: " << line.toStdString();
    }
    const auto german = allTexts(languages()[0]);
    const auto english = allTexts(languages()[1]);
    EXPECT_EQ(documented.size(), german.size());
    for (const auto& [n, text] : german) {
        const auto it = documented.find(n);
        ASSERT_NE(it, documented.end()) << "number " << n << " missing in docs/texts.md";
        EXPECT_EQ(it->second.first, text) << n;
        EXPECT_EQ(it->second.second, english.at(n)) << n;
    }
}

}  // namespace
}  // namespace zev::test
