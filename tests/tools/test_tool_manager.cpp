// The tool manager's commands on real temporary directories: the drives by
// kind, new, copy (export, import) with its failures, rename, delete and the
// refusals of a tool change.
#include "test_context.h"

#include "base/settings.h"
#include "tools/active_tool.h"
#include "tools/drives.h"
#include "tools/tool_manager.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace zev;
using zev::test::TestContext;

namespace {

void put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Every file below dir with its checksum, to see that a source stays as it was.
QMap<QString, QByteArray> snapshot(const QString& dir) {
    QMap<QString, QByteArray> out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString f = it.next();
        QFile file(f);
        file.open(QIODevice::ReadOnly);
        out[QDir(dir).relativeFilePath(f)] = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
    }
    return out;
}

// The text of the last notice shown (answered or not: an "OK" needs no answer here).
std::string noticeText(const TestContext& tc) {
    const QStringList lines = tc.transcript();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        const qsizetype at = it->indexOf(QLatin1String("NOTICE "));
        if (at < 0) continue;
        const QString rest = it->mid(at + 7);
        return rest.left(rest.indexOf(QLatin1String(" | "))).toStdString();
    }
    return {};
}
std::string str(const QString& s) { return s.toStdString(); }

class Tools : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_DATA_HOME", trashHome.path().toUtf8());
        {
            Settings::Batch batch(*tc.settings);
            LoadActiveTool(*tc.ctx);  // STANDARD, the active tool
        }
        fixed = {DriveKind::Fixed, tc.ctx->tool.ToolsDir, tc.ctx->tool.ToolsDir};
        stick = {DriveKind::Removable, stickDir.path(), stickDir.path() + QStringLiteral("/ZEVcontol 2/Tools/")};
        // A mould's data set: recipes, a picture, history files, hidden and linked entries.
        src = fixed.toolFolder + QStringLiteral("MOULD");
        put(src + QStringLiteral("/SETTINGS.INI"), "[ZONE_001]\r\nNAME=Düse 1\r\n");
        put(src + QStringLiteral("/parameter/A.rzp"), QByteArray(5000, 'a'));
        put(src + QStringLiteral("/PICS/BILD000.bmp"), QByteArray(300 * 1024, 'p'));
        put(src + QStringLiteral("/LOGFILES/20260101.CDB"), "history");
        put(src + QStringLiteral("/.git/config"), "x");
        put(src + QStringLiteral("/notes.txt"), "not copied: only directories and INI files are");
        QFile::link(QStringLiteral("/etc"), src + QStringLiteral("/PICS/escape"));
        before = snapshot(src);
    }
    ToolRef mould() { return {fixed, QStringLiteral("MOULD")}; }

    QTemporaryDir trashHome, stickDir;
    TestContext tc;
    Drive fixed, stick;
    QString src;
    QMap<QString, QByteArray> before;
};

TEST(Drives, ByKindFromTheMountTableAndTheKernelsFlags) {
    QTemporaryDir sys, root;
    const QString block = sys.path() + QStringLiteral("/class/block");
    const auto disk = [&](const QString& name, const QString& devicePath, const char* removable) {
        put(sys.path() + devicePath + QStringLiteral("/") + name + QStringLiteral("/removable"), removable);
        put(sys.path() + devicePath + QStringLiteral("/") + name + QStringLiteral("/") + name + QStringLiteral("1/partition"), "1");
        QDir().mkpath(block);
        QFile::link(sys.path() + devicePath + QStringLiteral("/") + name, block + QStringLiteral("/") + name);
        QFile::link(sys.path() + devicePath + QStringLiteral("/") + name + QStringLiteral("/") + name + QStringLiteral("1"),
                    block + QStringLiteral("/") + name + QStringLiteral("1"));
    };
    disk(QStringLiteral("sda"), QStringLiteral("/devices/pci0/ata1"), "0");         // the system disk
    disk(QStringLiteral("sdb"), QStringLiteral("/devices/pci0/ata2"), "1");         // a card reader
    disk(QStringLiteral("sdc"), QStringLiteral("/devices/pci0/usb1/1-1"), "0");     // a stick that says 0
    put(root.path() + QStringLiteral("/mounts"),
        "/dev/sda1 / ext4 rw 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "/dev/sdb1 /media/op/CARD vfat rw 0 0\n"
        "/dev/sdc1 /media/op/MY\\040STICK vfat rw 0 0\n"
        "srv:/export /mnt/plant nfs4 rw 0 0\n"
        "//srv/share /mnt/office cifs rw 0 0\n"
        "/dev/sdc1 /media/op/MY\\040STICK vfat rw 0 0\n");
    const QList<Drive> drives =
        SearchDrives({root.path() + QStringLiteral("/mounts"), block, {}}, QStringLiteral("/opt/zev/TOOLS/"));
    const QList<std::pair<DriveKind, QString>> expected = {
        {DriveKind::Fixed, QStringLiteral("/opt/zev/TOOLS/")},
        {DriveKind::Removable, QStringLiteral("/media/op/CARD/ZEVcontol 2/Tools/")},
        {DriveKind::Removable, QStringLiteral("/media/op/MY STICK/ZEVcontol 2/Tools/")},
        {DriveKind::Remote, QStringLiteral("/mnt/plant/ZEVcontol 2/Tools/")},
        {DriveKind::Remote, QStringLiteral("/mnt/office/ZEVcontol 2/Tools/")},
    };
    ASSERT_EQ(drives.size(), expected.size());
    for (int i = 0; i < drives.size(); ++i) {
        EXPECT_EQ(drives[i].kind, expected[i].first) << i;
        EXPECT_EQ(drives[i].toolFolder, expected[i].second) << i;
    }
}

