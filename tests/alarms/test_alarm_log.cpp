// ErrLog: what each record type writes, how alarms are closed (by the zone's
// number, issue 7), one transaction per pass, and records that wait for a disk
// that failed.
#include "alarm_fixture.h"

#include "alarms/alarm_filter.h"
#include "support/zev_error.h"

#include <QSqlQuery>

namespace zev::test {
namespace {

class ErrLogTest : public AlarmTest {};

TEST_F(ErrLogTest, EventsAndMessagesAreClosedAtOnceAlarmsStayOpenOtherTypesAreIgnored) {
    AlarmLog& log = open();
    EXPECT_EQ(log.made(), AlarmDb::Made::Created);
    t.clock.advance(1.5);
    const double now = serial();
    log.ErrLog(0, QStringLiteral("SYSTEM"), 0, QStringLiteral("Datenbank erfolgreich komprimiert."));
    log.ErrLog(1, QStringLiteral("Düse 1"), 1, QStringLiteral("Sollwertänderung von 200 °C auf 210 °C"));
    log.ErrLog(2, QStringLiteral("Düse 1"), 1, QStringLiteral("Fühlerbruch"));
    const auto r = records();
    ASSERT_EQ(r.size(), 3u);
    for (const LogRecord& rec : r) {
        EXPECT_NEAR(rec.kommt, now, 1e-9);
        EXPECT_TRUE(rec.quittiert.isNull());
    }
    EXPECT_EQ(r[0].typ, 0);
    EXPECT_EQ(r[0].adresse, "0");
    EXPECT_NEAR(r[0].geht.toDouble(), now, 1e-9);
    EXPECT_EQ(r[1].quelle, "Düse 1");
    EXPECT_NEAR(r[1].geht.toDouble(), now, 1e-9);
    EXPECT_EQ(r[1].meldung, QString::fromUtf8("Sollwertänderung von 200 °C auf 210 °C"));
    EXPECT_EQ(r[2].typ, 2);
    EXPECT_TRUE(r[2].geht.isNull());
    for (int typ : {-1, 3, 50, 97, 99, 100, 32767}) log.ErrLog(typ, QStringLiteral("X"), 1, QStringLiteral("Y"));
    EXPECT_EQ(records().size(), 3u) << "unknown types write nothing";
}

TEST_F(ErrLogTest, ANewAlarmTextClosesTheOldOneAndAnEmptyTextOnlyCloses) {
    AlarmLog& log = open();
    log.ErrLog(2, QStringLiteral("Düse"), 4, QStringLiteral("Temperatur L"));
    t.clock.advance(3);
    const double change = serial();
    log.ErrLog(2, QStringLiteral("Düse"), 4, QStringLiteral("Fühlerbruch"));
    auto r = records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_NEAR(r[0].geht.toDouble(), change, 1e-9);
    EXPECT_TRUE(r[1].geht.isNull());
    t.clock.advance(3);
    log.ErrLog(2, QStringLiteral("Düse"), 4, QString());
    r = records();
    ASSERT_EQ(r.size(), 2u);  // nothing inserted
    EXPECT_NEAR(r[1].geht.toDouble(), serial(), 1e-9);
    log.ErrLog(98, QStringLiteral("Düse"), 4, QStringLiteral("ignored text"));
    EXPECT_EQ(records().size(), 2u);
}

// Issue 7: zone names repeat (the group editor gives marked zones one name) and
// change; an alarm belongs to its zone number.
TEST_F(ErrLogTest, TwoZonesOfTheSameNameCloseOnlyTheirOwnAlarms) {
    AlarmLog& log = open();
    t.clock.advance(1);
    log.ErrLog(2, QStringLiteral("Düse"), 1, QStringLiteral("Fühlerbruch"));
    log.ErrLog(2, QStringLiteral("Düse"), 2, QStringLiteral("Temperatur H"));
    t.clock.advance(1);
    log.ErrLog(2, QStringLiteral("Düse"), 2, QString());  // zone 2 is well again
    const auto r = records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_TRUE(r[0].geht.isNull()) << "zone 1's broken sensor is still there";
    EXPECT_FALSE(r[1].geht.isNull());
    AlarmFilter onlyActual;
    onlyActual.newOnly = true;
    const auto shown = records(sqlfilter(onlyActual, 2, 2, QString(), log.startStamp()));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].adresse, "1");
}

TEST_F(ErrLogTest, ARenamedZoneClosesTheAlarmItRaisedUnderItsOldName) {
    AlarmLog& log = open();
    log.ErrLog(2, QStringLiteral("Heißkanal 08"), 8, QStringLiteral("Fühlerschluß"));
    t.clock.advance(1);
    log.ErrLog(2, QStringLiteral("Verteiler links"), 8, QString());
    const auto r = records();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_FALSE(r[0].geht.isNull());
    EXPECT_EQ(r[0].quelle, "Heißkanal 08");  // a record keeps the name it was written with
}

TEST_F(ErrLogTest, RecordsOfNoZoneAreClosedByTheirSource) {
    AlarmLog& log = open();
    log.ErrLog(2, QStringLiteral("SYSTEM"), 0, QStringLiteral("Sammelalarm"));
    log.ErrLog(2, QStringLiteral("Netz"), 0, QStringLiteral("Unterspannung"));
    log.ErrLog(98, QStringLiteral("SYSTEM"), 0, QString());
    const auto r = records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_FALSE(r[0].geht.isNull());
    EXPECT_TRUE(r[1].geht.isNull());
}

