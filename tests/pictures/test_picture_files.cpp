// The picture directory on real files: layouts read and written byte for byte,
// the exchange of the main picture with its checks and its rollback, rename,
// delete, the import and the zone check after identification.

#include "picture_files.h"
#include "test_context.h"
#include "unprivileged.h"

#include "pictures/picture_check.h"
#include "pictures/picture_dir.h"
#include "pictures/picture_import.h"
#include "pictures/picture_layout.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zev::test {
namespace {

class PictureFiles : public ::testing::Test {
protected:
    PictureFiles() {
        tc.tool.PicsDir = tc.home.file(QStringLiteral("PICS"));
        QDir().mkpath(tc.tool.PicsDir);
    }
    void put(const QString& name, const QByteArray& bytes) { tc.home.write(QStringLiteral("PICS/") + name, bytes); }
    QByteArray get(const QString& name) { return tc.home.read(QStringLiteral("PICS/") + name); }
    QStringList files() {
        return QDir(tc.tool.PicsDir).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }
    LayoutRead read(const QString& name) { return readLayout(tc.tool.PicsDir + QLatin1Char('/') + name); }
    TestContext tc;
    PictureDir dir{tc.home.file(QStringLiteral("PICS"))};
};

TEST_F(PictureFiles, LayoutsReadTheirKeysDefaultsAndStopAtTheFirstGap) {
    struct Case {
        const char* what;
        QByteArray file;
        std::vector<PictureValue> values;
        std::vector<PictureTouch> touches;
        QString name;
        bool showTitle;
    };
    const Case cases[] = {
        {"VALUE_002 missing: reading stops at the gap",
         "[INFO]\r\nANSICHT=Form\r\nSHOWTITLE=1\r\n[VALUE_001]\r\nZONE=3\r\nX=10\r\nY=20\r\nW=50\r\nH=22\r\nWHAT=1\r\n"
         "[VALUE_003]\r\nZONE=4\r\n",
         {{3, 1, QRect(10, 20, 50, 22)}}, {}, QStringLiteral("Form"), true},
        {"missing keys take 0, 0, 37, 26 and kind 0",
         "[INFO]\r\n[TOUCH_001]\r\nBILD=Deckel\r\n[VALUE_001]\r\nZONE=7\r\n",
         {{7, 0, QRect(0, 0, 37, 26)}}, {{QStringLiteral("Deckel"), QRect(0, 0, 37, 26)}}, {}, false},
        {"non-numbers and absurd sizes are defaults; decimals are rounded",
         "[VALUE_001]\nZONE=abc\nX=12.6\nY=-\nW=0\nH=99999\nWHAT=x\n[INFO]\nSHOWTITLE=ja\n",
         {{0, 0, QRect(13, 0, 37, 26)}}, {}, {}, false},
        {"sections out of order are read by their numbers",
         "[VALUE_002]\r\nZONE=9\r\n[TOUCH_001]\r\nBILD=B\r\nX=5\r\n[VALUE_001]\r\nZONE=8\r\n[INFO]\r\nANSICHT=A\r\n",
         {{8, 0, QRect(0, 0, 37, 26)}, {9, 0, QRect(0, 0, 37, 26)}}, {{QStringLiteral("B"), QRect(5, 0, 37, 26)}},
         QStringLiteral("A"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        put(QStringLiteral("BILD001.INI"), c.file);
        const LayoutRead r = read(QStringLiteral("BILD001.INI"));
        EXPECT_EQ(r.status, LayoutRead::Ok);
        EXPECT_EQ(r.layout.values, c.values);
        EXPECT_EQ(r.layout.touches, c.touches);
        EXPECT_EQ(r.layout.name, c.name);
        EXPECT_EQ(r.layout.showTitle, c.showTitle);
    }
}

TEST_F(PictureFiles, DamagedAndHugeLayoutsAreToldAndReadAsFarAsTheyGo) {
    put(QStringLiteral("BILD001.INI"), bytesOf("[INFO]\r\nANSICHT=Form\r\n\0\0\0\0\r\n[VALUE_001]\r\nZONE=2\r\n"));
    LayoutRead r = read(QStringLiteral("BILD001.INI"));
    EXPECT_EQ(r.status, LayoutRead::Damaged);
    EXPECT_EQ(r.damagedLines, std::vector<int>{3});
    EXPECT_EQ(r.layout.name, QStringLiteral("Form"));
    ASSERT_EQ(r.layout.values.size(), 1u);

    QFile big(tc.tool.PicsDir + QStringLiteral("/BILD002.INI"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(50LL * 1024 * 1024));
    big.close();
    r = read(QStringLiteral("BILD002.INI"));
    EXPECT_EQ(r.status, LayoutRead::TooLarge);
    EXPECT_TRUE(r.layout.values.empty());
    EXPECT_EQ(read(QStringLiteral("BILD009.INI")).status, LayoutRead::Missing);
}

TEST_F(PictureFiles, SavingWritesTheWholeFileAnew) {
    put(QStringLiteral("BILD000.INI"), "[INFO]\r\nANSICHT=Alt\r\n[VALUE_001]\r\nZONE=1\r\n[VALUE_002]\r\nZONE=2\r\n; note\r\n");
    PictureLayout l;
    l.name = QStringLiteral("Düse\r\noben");
    l.showTitle = true;
    l.values = {{12, 2, QRect(5, 6, 70, 24)}, {300, 0, QRect(1, 2, 3, 4)}};
    l.touches = {{QStringLiteral("Deckel"), QRect(700, 10, 90, 30)}};
    ASSERT_TRUE(writeLayout(dir.iniPath(0), l).ok);
    EXPECT_EQ(get(QStringLiteral("BILD000.INI")),
              QByteArray("[INFO]\r\nANSICHT=D\xfc"
                         "se  oben\r\nSHOWTITLE=1\r\n"
                         "[VALUE_001]\r\nZONE=12\r\nX=5\r\nY=6\r\nW=70\r\nH=24\r\nWHAT=2\r\n"
                         "[VALUE_002]\r\nZONE=300\r\nX=1\r\nY=2\r\nW=3\r\nH=4\r\nWHAT=0\r\n"
                         "[TOUCH_001]\r\nBILD=Deckel\r\nX=700\r\nY=10\r\nW=90\r\nH=30\r\n"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("BILD000.INI")});  // no temporary file left

}

TEST_F(PictureFiles, NumbersNamesAndTheFirstPictureOfAName) {
    const std::pair<const char*, int> names[] = {{"BILD005.INI", 5}, {"bild005.bmp", 5}, {"Bild999.Ini", 999},
                                                 {"BILD05.INI", -1}, {"BILD---.INI", -1}, {"BILDx05.INI", -1},
                                                 {"BILD005INI", -1}, {"PIC005.INI", -1}};
    for (const auto& [name, number] : names) EXPECT_EQ(PictureDir::numberOf(QString::fromLatin1(name)), number) << name;

    put(QStringLiteral("bild004.ini"), "[INFO]\r\nANSICHT=Deckel\r\n");
    put(QStringLiteral("BILD002.INI"), "[INFO]\r\nANSICHT=Deckel\r\n");
    put(QStringLiteral("BILD002.bmp"), tinyBitmap(2, 2));
    put(QStringLiteral("BILD000.INI"), "[INFO]\r\nANSICHT=Form\r\n");
    put(QStringLiteral("BILD001.BMP"), tinyBitmap(2, 2));  // a bitmap alone still takes its number
    EXPECT_EQ(dir.findByName(QStringLiteral("Deckel")), 2);
    EXPECT_EQ(dir.findByName(QStringLiteral("deckel")), std::nullopt);
    EXPECT_EQ(dir.freeNumber(), 3);
    const auto list = dir.list();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].bmpPath, tc.tool.PicsDir + QStringLiteral("/BILD002.bmp"));
    EXPECT_EQ(list[2].iniPath, tc.tool.PicsDir + QStringLiteral("/bild004.ini"));
    EXPECT_TRUE(list[2].bmpPath.isEmpty());
}

TEST_F(PictureFiles, PictureFiveBecomesTheMainPicture) {
    put(QStringLiteral("BILD000.INI"), "main layout");
    put(QStringLiteral("BILD000.BMP"), "main bitmap");
    put(QStringLiteral("BILD005.INI"), "five layout");
    put(QStringLiteral("bild005.bmp"), "five bitmap");
    ASSERT_FALSE(dir.exchangeWithMain(5));
    EXPECT_EQ(files(), (QStringList{QStringLiteral("BILD000.INI"), QStringLiteral("BILD000.bmp"),
                                    QStringLiteral("BILD005.BMP"), QStringLiteral("BILD005.INI")}));
    EXPECT_EQ(get(QStringLiteral("BILD000.INI")), "five layout");
    EXPECT_EQ(get(QStringLiteral("BILD000.bmp")), "five bitmap");
    EXPECT_EQ(get(QStringLiteral("BILD005.INI")), "main layout");
    EXPECT_EQ(get(QStringLiteral("BILD005.BMP")), "main bitmap");
    EXPECT_FALSE(dir.exchangeWithMain(0));
    EXPECT_EQ(get(QStringLiteral("BILD000.INI")), "five layout");
}

TEST_F(PictureFiles, TheExchangeChecksItsTargetsAndRollsBack) {
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> files;
        const char* directory;  // a directory in the way of one step
        PictureFailure::Kind failure;
    };
    const Case cases[] = {
        {"a leftover temporary file is never overwritten",
         {{"BILD000.INI", "m"}, {"BILD003.INI", "t"}, {"BILD---.BMP", "lost"}}, nullptr, PictureFailure::TemporaryExists},
        {"a picture without layout is no target", {{"BILD000.INI", "m"}, {"BILD003.BMP", "t"}}, nullptr,
         PictureFailure::NotFound},
        {"the second step fails: the first is undone",
         {{"BILD000.ini", "m"}, {"BILD000.BMP", "mb"}, {"BILD003.INI", "t"}}, "BILD000.INI", PictureFailure::RenameFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(tc.tool.PicsDir).removeRecursively();
        QDir().mkpath(tc.tool.PicsDir);
        for (const auto& [name, content] : c.files) put(QString::fromLatin1(name), content);
        if (c.directory) QDir(tc.tool.PicsDir).mkdir(QString::fromLatin1(c.directory));
        const QStringList before = files();
        EXPECT_EQ(dir.exchangeWithMain(3).kind, c.failure);
        EXPECT_EQ(files(), before);
        for (const auto& [name, content] : c.files) EXPECT_EQ(get(QString::fromLatin1(name)), content) << name;
    }
}

TEST_F(PictureFiles, RenameKeepsTheLayoutAndDeleteTakesEveryFile) {
    put(QStringLiteral("BILD002.INI"), "; mine\r\n[INFO]\r\nANSICHT=Alt\r\n[VALUE_001]\r\nZONE=4\r\n");
    put(QStringLiteral("BILD002.bmp"), "b");
    put(QStringLiteral("bild002.txt"), "notes");
    put(QStringLiteral("BILD020.INI"), "[INFO]\r\nANSICHT=Andere\r\n");
    ASSERT_FALSE(dir.rename(2, QStringLiteral("Neu \"A/B\" ..")));
    EXPECT_EQ(get(QStringLiteral("BILD002.INI")), "; mine\r\n[INFO]\r\nANSICHT=Neu \"A/B\" ..\r\n[VALUE_001]\r\nZONE=4\r\n");
    EXPECT_EQ(dir.rename(7, QStringLiteral("x")).kind, PictureFailure::ReadFailed);
    ASSERT_FALSE(dir.remove(2));
    EXPECT_EQ(files(), QStringList{QStringLiteral("BILD020.INI")});
}

TEST_F(PictureFiles, ImportsGetTheirOwnNumbersAndLayouts) {
    tc.home.write(QStringLiteral("stick/Form.bmp"), tinyBitmap(4, 3));
    tc.home.write(QStringLiteral("stick/Deckel.v2.BMP"), tinyBitmap(2, 2, 0xFF0000));
    tc.home.write(QStringLiteral("stick/Foto.BMP"), QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(100, 'x'));
    tc.home.write(QStringLiteral("stick/Kurz.bmp"), tinyBitmap(40, 40).left(200));
    auto import = [&](const char* name) { return importPicture(*tc.ctx, dir, tc.home.file(QStringLiteral("stick/") + QLatin1String(name))); };

    EXPECT_EQ(import("Form.bmp").number, 0);
    const ImportResult second = import("Deckel.v2.BMP");
    EXPECT_EQ(second.kind, ImportResult::Added);
    EXPECT_EQ(second.number, 1);
    EXPECT_EQ(get(QStringLiteral("BILD001.INI")), "[INFO]\r\nANSICHT=Deckel\r\nSHOWTITLE=0\r\n");
    EXPECT_EQ(get(QStringLiteral("BILD001.BMP")), tinyBitmap(2, 2, 0xFF0000));
    ASSERT_EQ(dir.list().size(), 2u);

    for (const char* bad : {"Foto.BMP", "Kurz.bmp", "fehlt.bmp"}) {
        const ImportResult r = import(bad);
        EXPECT_EQ(r.kind, ImportResult::Failed) << bad;
        EXPECT_FALSE(r.message.isEmpty());
    }
    EXPECT_EQ(files().size(), 4u);

    tc.answer({QStringLiteral("2"), QStringLiteral("1")});
    tc.home.write(QStringLiteral("stick/Form.bmp"), tinyBitmap(8, 8));
    EXPECT_EQ(import("Form.bmp").kind, ImportResult::Skipped);
    EXPECT_EQ(get(QStringLiteral("BILD000.BMP")), tinyBitmap(4, 3));
    EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("Es existiert bereits eine Ansicht mit dem Namen Form. Soll diese Ansicht überschrieben werden?")));
    EXPECT_EQ(import("Form.bmp").kind, ImportResult::Replaced);
    EXPECT_EQ(get(QStringLiteral("BILD000.BMP")), tinyBitmap(8, 8));
    EXPECT_EQ(files().size(), 4u);
}