TEST_F(Tools, NewToolIsUpperCaseOnlyADirectoryAndAsksAgainForATakenName) {
    tc.answer({QStringLiteral("mould"), QStringLiteral("1"), QStringLiteral("../x"), QStringLiteral("2"), QStringLiteral("new one")});
    ToolManager m(*tc.ctx);
    EXPECT_EQ(m.newTool(fixed), QStringLiteral("NEW ONE"));
    EXPECT_TRUE(QDir(fixed.toolFolder + QStringLiteral("NEW ONE")).isEmpty());
    const QString t = tc.transcript().join(QLatin1Char('\n'));
    EXPECT_TRUE(t.contains(QStringLiteral("Es existiert bereits ein Werkzeug mit gleichen Namen!"))) << t.toStdString();
    EXPECT_TRUE(t.contains(QStringLiteral("Dieser Name ist nicht zulässig: ../x"))) << t.toStdString();
    EXPECT_FALSE(QFileInfo::exists(tc.ctx->tool.ToolsDir + QStringLiteral("../X")));

    // No drive, and too little room on the drive.
    tc.answer({QStringLiteral("2")});
    EXPECT_FALSE(m.newTool(std::nullopt));
    EXPECT_EQ(noticeText(tc), str(QStringLiteral("Bitte wählen sie erst ein Ziellaufwerk aus.")));
    tc.platform.freeBytes = ToolManager::kNewToolSpace - 1;
    tc.answer({QStringLiteral("2")});
    EXPECT_FALSE(m.newTool(stick));
    EXPECT_EQ(noticeText(tc), str(QStringLiteral("Es ist nicht genügend Speicherplatz für ein neues Werkzeug auf dem ") +
                                   stickDir.path() + QStringLiteral(" vorhanden.")));
}

TEST_F(Tools, ExportLeavesOutHistoryHiddenAndLinkedEntries) {
    tc.answer({QStringLiteral("MOULD"), QStringLiteral("2")});  // the pre-filled "Kopie von MOULD" replaced
    ToolManager m(*tc.ctx);
    ASSERT_EQ(m.copyTool(mould(), stick), QStringLiteral("MOULD"));
    EXPECT_EQ(noticeText(tc), str(QStringLiteral("Werkzeug erfolgreich kopiert.")));
    QMap<QString, QByteArray> expected = before;
    for (const char* left : {"LOGFILES/20260101.CDB", ".git/config", "notes.txt"}) expected.remove(QLatin1String(left));
    EXPECT_EQ(snapshot(stick.toolFolder + QStringLiteral("MOULD")), expected);
    EXPECT_FALSE(QFileInfo(stick.toolFolder + QStringLiteral("MOULD/PICS/escape")).isSymLink());
    EXPECT_EQ(snapshot(src), before);
}

