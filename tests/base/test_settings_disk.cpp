// The settings store against the file system: atomic replacement, failed
// writes, damaged and oversized files, leftovers of a killed write, changes by
// other writers, batches.
#include "base/profile_damage.h"
#include "base/settings.h"
#include "temp_home.h"
#include "unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <fcntl.h>
#include <functional>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kIni = QStringLiteral("TOOLS/STANDARD/SETTINGS.INI");

// Lowers the file size limit of the process, so that writing a file beyond it
// fails with EFBIG the way a full disk fails with ENOSPC; works for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_ {};
    void (*oldHandler_)(int) = nullptr;
};

void setModificationTime(const QString& path, const timespec& t) {
    const timespec times[2] = {t, t};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

timespec modificationTime(const QString& path) {
    struct stat st {};
    stat(QFile::encodeName(path).constData(), &st);
    return st.st_mtim;
}

// Overwrites the file in place (same inode), as an editor without safe saving does.
void overwriteInPlace(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

class SettingsDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.setWriteFailureHandler([this](const QString& path, const zev::profile::StoreFailure& why) {
            failures << path;
            lastReason = why.kind;
        });
    }
    QStringList directoryEntries(const QString& relativeDir) const {
        return QDir(home.file(relativeDir)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    zev::test::TempHome home;
    zev::Settings settings{home.path()};
    QString ini = home.file(kIni);
    QStringList failures;
    std::optional<zev::profile::FailureKind> lastReason;
};

TEST_F(SettingsDiskTest, FullDiskLeavesTheOldFileAndReportsOncePerEpisode) {
    const QByteArray before = "[ZONE_001]\r\nNAME=old\r\n";
    home.write(kIni, before);
    {
        FileSizeLimit limit(16);  // below the size of any version of the file
        EXPECT_FALSE(settings.SetIni("ZONE_001", "NAME", QString(200, u'n'), ini));
        EXPECT_EQ(settings.GetIni("ZONE_001", "GROUP", "0", ini), "0");
    }
    EXPECT_EQ(home.read(kIni), before);
    EXPECT_EQ(directoryEntries("TOOLS/STANDARD"), QStringList{"SETTINGS.INI"}) << "no temporary file left";
    EXPECT_EQ(settings.GetIni("ZONE_001", "NAME", "x", ini), "old") << "the store does not pretend it was stored";
    EXPECT_EQ(failures, QStringList{ini});
    EXPECT_EQ(lastReason, zev::profile::FailureKind::DiskFull);

    EXPECT_TRUE(settings.SetIni("ZONE_001", "NAME", "new", ini));  // ends the episode
    {
        FileSizeLimit limit(16);
        EXPECT_FALSE(settings.SetIni("ZONE_001", "NAME", "again", ini));
    }
    EXPECT_EQ(failures, (QStringList{ini, ini}));
    EXPECT_EQ(settings.GetIni("ZONE_001", "NAME", "x", ini), "new");
}

TEST_F(SettingsDiskTest, ReadOnlyDirectoryAndFileAreLeftAlone) {
    // A write-protected file in a directory anyone may write to, and a file in
    // a directory nobody but its owner may write to.
    const QByteArray before = "[A]\r\nK=1\r\n";
    home.write("OPEN/SETTINGS.INI", before);
    home.write(kIni, before);
    const QString file = home.file("OPEN/SETTINGS.INI");
    ASSERT_EQ(chmod(QFile::encodeName(home.path()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(home.file("OPEN")).constData(), 0777), 0);
    ASSERT_EQ(chmod(QFile::encodeName(home.file("TOOLS")).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(home.file("TOOLS/STANDARD")).constData(), 0555), 0);
    ASSERT_EQ(chmod(QFile::encodeName(file).constData(), 0444), 0);
    ASSERT_EQ(chmod(QFile::encodeName(ini).constData(), 0666), 0);

    const QByteArray seen = zev::test::runUnprivileged([&] {
        zev::Settings store(home.path());
        int reports = 0;
        store.setWriteFailureHandler([&](const QString&, const zev::profile::StoreFailure&) { ++reports; });
        QByteArray r;
        r += store.SetIni("A", "K", "2", file) ? "stored " : "refused ";
        r += store.SetIni("A", "K", "3", ini) ? "stored " : "refused ";
        r += store.GetIni("A", "N", "5", ini).toLatin1() + ' ';
        r += store.GetIni("A", "K", "x", ini).toLatin1() + ' ';
        r += QByteArray::number(reports);
        return r;
    });
    ASSERT_EQ(chmod(QFile::encodeName(home.file("TOOLS/STANDARD")).constData(), 0755), 0);
    EXPECT_EQ(seen, QByteArray("refused refused 5 1 2"));  // one report for each file
    EXPECT_EQ(home.read("OPEN/SETTINGS.INI"), before);
    EXPECT_EQ(home.read(kIni), before);
    EXPECT_EQ(directoryEntries("OPEN"), QStringList{"SETTINGS.INI"});
}

TEST_F(SettingsDiskTest, DirectoryThatCannotBeMadeIsReportedOnce) {
    home.write("plain", "not a directory");
    const QString file = home.file("plain/SETTINGS.INI");
    EXPECT_EQ(settings.GetIni("ZONE_001", "NAME", "ZONE 001", file), "ZONE 001");
    EXPECT_EQ(settings.GetIni("ZONE_002", "NAME", "ZONE 002", file), "ZONE 002");
    EXPECT_EQ(failures, QStringList{file});
    EXPECT_EQ(lastReason, zev::profile::FailureKind::NoDirectory);
    EXPECT_EQ(home.read("plain"), QByteArray("not a directory"));
}

TEST_F(SettingsDiskTest, DirectoryInPlaceOfTheFileReadsAsEmptyAndIsKept) {
    QDir().mkpath(ini);
    EXPECT_EQ(settings.GetIni("A", "K", "1", ini), "1");
    EXPECT_TRUE(QFileInfo(ini).isDir());
    EXPECT_EQ(failures, QStringList{ini});
    EXPECT_EQ(lastReason, zev::profile::FailureKind::Unreadable);
}

TEST_F(SettingsDiskTest, AFileOverFourMebibytesIsNeitherReadNorWritten) {
    std::vector<std::pair<QString, zev::profile::FileDamage::Kind>> told;
    settings.setDamageHandler([&](const QString& path, const zev::profile::FileDamage& d) { told.emplace_back(path, d.kind); });
    QByteArray big = "[A]\r\nK=1\r\n";
    big.append(QByteArray(4 * 1024 * 1024 - big.size(), ';'));
    home.write(kIni, big);
    EXPECT_EQ(settings.GetIni("A", "K", "x", ini), "1") << "exactly 4 MiB is still read";
    big.append(';');
    home.write(kIni, big);
    EXPECT_EQ(settings.GetIni("A", "K", "x", ini), "x");
    EXPECT_EQ(settings.GetIni("A", "N", "5", ini), "5");
    EXPECT_FALSE(settings.SetIni("A", "K", "2", ini));
    EXPECT_EQ(home.read(kIni), big);
    ASSERT_EQ(told.size(), 1u) << "told once";
    EXPECT_EQ(told[0].first, ini);
    EXPECT_EQ(told[0].second, zev::profile::FileDamage::TooLarge);
    EXPECT_TRUE(failures.isEmpty()) << "the notice of the size says that the file stays as it is";
}

TEST_F(SettingsDiskTest, DamagedSettingsFilesAreToldOnceAndReadAsFarAsPossible) {
    std::vector<std::pair<QString, std::vector<int>>> told;
    settings.setDamageHandler([&](const QString& path, const zev::profile::FileDamage& d) { told.emplace_back(path, d.lines); });
    home.write("zev.ini", zev::test::bytesOf("[SERIAL]\r\nONLINE=0\r\n\0\0\0\0\r\n"));
    EXPECT_EQ(settings.GetIni("SERIAL", "ONLINE", "1", "*"), "0");
    EXPECT_EQ(settings.GetIni("TOOL", "TOOLNAME", "STANDARD", "*"), "STANDARD");
    EXPECT_EQ(settings.GetIni("TOOL", "TOOLPATH", "T", "*"), "T");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].first, home.file("zev.ini"));
    EXPECT_EQ(told[0].second, std::vector<int>{3});
    // The same damage in a file that is not a settings file is no matter of the
    // store: a driver file's records are no profile lines.
    home.write("DRIVER/AZ1.DRV", zev::test::bytesOf("[ZEVCtrl]\r\nMC_param=2\r\n@P,a,0,1\r\n@P,b,0,1\r\n@P,c\0,0,1\r\n"));
    EXPECT_EQ(settings.GetIni("ZEVCtrl", "MC_param", "", home.file("DRIVER/AZ1.DRV")), "2");
    EXPECT_EQ(told.size(), 1u);
}

TEST_F(SettingsDiskTest, TemporaryFilesOfAKilledWriteGoAtTheFirstUse) {
    home.write("zev.ini", "[A]\r\nK=1\r\n");
    home.write(".zev.ini.tmp-3fa9c2", "[A]\r\nK=");  // cut off by the kill
    home.write(".cmd.ini.tmp-77", "[B]");
    home.write(".zev.ini.tmp-notes", "not ours");
    EXPECT_EQ(settings.GetIni("A", "K", "x", "*"), "1");
    EXPECT_EQ(directoryEntries(""), (QStringList{".cmd.ini.tmp-77", ".zev.ini.tmp-notes", "zev.ini"}));
    EXPECT_EQ(settings.GetIni("B", "K", "", home.file("cmd.ini")), "");
    EXPECT_EQ(directoryEntries(""), (QStringList{".zev.ini.tmp-notes", "zev.ini"}));
}

TEST_F(SettingsDiskTest, RewriteKeepsPermissionsAndSymbolicLinks) {
    home.write("shared/SETTINGS.INI", "[A]\r\nK=1\r\n");
    QDir().mkpath(home.file("TOOLS/STANDARD"));
    ASSERT_TRUE(QFile::link(home.file("shared/SETTINGS.INI"), ini));
    const QByteArray real = QFile::encodeName(home.file("shared/SETTINGS.INI"));
    ASSERT_EQ(chmod(real.constData(), 0640), 0);

    EXPECT_TRUE(settings.SetIni("A", "K", "2", ini));
    EXPECT_TRUE(QFileInfo(ini).isSymLink());
    EXPECT_EQ(home.read("shared/SETTINGS.INI"), QByteArray("[A]\r\nK=2\r\n"));
    struct stat st {};
    ASSERT_EQ(stat(real.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// The store keeps parsed files; whatever another writer does must be seen.
TEST_F(SettingsDiskTest, ChangesByAnotherWriterAreSeen) {
    home.write(kIni, "[A]\r\nK=1\r\n");
    EXPECT_EQ(settings.GetIni("A", "K", "x", ini), "1");
    home.write(kIni, "[A]\r\nK=22\r\n");
    EXPECT_EQ(settings.GetIni("A", "K", "x", ini), "22");
    // Our own write, then someone else's.
    settings.SetIni("A", "K", "3", ini);
    overwriteInPlace(ini, "[A]\r\nK=44\r\n");
    EXPECT_EQ(settings.GetIni("A", "K", "x", ini), "44");
    // Same inode, same size, same modification time: only the bytes differ.
    const timespec tick = modificationTime(ini);
    overwriteInPlace(ini, "[A]\r\nK=55\r\n");
    setModificationTime(ini, tick);
    EXPECT_EQ(settings.GetIni("A", "K", "x", ini), "55");
    // An old file: changed in place (same size, new time), then replaced by a
    // copy of the same size that kept the old time (a new inode).
    timespec hourAgo {};
    clock_gettime(CLOCK_REALTIME, &hourAgo);
    hourAgo.tv_sec -= 3600;
    setModificationTime(ini, hourAgo);
    EXPECT_EQ(settings.GetIni("A", "K", "x", ini), "55");
    overwriteInPlace(ini, "[A]\r\nK=66\r\n");
    EXPECT_EQ(settings.GetIni("A", "K", "x", ini), "66");
    setModificationTime(ini, hourAgo);
    EXPECT_EQ(settings.GetIni("A", "K", "x", ini), "66");
    home.write("copy.ini", "[A]\r\nK=77\r\n");
    setModificationTime(home.file("copy.ini"), hourAgo);
    ASSERT_EQ(::rename(QFile::encodeName(home.file("copy.ini")).constData(), QFile::encodeName(ini).constData()), 0);
    EXPECT_EQ(settings.GetIni("A", "K", "x", ini), "77");
}

TEST_F(SettingsDiskTest, StoringTheValueAlreadyThereWritesNothing) {
    home.write(kIni, "[A]\r\nK=1\r\n");
    struct stat before {}, after {};
    stat(QFile::encodeName(ini).constData(), &before);
    EXPECT_TRUE(settings.SetIni("a", "k", " 1 ", ini));
    EXPECT_EQ(settings.GetIni("A", "K", "2", ini), "1");
    stat(QFile::encodeName(ini).constData(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST_F(SettingsDiskTest, BatchWritesOnceAtItsEndAndReadsItsOwnValues) {
    const QByteArray before = "[A]\r\nK=1\r\n";
    home.write(kIni, before);
    zev::Settings::Batch outer(settings);
    EXPECT_EQ(settings.GetIni("A", "N", "5", ini), "5");
    EXPECT_TRUE(settings.SetIni("A", "K", "2", ini));
    {
        zev::Settings::Batch inner(settings);
        settings.SetIni("B", "M", "7", ini);
        EXPECT_TRUE(inner.finish());
    }
    EXPECT_EQ(home.read(kIni), before) << "nothing written before the outermost batch ends";
    EXPECT_EQ(settings.GetIni("A", "K", "x", ini), "2");
    EXPECT_EQ(settings.GetIni("A", "N", "x", ini), "5");

    EXPECT_TRUE(outer.finish());
    EXPECT_EQ(home.read(kIni), QByteArray("[A]\r\nK=2\r\nN=5\r\n[B]\r\nM=7\r\n"));
    EXPECT_TRUE(outer.finish()) << "a second finish does nothing";
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(SettingsDiskTest, BatchIsWrittenWhenAnExceptionLeavesItsScope) {
    try {
        zev::Settings::Batch batch(settings);
        settings.SetIni("A", "K", "1", ini);
        throw std::runtime_error("operator chose to leave the procedure");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(home.read(kIni), QByteArray("[A]\r\nK=1\r\n"));
}

TEST_F(SettingsDiskTest, FailedBatchIsReportedAndTheStoreFallsBackToTheDisk) {
    const QByteArray before = "[A]\r\nK=1\r\n";
    home.write(kIni, before);
    zev::Settings::Batch batch(settings);
    settings.SetIni("A", "K", QString(100, u'2'), ini);
    {
        FileSizeLimit limit(32);
        EXPECT_FALSE(batch.finish());
    }
    EXPECT_EQ(home.read(kIni), before);
    EXPECT_EQ(failures, QStringList{ini});
    EXPECT_EQ(settings.GetIni("A", "K", "x", ini), "1");
}

}  // namespace