TEST_F(PictureFiles, AReadOnlyPictureDirectoryIsToldAndKeepsItsPictures) {
    put(QStringLiteral("BILD000.INI"), "[INFO]\r\nANSICHT=Form\r\n");
    tc.home.write(QStringLiteral("stick/Deckel.bmp"), tinyBitmap(2, 2));
    auto mode = [&](const QString& path, mode_t m) { return chmod(QFile::encodeName(path).constData(), m) == 0; };
    ASSERT_TRUE(mode(tc.home.path(), 0755));
    ASSERT_TRUE(mode(tc.tool.PicsDir, 0555));
    const QByteArray seen = runUnprivileged([&] {
        const ImportResult r = importPicture(*tc.ctx, dir, tc.home.file(QStringLiteral("stick/Deckel.bmp")));
        PictureLayout layout = read(QStringLiteral("BILD000.INI")).layout;
        layout.name = QStringLiteral("Neu");
        const bool saved = writeLayout(tc.tool.PicsDir + QStringLiteral("/BILD000.INI"), layout).ok;
        return QByteArray::number(r.kind) + (saved ? " saved " : " refused ") + r.message.toUtf8();
    });
    ASSERT_TRUE(mode(tc.tool.PicsDir, 0755));
    EXPECT_TRUE(seen.startsWith(QByteArray::number(ImportResult::Failed) + " refused ")) << seen.constData();
    EXPECT_TRUE(seen.contains("Das Verzeichnis ist schreibgeschützt oder nicht beschreibbar.")) << seen.constData();
    EXPECT_EQ(files(), QStringList{QStringLiteral("BILD000.INI")});
    EXPECT_EQ(get(QStringLiteral("BILD000.INI")), "[INFO]\r\nANSICHT=Form\r\n");
}

TEST_F(PictureFiles, TheZoneCheckWarnsOnceForZonesAboveTheTable) {
    struct Case {
        const char* what;
        const char* layout;
        int highest;
        bool warned;
    };
    const Case cases[] = {
        {"all zones present", "[VALUE_001]\r\nZONE=48\r\n", 48, false},
        {"zone 49 of 48", "[VALUE_001]\r\nZONE=3\r\n[VALUE_002]\r\nZONE=49\r\n", 48, true},
        {"zone 0 ends the file", "[VALUE_001]\r\nZONE=0\r\n[VALUE_002]\r\nZONE=99\r\n", 48, false},
        {"a gap ends the file", "[VALUE_001]\r\nZONE=1\r\n[VALUE_003]\r\nZONE=99\r\n", 48, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        put(QStringLiteral("bild007.ini"), c.layout);
        tc.answer({QStringLiteral("1")});
        const int before = tc.transcript().size();
        EXPECT_EQ(CheckBiggerIniZone(*tc.ctx, c.highest), c.warned);
        EXPECT_EQ(tc.transcript().size() > before, c.warned);
        if (c.warned) {
            EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("mehr Zonen definiert")));
        }
        tc.answer({});
    }
}

}  // namespace
}  // namespace zev::test