// A copy that fails half-way removes what it made and leaves the source alone.
TEST_F(Tools, FailedCopiesRemoveTheirPartialTarget) {
    struct Case {
        const char* what;
        std::function<Drive()> target;
        std::function<void()> during;
    };
    QTemporaryDir ro;
    const bool root = geteuid() == 0;
    if (!root) QFile::setPermissions(ro.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const std::vector<Case> cases = {
        {"stick pulled during the copy", [&] { return stick; },
         [&] { QDir(stick.toolFolder).removeRecursively(); }},
        // Root may write anywhere on a disk; /proc stays closed to it too.
        {"read-only target", [&] {
             return root ? Drive{DriveKind::Removable, QStringLiteral("/proc"), QStringLiteral("/proc/self/fdinfo/")}
                         : Drive{DriveKind::Removable, ro.path(), ro.path() + QStringLiteral("/")};
         }, {}},
        {"target full", [&] { return stick; }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tc.answer({QStringLiteral("COPY"), QStringLiteral("2")});
        tc.pump.hook = c.during;
        const bool fill = QByteArray(c.what) == "target full";
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        if (fill) {
            // The file-size limit makes the big picture's write fail like a full stick.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = old;
            small.rlim_cur = 100 * 1024;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        const Drive target = c.target();
        const auto made = ToolManager(*tc.ctx).copyTool(mould(), target);
        if (fill) setrlimit(RLIMIT_FSIZE, &old);
        tc.pump.hook = {};
        EXPECT_FALSE(made);
        EXPECT_FALSE(QFileInfo::exists(target.toolFolder + QStringLiteral("COPY")));
        EXPECT_EQ(noticeText(tc).rfind("Fehler beim kopieren vom Werkzeug.", 0), 0u) << noticeText(tc);
        EXPECT_TRUE(QString::fromStdString(noticeText(tc)).endsWith(QStringLiteral(" Die unvollständige Kopie wurde entfernt, das Original ist unverändert.")));
        EXPECT_EQ(snapshot(src), before);
    }
}

TEST_F(Tools, RenameAndDeleteRefuseWhatTheyMustAndDeleteToTheTrash) {
    put(fixed.toolFolder + QStringLiteral("OTHER/SETTINGS.INI"), "x");
    ToolManager m(*tc.ctx);
    const ToolRef active{fixed, QStringLiteral("STANDARD")};
    struct Case {
        std::function<bool()> command;
        QStringList answers;
        QString notice;
    };
    const std::vector<Case> cases = {
        {[&] { return m.renameTool(std::nullopt); }, {QStringLiteral("2")}, QStringLiteral("Es wurde kein Werkzeug ausgewählt!")},
        {[&] { return m.renameTool(active); }, {QStringLiteral("2")}, QStringLiteral("Aktuelles Werkzeug kann nicht umbenannt werden!")},
        {[&] { return m.deleteTool(std::nullopt); }, {QStringLiteral("2")}, QStringLiteral("Es wurde kein Werkzeug ausgewählt!")},
        {[&] { return m.deleteTool(active); }, {QStringLiteral("2")}, QStringLiteral("Aktuelles Werkzeug kann nicht gelöscht werden!")},
        // A taken name, then "Nein".
        {[&] { return m.renameTool(mould()); }, {QStringLiteral("OTHER"), QStringLiteral("2")},
         QStringLiteral("Es existiert bereits ein Werkzeug mit gleichen Namen! Wollen sie einen anderen Namen?")},
        {[&] { return m.deleteTool(mould()); }, {QStringLiteral("2")},
         QStringLiteral("Soll das Werkzeug 'MOULD' wirklich gelöscht werden ?")},
    };
    for (const Case& c : cases) {
        tc.answer(c.answers);
        EXPECT_FALSE(c.command()) << c.notice.toStdString();
        EXPECT_EQ(noticeText(tc), str(c.notice));
    }
    EXPECT_EQ(snapshot(src), before);

    tc.answer({QStringLiteral("a/b:c")});
    ASSERT_TRUE(m.renameTool(mould()));
    const ToolRef renamed{fixed, QStringLiteral("a_b_c")};
    EXPECT_EQ(snapshot(renamed.dir()), before);
    tc.answer({QStringLiteral("1")});
    ASSERT_TRUE(m.deleteTool(renamed));
    EXPECT_FALSE(QFileInfo::exists(renamed.dir()));
    EXPECT_EQ(snapshot(trashHome.path() + QStringLiteral("/Trash/files/a_b_c")), before);
}

TEST_F(Tools, ToolChangeRefusalsAndTheStoredChoice) {
    ToolManager m(*tc.ctx);
    const ToolRef onStick{stick, QStringLiteral("MOULD")};
    put(onStick.dir() + QStringLiteral("/SETTINGS.INI"), "x");
    struct Case {
        std::optional<ToolRef> tool;
        bool diagnosis;
        QString notice;
    };
    const std::vector<Case> cases = {
        {std::nullopt, false, QStringLiteral("Es wurde kein Werkzeug ausgewählt!")},
        {ToolRef{fixed, QStringLiteral("STANDARD")}, false, QStringLiteral("Dieses Werkzeug ist bereits aktiviert!")},
        {onStick, false, QStringLiteral("Es dürfen keine Werkzeuge auf Wechseldatenträgern aktiviert werden!")},
        {mould(), true, tc.ctx->texts(701)},
    };
    for (const Case& c : cases) {
        tc.link->setDiagnosisRunning(c.diagnosis);
        tc.answer({QStringLiteral("2")});
        EXPECT_FALSE(m.prepareChange(c.tool));
        EXPECT_EQ(noticeText(tc), str(c.notice));
    }
    tc.link->setDiagnosisRunning(false);
    // A command that may not be cut off refuses through the link's guard.
    tc.link->setStopGuard([] { return false; });
    EXPECT_FALSE(m.prepareChange(mould()));
    tc.link->setStopGuard({});
    EXPECT_FALSE(tc.home.read(QStringLiteral("zev.ini")).contains("MOULD"));
    ASSERT_TRUE(m.prepareChange(mould()));
    const QByteArray ini = tc.home.read(QStringLiteral("zev.ini"));
    EXPECT_TRUE(ini.contains("TOOLNAME=MOULD\r\n")) << ini.constData();
    EXPECT_TRUE(ini.contains(("TOOLPATH=" + fixed.toolFolder + "\r\n").toUtf8())) << ini.constData();
}

}  // namespace
