// The list's conditions: the exact clause for every row of the type table, the
// zone condition, and what each clause selects from a real database.
#include "alarm_fixture.h"

#include "alarms/alarm_filter.h"
#include "plant/zone_table.h"

#include <QSqlQuery>
#include <set>

namespace zev::test {
namespace {

AlarmFilter types(bool e, bool m, bool a) {
    AlarmFilter f;
    f.what[0] = e;
    f.what[1] = m;
    f.what[2] = a;
    return f;
}

std::vector<bool> selection(int zoneCount, std::set<int> zones) {
    std::vector<bool> s(static_cast<std::size_t>(zoneCount) + 1, false);
    for (int z : zones) s[static_cast<std::size_t>(z)] = true;
    return s;
}

TEST(AlarmFilterText, ZoneConditionTakesTheShorterList) {
    EXPECT_EQ(get_zone_querystring(selection(5, {1, 3}), 5), "Adresse IN ('1', '3' )");
    EXPECT_EQ(get_zone_querystring(selection(5, {1, 2, 4, 5}), 5), "Adresse NOT IN ('3' )");
    EXPECT_EQ(get_zone_querystring(selection(4, {1, 2}), 4), "Adresse IN ('1', '2' )");  // a tie lists the selected
    EXPECT_EQ(get_zone_querystring(selection(5, {}), 5), "Adresse = '-1'");
    EXPECT_EQ(get_zone_querystring(selection(270, {270}), 270), "Adresse IN ('270' )");
}

TEST(AlarmFilterText, EveryRowOfTheTypeTable) {
    const QString z = QStringLiteral("Adresse IN ('2' )");
    struct Row {
        bool e, m, a;
        const char* withoutZ;
        const char* withZ;
    };
    const Row rows[] = {
        {true, true, true, "TRUE", "(Typ = 0 OR Adresse IN ('2' ))"},
        {true, true, false, "Typ <> 2", "(Typ = 0 OR Typ = 1 AND Adresse IN ('2' ))"},
        {true, false, true, "Typ <> 1", "(Typ = 0 OR Typ = 2 AND Adresse IN ('2' ))"},
        {true, false, false, "Typ = 0", "Typ = 0"},
        {false, true, true, "Typ <> 0", "Typ <> 0 AND Adresse IN ('2' )"},
        {false, true, false, "Typ = 1", "Typ = 1 AND Adresse IN ('2' )"},
        {false, false, true, "Typ = 2", "Typ = 2 AND Adresse IN ('2' )"},
        {false, false, false, "Kommt IS NULL", "Kommt IS NULL"},
    };
    for (const Row& r : rows) {
        // All 3 zones selected: no zone condition even when one is offered.
        EXPECT_EQ(sqlfilter(types(r.e, r.m, r.a), 3, 3, z, QStringLiteral("1")), QStringLiteral("WHERE ") + r.withoutZ)
            << r.withoutZ;
        EXPECT_EQ(sqlfilter(types(r.e, r.m, r.a), 1, 3, z, QStringLiteral("1")), QStringLiteral("WHERE ") + r.withZ)
            << r.withZ;
    }
}

TEST(AlarmFilterText, NoZoneWithoutEventsMatchesNothingAndPrefixesComeInOrder) {
    EXPECT_EQ(sqlfilter(types(false, true, true), 0, 5, QStringLiteral("Adresse = '-1'"), QStringLiteral("4.5")),
              "WHERE Kommt IS NULL");
    AlarmFilter f = types(true, true, true);
    f.acknowledged = false;
    f.newOnly = true;
    EXPECT_EQ(sqlfilter(f, 0, 5, QStringLiteral("Adresse = '-1'"), QStringLiteral("46083.5")),
              "WHERE Quittiert IS NULL AND Kommt > 46083.5 AND Geht IS NULL AND (Typ = 0 OR Adresse = '-1')");
    // No zones at all (before identification): no condition, no "nothing".
    EXPECT_EQ(sqlfilter(types(true, false, true), 0, 0, QString(), QStringLiteral("1")), "WHERE Typ <> 1");
}

TEST(AlarmFilterText, StartStampIsAnSqlNumberThatGivesTheSameSerial) {
    const double serial = 46083.123456789012;
    const QString text = convert(serial);
    EXPECT_FALSE(text.contains(QLatin1Char(',')));
    EXPECT_EQ(text.toDouble(), serial);
    EXPECT_EQ(convert(46083.5), "46083.5");
}

// What each clause selects, against an independent reading of the table's meaning.
class AlarmFilterResults : public AlarmTest {};

TEST_F(AlarmFilterResults, EveryCombinationSelectsWhatItMeans) {
    constexpr int zones = 6;
    ctx().plant.ZoneCount = zones;
    AlarmLog& log = open();
    // Before the start stamp: an alarm of zone 2 that is still present.
    {
        QSqlQuery q(log.db().database());
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO LOG VALUES (2, %1, NULL, NULL, 'old', '2', 'Fühlerbruch')")
                               .arg(convert(log.startSerial() - 1))));
    }
    t.clock.advance(1);
    log.ErrLog(0, QStringLiteral("SYSTEM"), 0, QStringLiteral("event"));
    log.ErrLog(1, QStringLiteral("USER"), 0, QStringLiteral("Rezept A gespeichert."));
    for (int z = 1; z <= zones; ++z) {
        t.clock.advance(1);
        log.ErrLog(1, QStringLiteral("Z%1").arg(z), z, QStringLiteral("Sollwertänderung"));
        log.ErrLog(2, QStringLiteral("Z%1").arg(z), z, QStringLiteral("Temperatur H"));
        if (z % 2 == 0) log.ErrLog(2, QStringLiteral("Z%1").arg(z), z, QString());  // went again
    }
    {
        QSqlQuery q(log.db().database());
        ASSERT_TRUE(q.exec(QStringLiteral("UPDATE LOG SET Quittiert = Kommt WHERE Adresse IN ('1', '4') OR Typ = 0")));
    }
    const std::vector<LogRecord> all = records();
    ASSERT_EQ(all.size(), 1u + 2u + 2u * zones);

