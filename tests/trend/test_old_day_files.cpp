// Old-format history files: converted second by second into the day file of
// the same date without touching seconds it already holds; the tool load's
// question, the free-space rule and deletion only after success.
#include "day_files.h"
#include "test_context.h"

#include "plant/tool_data.h"
#include "trend/old_day_files.h"
#include "trend/trend_lines.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zev::test {
namespace {

// An old file with seconds first..last: setpoint z, actual 100 + s % 50, output z % 100.
void writeOldFile(const QString& path, int first, int last) {
    QFile f(path);
    f.open(QIODevice::ReadWrite);
    auto le = [](QByteArray& b, int v) {
        b.append(static_cast<char>(v & 0xFF));
        b.append(static_cast<char>((v >> 8) & 0xFF));
    };
    for (int s = first; s <= last; ++s) {
        QByteArray rec;
        for (int z = 1; z <= 270; ++z) le(rec, z);
        for (int z = 1; z <= 270; ++z) le(rec, z == 2 ? -7 : 100 + s % 50);
        for (int z = 1; z <= 270; ++z) le(rec, z % 100);
        f.seek(86400 + qint64(s - 1) * 1620);
        f.write(rec);
        f.seek(s - 1);
        f.write("\7", 1);
    }
}

class OldDayFiles : public ::testing::Test {
protected:
    OldDayFiles() {
        ctx().tool.LogFileDir = t.home.path() + "/LOG/";
        QDir().mkpath(dir());
    }
    AppContext& ctx() { return *t.ctx; }
    QString dir() { return ctx().tool.LogFileDir; }
    std::vector<TrendLine> read(const QDate& day, int zone, int lastSecond) {
        TrendWindow w(dir());
        w.setLines({{KindSetpoint, zone, {}}, {KindActual, zone, {}}, {KindOutput, zone, {}},
                    {KindStatus, zone, {}}, {KindCurrent, zone, {}}});
        w.setGeometry(lastSecond, lastSecond);
        w.ReadValBuffers(QDateTime(day, QTime(0, 0)).addSecs(lastSecond), lastSecond);  // point p = second p
        return w.lines();
    }
    TestContext t;
};

TEST_F(OldDayFiles, ConversionKeepsTheSecondsTheDayFileHolds) {
    const QDate day(2026, 2, 10);
    writeOldFile(dir() + "20260210.TDB", 10, 20);
    writeDayFile(dir(), day, 15, 16, 2, [](int, int) { return TestEntry{1, 2, 3, 4, 5}; });
    QString error;
    ASSERT_TRUE(Convert_LogFile(dir() + "20260210.TDB", &error)) << error.toStdString();
    auto l = read(day, 2, 30);
    EXPECT_EQ(l[0].data[9], kTrendNoValue);
    EXPECT_EQ(l[0].data[10], 2);
    EXPECT_EQ(l[1].data[10], -7);
    EXPECT_EQ(l[2].data[20], 2);
    EXPECT_EQ(l[3].data[10], kTrendNoValue);  // no status in old files
    EXPECT_EQ(l[4].data[10], kTrendNoValue);  // nor a current
    EXPECT_EQ(l[1].data[15], 2);               // kept
    EXPECT_EQ(l[4].data[16], 5);
    EXPECT_EQ(l[1].data[21], kTrendNoValue);
    l = read(day, 270, 30);
    EXPECT_EQ(l[1].data[13], 113);
    EXPECT_EQ(l[2].data[13], 70);
}

TEST_F(OldDayFiles, TheToolLoadConvertsWithRoomAndDeletesOnlyAfterSuccess) {
    writeOldFile(dir() + "20260210.TDB", 1, 3);
    writeOldFile(dir() + "20260211.TDB", 1, 3);
    // The day file of the 11th cannot be written: a directory stands in its place.
    QDir().mkpath(dir() + "20260211.CDB");
    t.answer({"1", "1"});
    ConvertOldHistoryFiles(ctx());
    EXPECT_TRUE(t.transcript().join('\n').contains("ZEV-Control 2 hat 2 Logdateien"));
    EXPECT_FALSE(QFile::exists(dir() + "20260210.TDB"));
    EXPECT_TRUE(QFile::exists(dir() + "20260210.CDB"));
    EXPECT_TRUE(QFile::exists(dir() + "20260211.TDB"));  // kept for the next load
    EXPECT_TRUE(t.lastNotice().contains("Die Datei konnte nicht geschrieben werden"));
}

TEST_F(OldDayFiles, WithoutRoomOrOnRequestTheOldFilesGo) {
    struct Case { const char* answer; qint64 free; int interactions; };
    for (const Case c : {Case{"1", kConvertFreeBytes - 1, 4}, Case{"2", kConvertFreeBytes * 10, 1}}) {
        for (const char* name : {"20260210.TDB", "20260211.tdb", "20260212.TDB"}) writeOldFile(dir() + name, 1, 2);
        t.platform.freeBytes = c.free;
        t.answer({c.answer, "1", "1", "1"});
        const int before = static_cast<int>(t.transcript().size());
        ConvertOldHistoryFiles(ctx());
        EXPECT_TRUE(QDir(dir()).entryList({"*.TDB"}, QDir::Files).isEmpty()) << c.answer;
        EXPECT_TRUE(QDir(dir()).entryList({"*.CDB"}, QDir::Files).isEmpty()) << c.answer;
        // The question, and in the first case one word per file too large to convert.
        EXPECT_EQ(static_cast<int>(t.transcript().size()) - before, c.interactions) << c.answer;
        t.answer({});
    }
}

}  // namespace
}  // namespace zev::test
