// The daily retention of the tool's history files: ten are kept, and older
// ones go while the disk runs short of space, but the newest always stays.
#include "test_context.h"
#include "history_file_names.h"

#include "plant/tool_data.h"
#include "trend/history_files.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace zev::test {
namespace {

class HistoryFiles : public ::testing::Test {
protected:
    HistoryFiles() { ctx().tool.LogFileDir = t.home.file(QStringLiteral("TOOLS/T/LOGFILES/")); }
    AppContext& ctx() { return *t.ctx; }
    QString logDir() { return ctx().tool.LogFileDir; }
    void historyFiles(int count, QDate first = QDate(2026, 2, 1)) {
        writeHistoryFiles(t.home, QStringLiteral("TOOLS/T/LOGFILES/"), count, first);
    }
    QStringList left() { return historyFilesLeft(logDir()); }

    TestContext t;
};

TEST_F(HistoryFiles, TenHistoryFilesStayTheEleventhOldestGoes) {
    historyFiles(10);
    EXPECT_TRUE(pruneHistoryFiles(ctx()).isEmpty());
    EXPECT_EQ(left().size(), 10);
    historyFiles(1, QDate(2026, 1, 31));
    EXPECT_EQ(pruneHistoryFiles(ctx()), QStringList{"20260131.CDB"});
    EXPECT_EQ(left().first(), "20260201.CDB");
    historyFiles(14, QDate(2026, 2, 11));
    EXPECT_EQ(pruneHistoryFiles(ctx()).size(), 14);
    EXPECT_EQ(left().first(), "20260215.CDB");
    // Other files of the directory are not history files.
    t.home.write(QStringLiteral("TOOLS/T/LOGFILES/notes.txt"), "x");
    t.home.write(QStringLiteral("TOOLS/T/LOGFILES/STOER.MDB"), "x");
    historyFiles(1, QDate(2026, 3, 1));
    pruneHistoryFiles(ctx());
    EXPECT_TRUE(QFileInfo::exists(logDir() + "notes.txt"));
    EXPECT_TRUE(QFileInfo::exists(logDir() + "STOER.MDB"));
}

TEST_F(HistoryFiles, ShortOfSpaceTheOldestGoUntilEnoughIsFreeButOneStays) {
    historyFiles(6);
    // Every deleted file frees 100 MiB: 250 MiB free at first.
    t.platform.freeFor = [this](const QString& path) {
        EXPECT_EQ(path, logDir());
        return qint64(250 + 100 * (6 - left().size())) * 1024 * 1024;
    };
    EXPECT_EQ(pruneHistoryFiles(ctx()), (QStringList{"20260201.CDB", "20260202.CDB"}));
    EXPECT_EQ(left().size(), 4);
    // Hopelessly full: everything but the newest file goes.
    t.platform.freeFor = nullptr;
    t.platform.freeBytes = 1024;
    pruneHistoryFiles(ctx());
    EXPECT_EQ(left(), QStringList{"20260206.CDB"});
    pruneHistoryFiles(ctx());
    EXPECT_EQ(left(), QStringList{"20260206.CDB"}) << "the last file stays";
    // Unknown free space deletes nothing.
    historyFiles(3, QDate(2026, 3, 1));
    t.platform.freeBytes = -1;
    EXPECT_TRUE(pruneHistoryFiles(ctx()).isEmpty());
}

}  // namespace
}  // namespace zev::test