    const std::vector<std::set<int>> selections = {{1, 2, 3, 4, 5, 6}, {}, {1, 3}, {1, 2, 3, 5, 6}, {6}};
    int checked = 0;
    for (int bits = 0; bits < 8; ++bits)
        for (bool ack : {false, true})
            for (bool newOnly : {false, true})
                for (const std::set<int>& chosen : selections) {
                    AlarmFilter f = types(bits & 1, bits & 2, bits & 4);
                    f.acknowledged = ack;
                    f.newOnly = newOnly;
                    const std::vector<bool> sel = selection(zones, chosen);
                    const int n = static_cast<int>(chosen.size());
                    const QString z = n < zones ? get_zone_querystring(sel, zones) : QString();
                    const QString clause = sqlfilter(f, n, zones, z, log.startStamp());
                    const std::vector<LogRecord> got = records(clause);

                    const bool notIn = n * 2 > zones;  // the list of the others is the shorter one
                    auto zoneShown = [&](const QString& adresse) {
                        if (n == zones) return true;
                        const int a = adresse.toInt();
                        const bool inRange = a >= 1 && a <= zones;
                        return notIn ? !(inRange && !chosen.count(a)) : (inRange && chosen.count(a) > 0);
                    };
                    std::size_t expected = 0;
                    for (const LogRecord& r : all) {
                        bool shown = f.what[0] || n > 0;
                        shown = shown && (ack || r.quittiert.isNull());
                        shown = shown && (!newOnly || (r.kommt > log.startSerial() && r.geht.isNull()));
                        shown = shown && (r.typ == 0 ? f.what[0] : f.what[r.typ] && zoneShown(r.adresse));
                        if (shown) ++expected;
                    }
                    EXPECT_EQ(got.size(), expected) << clause.toStdString();
                    ++checked;
                }
    EXPECT_EQ(checked, 8 * 2 * 2 * 5);
}

}  // namespace
}  // namespace zev::test