TEST_F(ErrLogTest, TextsAreStoredAsGivenAndCutToTheirColumn) {
    AlarmLog& log = open();
    const QString quotes = QStringLiteral("O'Brien's \"Düse\"; DROP TABLE LOG; --");
    log.ErrLog(1, quotes, 3, QStringLiteral("it's 'quoted'"));
    log.ErrLog(1, QString(), 0, QString());  // empty texts stay empty texts
    const QString longText = QString(70, QLatin1Char('x'));
    log.ErrLog(1, longText, 0, QString(63, QLatin1Char('y')) + QString::fromUtf8("\xF0\x9F\x94\xA5"));
    const auto r = records();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].quelle, quotes);
    EXPECT_EQ(r[0].meldung, "it's 'quoted'");
    EXPECT_EQ(r[1].quelle, "");
    EXPECT_EQ(records(QStringLiteral("WHERE Quelle = '' AND Meldung = ''")).size(), 1u);
    EXPECT_EQ(r[2].quelle, QString(64, QLatin1Char('x')));
    EXPECT_EQ(r[2].meldung, QString(63, QLatin1Char('y')));  // never half a character
}

TEST_F(ErrLogTest, APassIsOneTransaction) {
    AlarmLog& log = open();
    {
        AlarmLog::Batch pass(log);
        for (int z = 1; z <= 270; ++z) log.ErrLog(2, QStringLiteral("Z"), z, QStringLiteral("Fühlerbruch"));
        EXPECT_TRUE(records().empty()) << "nothing reaches the file before the pass ends";
        EXPECT_TRUE(pass.commit());
    }
    EXPECT_EQ(records().size(), 270u);
    AlarmLog::Batch quiet(log);
    EXPECT_FALSE(quiet.commit()) << "a pass without records writes nothing";
}

TEST_F(ErrLogTest, ASoundFileIsKeptButItsAlarmsFromBeforeTheStartAreNeverClosed) {
    open().ErrLog(2, QStringLiteral("Düse"), 1, QStringLiteral("Fühlerbruch"));
    close();
    t.clock.advance(60);
    AlarmLog& log = open();
    EXPECT_EQ(log.made(), AlarmDb::Made::Sound);
    log.ErrLog(2, QStringLiteral("Düse"), 1, QString());
    const auto r = records();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_TRUE(r[0].geht.isNull());
}

// The first reading of a zone after a restart closes what earlier runs left
// open for that zone, and only that: no other zone, no message, nothing of this run.
TEST_F(ErrLogTest, TheFirstReadingOfAZoneClosesItsAlarmsOfEarlierRunsOnce) {
    AlarmLog& before = open();
    before.ErrLog(2, QStringLiteral("Düse"), 1, QStringLiteral("Fühlerbruch"));
    before.ErrLog(2, QStringLiteral("Düse 12"), 12, QStringLiteral("Fühlerbruch"));
    before.ErrLog(2, QStringLiteral("Verteiler"), 2, QStringLiteral("Temperatur H"));
    close();
    t.clock.advance(60);
    AlarmLog& log = open();
    log.ErrLog(2, QStringLiteral("Düse"), 1, QStringLiteral("Stromalarm"));  // written before the first reading
    t.clock.advance(0.5);
    const double first = serial();
    EXPECT_TRUE(log.firstReading(1));
    t.clock.advance(0.5);
    EXPECT_FALSE(log.firstReading(1));
    const auto r = records();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_NEAR(r[0].geht.toDouble(), first, 1e-9) << "closed at the first reading";
    EXPECT_TRUE(r[1].geht.isNull()) << "zone 12 is not zone 1";
    EXPECT_TRUE(r[2].geht.isNull()) << "zone 2 not read yet";
    EXPECT_TRUE(r[3].geht.isNull()) << "an alarm of this run stays";
    EXPECT_TRUE(log.firstReading(2));
    EXPECT_FALSE(records()[2].geht.isNull());
}

TEST_F(ErrLogTest, RecordsWaitForADiskThatFailedAndTheFailureIsToldOnce) {
    AlarmLog& log = open();
    log.ErrLog(2, QStringLiteral("Düse"), 1, QStringLiteral("Fühlerbruch"));
    diskAway();
    t.clock.advance(1);
    const double first = serial();
    EXPECT_THROW(log.ErrLog(2, QStringLiteral("Düse"), 1, QStringLiteral("Temperatur L")), ZevError);
    t.clock.advance(1);
    EXPECT_NO_THROW(log.ErrLog(1, QStringLiteral("Düse"), 1, QStringLiteral("Sollwertänderung")));
    EXPECT_EQ(log.queued(), 2);
    diskBack();  // the waiting records go in, in order and with their times
    t.clock.advance(1);
    log.ErrLog(0, QStringLiteral("SYSTEM"), 0, QStringLiteral("x"));
    EXPECT_EQ(log.queued(), 0);
    const auto r = records();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_NEAR(r[0].geht.toDouble(), first, 1e-9);  // closed when the new alarm came
    EXPECT_NEAR(r[1].kommt, first, 1e-9);
    EXPECT_EQ(r[1].meldung, "Temperatur L");
    EXPECT_EQ(r[2].typ, 1);
    EXPECT_EQ(r[3].typ, 0);
}

TEST_F(ErrLogTest, RecordsStillWaitingAreWrittenWhenTheLogCloses) {
    open();
    diskAway();
    EXPECT_THROW(log->ErrLog(2, QStringLiteral("Düse"), 1, QStringLiteral("Fühlerbruch")), ZevError);
    diskBack();
    close();  // the tool changes, the alarm view unloads
    const auto r = records();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].meldung, QString::fromUtf8("Fühlerbruch"));
}

}  // namespace
}  // namespace zev::test
