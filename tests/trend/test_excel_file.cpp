// The worksheet writer byte for byte, and the trend export read back by an
// independent reader (python3-xlrd).
#include "day_files.h"
#include "temp_home.h"

#include "trend/excel_file.h"
#include "trend/trend_export.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace zev::test {
namespace {

QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

class ExcelFileTest : public ::testing::Test {
protected:
    QString path(const char* name = "t.xls") { return home.path() + "/" + name; }
    QByteArray bytes(const char* name = "t.xls") {
        QFile f(path(name));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    // The bytes after BOF, CODEPAGE and the 25 default formats.
    QByteArray cells() {
        QByteArray all = bytes();
        int at = 0;
        for (int i = 0; i < 2 + 1 + 25; ++i) at += 4 + (uchar(all[at + 2]) | uchar(all[at + 3]) << 8);
        return all.mid(at);
    }
    TempHome home;
};

TEST_F(ExcelFileTest, StartsAsAWorksheetInWindows1252AndEndsWithEof) {
    QFile(path()).open(QIODevice::WriteOnly);  // an existing file is replaced
    ExcelFile x;
    ASSERT_TRUE(x.CreateFile(path()));
    ASSERT_TRUE(x.CloseFile());
    const QByteArray b = bytes();
    EXPECT_EQ(b.left(14), hex("0900040002001000" "42000200e404"));
    EXPECT_EQ(b.mid(14, 6), hex("1f0002001800"));          // FORMATCOUNT: highest index 24
    EXPECT_EQ(b.mid(20, 12), hex("1e000800" "0747656e6572616c"));  // "General"
    EXPECT_EQ(b.right(4), hex("0a000000"));
    EXPECT_FALSE(x.CloseFile());  // nothing open: nothing written
    EXPECT_EQ(bytes().size(), b.size());
}

TEST_F(ExcelFileTest, CellsCarryTheirAttributeBitsAndIntegersOnlyWhenUnsigned) {
    ExcelFile x;
    ASSERT_TRUE(x.CreateFile(path()));
    ASSERT_TRUE(x.WriteValue(ExcelFile::Integer, 2, 3, ExcelFile::kLocked | ExcelFile::kHidden, 1, 1, 7, 19));
    ASSERT_TRUE(x.WriteValue(ExcelFile::Integer, 0, 0, 0, 3, 256, 65535, 0));
    ASSERT_TRUE(x.WriteValue(ExcelFile::Integer, 1, 0, 0, 16384, 2, -5, 1));
    ASSERT_TRUE(x.WriteValue(ExcelFile::Integer, 0, 0, 0, 2, 2, 70000, 0));
    ASSERT_TRUE(x.WriteValue(ExcelFile::Text, 3, 1, 0, 2, 3, QStringLiteral("D\u00fcse \u20ac\u65e5"), 0));
    ASSERT_TRUE(x.WriteValue(ExcelFile::Text, 0, 0, 0, 2, 4, QString(300, 'a'), 0));
    ASSERT_TRUE(x.WriteValue(7, 0, 0, 0, 2, 4, 1, 0));  // an unknown kind writes nothing
    ASSERT_TRUE(x.CloseFile());
    QByteArray expect = hex("02000900" "00000000" "c0" "93" "03" "0700") +
                        hex("02000900" "0200ff00" "00" "00" "00" "ffff") +
                        hex("03000f00" "ff3f0100" "00" "41" "00" "00000000000014c0") +
                        hex("03000f00" "01000100" "00" "00" "00" "000000000017f140") +
                        hex("04000f00" "01000200" "00" "c0" "01" "07" "44fc736520803f");
    expect += hex("04000701" "01000300" "000000" "ff") + QByteArray(255, 'a') + hex("0a000000");
    EXPECT_EQ(cells().toHex().toStdString(), expect.toHex().toStdString());
}

TEST_F(ExcelFileTest, PageBreaksAreSortedAndThePasswordIsNeverWritten) {
    ExcelFile x;
    ASSERT_TRUE(x.CreateFile(path()));
    EXPECT_FALSE(x.SetFilePassword(QStringLiteral("secret")));
    for (int row : {30, 10, 20}) ASSERT_TRUE(x.InsertHorizPageBreak(row));
    ASSERT_TRUE(x.CloseFile());
    EXPECT_EQ(cells(), hex("1b000800" "0300" "0900" "1300" "1d00" "0a000000"));
    EXPECT_FALSE(bytes().contains("secret"));
}

TEST_F(ExcelFileTest, TheFirstFailureStopsTheFile) {
    struct Case { int row, column; };
    for (const Case c : {Case{16385, 1}, Case{0, 1}, Case{1, 257}, Case{1, 0}}) {
        ExcelFile x;
        ASSERT_TRUE(x.CreateFile(path()));
        EXPECT_FALSE(x.WriteValue(ExcelFile::Integer, 0, 0, 0, c.row, c.column, 1, 0)) << c.row << "," << c.column;
        EXPECT_FALSE(x.WriteValue(ExcelFile::Integer, 0, 0, 0, 1, 1, 1, 0));  // nothing after the failure
        EXPECT_FALSE(x.CloseFile());
        x.Abandon();
        EXPECT_FALSE(QFile::exists(path()));
    }
    ExcelFile x;
    EXPECT_FALSE(x.CreateFile(home.path() + "/no/such/dir/t.xls"));
    EXPECT_FALSE(x.errorString().isEmpty());
}

TEST_F(ExcelFileTest, TheTrendExportOpensInAnIndependentReader) {
    if (!QFile::exists("/usr/bin/python3")) GTEST_FAIL() << "python3-xlrd is an installed package of the project";
    const QDate day(2026, 3, 10);
    writeDayFile(home.path() + "/", day, 3598, 3602, 2, [](int s, int z) {
        return TestEntry{z == 1 ? 1200 : -20, s == 3600 ? -10024 : 230 + s - 3598, 0, 75, 0};
    });
    TrendWindow w(home.path() + "/");
    w.setLines({{KindSetpoint, 1, {}}, {KindActual, 1, {}}, {KindSetpoint, 2, {}}, {KindOutput, 2, {}}});
    w.setGeometry(6, 6);  // seconds 3597..3603: the first and the last carry nothing
    const QDateTime end(day, QTime(1, 0, 3));
    w.ReadValBuffers(end, 6);
    const QString file = exportFileName(home.path(), QDateTime(day, QTime(1, 0, 3)));
    EXPECT_TRUE(file.endsWith("/20260310-0100.xls"));
    QString error;
    ASSERT_TRUE(writeTrendSheet(file, w, end, {QStringLiteral("Zeit"), [](int z) {
                                                   return z == 1 ? QStringLiteral("D\u00fcse") : QStringLiteral("Z\"2/..");
                                               }},
                                &error))
        << error.toStdString();
    EXPECT_TRUE(exportFileName(home.path(), QDateTime(day, QTime(1, 0, 59))).endsWith("/20260310-0100_2.xls"));
    QProcess py;
    py.start("/usr/bin/python3", {"-c", R"(
import sys, xlrd
b = xlrd.open_workbook(sys.argv[1])
s = b.sheet_by_index(0)
print(s.nrows, s.ncols)
for r in range(s.nrows):
    out = []
    for c in range(s.ncols):
        cell = s.cell(r, c)
        if cell.ctype == xlrd.XL_CELL_DATE:
            out.append(xlrd.xldate_as_datetime(cell.value, b.datemode).strftime('%d.%m.%Y %H:%M:%S'))
        elif cell.ctype == xlrd.XL_CELL_NUMBER:
            out.append('%g' % cell.value)
        else:
            out.append(str(cell.value))
    print('|'.join(out))
)", file});
    ASSERT_TRUE(py.waitForFinished(30000));
    const QString out = QString::fromUtf8(py.readAllStandardOutput());
    EXPECT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
    EXPECT_EQ(out, QStringLiteral("6 5\n"
                                  "Zeit|D\u00fcse W|D\u00fcse X|Z\"2/.. W|Z\"2/.. Y\n"
                                  "10.03.2026 00:59:58|1200|230|-20|75\n"
                                  "10.03.2026 00:59:59|1200|231|-20|75\n"
                                  "10.03.2026 01:00:00|1200||-20|75\n"
                                  "10.03.2026 01:00:01|1200|233|-20|75\n"
                                  "10.03.2026 01:00:02|1200|234|-20|75\n"))
        << out.toStdString();
}

TEST_F(ExcelFileTest, AFailedExportLeavesNoFile) {
    TrendWindow w(home.path() + "/");
    std::vector<TrendLine> lines(256, TrendLine{KindActual, 1, {}});
    w.setLines(lines);
    w.setGeometry(2, 60);
    w.lines()[0].data[1] = 5;
    QString error;
    EXPECT_FALSE(writeTrendSheet(path(), w, QDateTime(QDate(2026, 3, 10), QTime(8, 0)), {"Zeit", [](int) { return QString("Z"); }}, &error));
    EXPECT_FALSE(QFile::exists(path()));
    w.setLines(std::vector<TrendLine>(255, TrendLine{KindActual, 1, {}}));
    w.lines()[0].data[1] = 5;
    EXPECT_TRUE(writeTrendSheet(path(), w, QDateTime(QDate(2026, 3, 10), QTime(8, 0)), {"Zeit", [](int) { return QString("Z"); }}, &error));
    // A volume that cannot take the file.
    EXPECT_FALSE(writeTrendSheet(home.path() + "/gone/x.xls", w, QDateTime(QDate(2026, 3, 10), QTime(8, 0)),
                                 {"Zeit", [](int) { return QString("Z"); }}, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(RemovableVolumes, OnlyMountsBelowTheMediaRootsInTableOrder) {
    const QString mounts = "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /media/op/STICK\\040A vfat rw 0 0\n"
                           "tmpfs /run tmpfs rw 0 0\n/dev/sdc1 /mnt/usb vfat rw 0 0\n";
    EXPECT_EQ(removableVolumes(mounts, {"/media", "/mnt"}), (QStringList{"/media/op/STICK A", "/mnt/usb"}));
}

}  // namespace
}  // namespace zev::test
