// Damaged databases whose rows can still be read: a broken index page, a row
// written past a column's limit, a file cut short. Each is kept under a name of
// its own, every row that can be read goes into the new file, and the operator
// is told how many.
#include "alarm_fixture.h"

#include "support/texts.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <set>

namespace zev::test {
namespace {

class SalvageTest : public AlarmTest {
protected:
    // `count` records of distinct times into a new file, closed again.
    std::vector<LogRecord> written(int count) {
        open();
        fill(count, 2);
        close();
        return records();
    }
    // The file's page size and the first page of a table or index.
    std::pair<qint64, qint64> page(const QString& name) {
        qint64 size = 0, root = 0;
        onFile(dbPath(), [&](QSqlQuery& q) {
            ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA page_size")) && q.next());
            size = q.value(0).toLongLong();
            ASSERT_TRUE(q.exec(QStringLiteral("SELECT rootpage FROM sqlite_schema WHERE name = '%1'").arg(name)) && q.next());
            root = q.value(0).toLongLong();
        }, true);
        return {size, root};
    }
    void overwrite(qint64 offset, const QByteArray& bytes) {
        QFile f(dbPath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(offset));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    // Opens the damaged file as the station does at its start.
    void restart() {
        t.clock.set(QDateTime(QDate(2026, 3, 2), QTime(6, 30, 5)));
        t.answer({QStringLiteral("2")});
        EXPECT_EQ(open().made(), AlarmDb::Made::Recreated);
        deliver();
    }
    static std::set<double> times(const std::vector<LogRecord>& r) {
        std::set<double> out;
        for (const LogRecord& rec : r)
            if (rec.typ == 1) out.insert(rec.kommt);
        return out;
    }
    // Kept file, the event, and the notice with the number saved.
    void expectKeptAndTold(const QByteArray& damaged, std::size_t saved) {
        const QString kept = QStringLiteral("STOER_20260302_063005.DAMAGED");
        EXPECT_EQ(t.home.read(QStringLiteral("TOOLS/Form 1/LOGFILES/") + kept), damaged);
        EXPECT_EQ(records().back().meldung, t.texts->operator()(219));
        EXPECT_EQ(t.lastNotice(), QStringLiteral("NOTICE ") + t.texts->operator()(291) + QString::number(saved) +
                                      QStringLiteral("\\n") + t.texts->operator()(293) + kept +
                                      QStringLiteral(" |  | OK |  -> 2"));
    }
};

TEST_F(SalvageTest, ABrokenIndexPageLosesNoRow) {
    const auto before = written(20066);
    const auto [pageSize, root] = page(QStringLiteral("KOMMT"));
    overwrite((root - 1) * pageSize, QByteArray(static_cast<int>(pageSize), '\xA5'));
    const QByteArray damaged = t.home.read(QStringLiteral("TOOLS/Form 1/LOGFILES/STOER.MDB"));
    restart();
    const auto after = records();
    EXPECT_EQ(times(after), times(before));
    EXPECT_EQ(after.size(), before.size() + 1);
    expectKeptAndTold(damaged, before.size());
    QString reason;
    EXPECT_TRUE(AlarmDb::checkFile(dbPath(), &reason)) << reason.toStdString();
}

TEST_F(SalvageTest, ARowPastAColumnLimitIsKeptCutToIt) {
    auto before = written(166);
    const QString longText = QString(70, QLatin1Char('m'));
    onFile(dbPath(), [&](QSqlQuery& q) {
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA ignore_check_constraints = ON")));
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO LOG VALUES (1, 46000.5, 46000.5, NULL, 'Düse', '', '%1')")
                               .arg(longText)));
    });
    const QByteArray damaged = t.home.read(QStringLiteral("TOOLS/Form 1/LOGFILES/STOER.MDB"));
    restart();
    const auto after = records();
    ASSERT_EQ(after.size(), 168u);
    EXPECT_EQ(after[166].kommt, 46000.5);
    EXPECT_EQ(after[166].meldung, longText.left(64));
    EXPECT_EQ(after[166].adresse, "0") << "an empty address is no zone";
    before.push_back(after[166]);
    EXPECT_EQ(times(after), times(before));
    expectKeptAndTold(damaged, 167);
}

TEST_F(SalvageTest, AFileCutShortKeepsEveryRowStillInIt) {
    const auto before = written(20000);
    QFile f(dbPath());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.resize(f.size() * 45 / 100));
    f.close();
    const QByteArray damaged = t.home.read(QStringLiteral("TOOLS/Form 1/LOGFILES/STOER.MDB"));
    // What can be read: each row looked up by itself (the engine told to read a
    // file shorter than its header says).
    std::set<double> readable;
    onFile(dbPath(), [&](QSqlQuery& q) {
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA writable_schema = ON")));
        for (std::size_t i = 0; i < before.size(); ++i)
            if (q.exec(QStringLiteral("SELECT Kommt FROM LOG WHERE rowid = %1").arg(i + 1)) && q.next())
                readable.insert(q.value(0).toDouble());
    }, true);
    ASSERT_GT(readable.size(), 5000u);
    ASSERT_LT(readable.size(), 15000u);
    restart();
    EXPECT_EQ(times(records()), readable);
    expectKeptAndTold(damaged, readable.size());
}

}  // namespace
}  // namespace zev::test
