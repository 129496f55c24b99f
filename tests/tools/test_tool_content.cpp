// The content of a tool: the kinds listed, recipes and folders copied to
// another tool, renamed (the standard recipe follows) and deleted (never the
// folder of the alarm database).
#include "test_context.h"

#include "base/settings.h"
#include "tools/tool_content.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;

namespace {

class Content : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* f : {"A/parameter/Alpha.rzp", "A/parameter/beta.RZP", "A/parameter/readme.txt",
                              "A/LOGFILES/20260101.CDB", "A/LOGFILES/20260102.cdb", "A/LOGFILES/STOER.MDB",
                              "A/LOGFILES/run1.log", "A/PICS/BILD000.bmp", "A/PICS/BILD000.INI",
                              "A/Wartung/index.htm", "B/PICS/BILD000.bmp", "B/parameter/Kopie von Alpha.rzp"})
            tc.home.write(QStringLiteral("T/") + QLatin1String(f), QByteArray(f));
        tc.home.write(QStringLiteral("T/A/SETTINGS.INI"), "[STANDARD]\r\nREZEPT=Alpha\r\n");
    }
    QString dir(const char* tool) { return tc.home.file(QStringLiteral("T/") + QLatin1String(tool)); }
    QString file(const char* rel) { return tc.home.file(QStringLiteral("T/") + QLatin1String(rel)); }
    QByteArray read(const char* rel) { return tc.home.read(QStringLiteral("T/") + QLatin1String(rel)); }
    QString notice() {
        const QStringList lines = tc.transcript();
        for (auto it = lines.rbegin(); it != lines.rend(); ++it)
            if (it->startsWith(QLatin1String("NOTICE "))) return it->mid(7).section(QStringLiteral(" | "), 0, 0);
        return {};
    }
    TestContext tc;
};

TEST_F(Content, KindsListTheirFilesAndThePreviewIsTheMainPicture) {
    const QList<ToolContent> content = GetToolData(dir("A"));
    const QList<std::pair<QString, QStringList>> expected = {
        {QStringLiteral("RZPFILES"), {file("A/parameter/Alpha.rzp"), file("A/parameter/beta.RZP")}},
        {QStringLiteral("LOGFILES"), {file("A/LOGFILES/20260101.CDB"), file("A/LOGFILES/20260102.cdb")}},
        {QStringLiteral("DIAGFILES"), {file("A/LOGFILES/run1.log")}},
        {QStringLiteral("PICS"), {file("A/PICS/BILD000.bmp"), file("A/PICS/BILD000.INI")}},
        {QStringLiteral("OTHERFILES"), {file("A/Wartung/index.htm")}},
    };
    ASSERT_EQ(content.size(), expected.size());
    for (int i = 0; i < content.size(); ++i) {
        EXPECT_EQ(content[i].key, expected[i].first);
        EXPECT_EQ(content[i].files, expected[i].second) << content[i].key.toStdString();
    }
    EXPECT_EQ(mainPicture(dir("A")), file("A/PICS/BILD000.bmp"));
    EXPECT_EQ(mainPicture(dir("missing")), QString());
}

TEST_F(Content, CopiesAskBeforeTheyOverwriteAndNameWhatTheyCopied) {
    ToolContentCommands c(*tc.ctx);
    // A taken recipe name: "Ja", another name; the extension is added.
    tc.answer({QStringLiteral("Kopie von Alpha"), QStringLiteral("1"), QStringLiteral("Gamma"), QStringLiteral("2")});
    ASSERT_TRUE(c.copyTo({dir("A"), ContentKind::Recipes, file("A/parameter/Alpha.rzp")}, dir("B")));
    EXPECT_EQ(read("B/parameter/Gamma.rzp"), QByteArray("A/parameter/Alpha.rzp"));
    EXPECT_EQ(read("B/parameter/Kopie von Alpha.rzp"), QByteArray("B/parameter/Kopie von Alpha.rzp"));
    EXPECT_EQ(notice(), QStringLiteral("Rezept erfolgreich kopiert."));

    // The pictures onto a tool that has some: "Nein" keeps them, "Ja" replaces them.
    const ContentSelection pics{dir("A"), ContentKind::Pics, {}};
    tc.answer({QStringLiteral("2")});
    EXPECT_FALSE(c.copyTo(pics, dir("B")));
    EXPECT_EQ(notice(), QStringLiteral("Es existiert bereits eine Bildermappe auf dem Zielwerkzeug! Soll diese überschrieben werden?"));
    EXPECT_EQ(read("B/PICS/BILD000.bmp"), QByteArray("B/PICS/BILD000.bmp"));
    tc.answer({QStringLiteral("1"), QStringLiteral("2")});
    EXPECT_TRUE(c.copyTo(pics, dir("B")));
    EXPECT_EQ(notice(), QStringLiteral("Bildermappe erfolgreich kopiert."));
    EXPECT_EQ(read("B/PICS/BILD000.bmp"), QByteArray("A/PICS/BILD000.bmp"));
    EXPECT_EQ(read("B/PICS/BILD000.INI"), QByteArray("A/PICS/BILD000.INI"));
    EXPECT_TRUE(QDir(dir("B") + QStringLiteral("/PICS")).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(Content, RenamesStayInTheirFolderAndTheStandardRecipeFollows) {
    ToolContentCommands c(*tc.ctx);
    struct Case {
        const char* from;
        ContentKind kind;
        QStringList answers;
        const char* expected;  // the file afterwards, nullptr: nothing renamed
    };
    const std::vector<Case> cases = {
        {"A/parameter/beta.RZP", ContentKind::Recipes, {QStringLiteral("../x"), QStringLiteral("2"), QStringLiteral("x:y")},
         "A/parameter/x_y.rzp"},
        {"A/LOGFILES/run1.log", ContentKind::DiagFiles, {QStringLiteral("  ..  "), QStringLiteral("2"), QStringLiteral("Lauf 2")},
         "A/LOGFILES/Lauf 2.log"},
        // A taken name and "Nein".
        {"A/parameter/Alpha.rzp", ContentKind::Recipes, {QStringLiteral("x_y"), QStringLiteral("2")}, nullptr},
        {"A/parameter/Alpha.rzp", ContentKind::Recipes, {QStringLiteral("Standard neu")}, "A/parameter/Standard neu.rzp"},
    };
    for (const Case& k : cases) {
        tc.answer(k.answers);
        const QByteArray before = read(k.from);
        EXPECT_EQ(c.renameDetail({dir("A"), k.kind, file(k.from)}), k.expected != nullptr) << k.from;
        if (k.expected) EXPECT_EQ(read(k.expected), before) << k.expected;
        else EXPECT_EQ(read(k.from), before);
    }
    EXPECT_FALSE(QFileInfo::exists(file("x.rzp")));
    EXPECT_TRUE(tc.transcript().join(QLatin1Char('\n')).contains(QStringLiteral("Dieser Name ist nicht zulässig: ../x")));
    EXPECT_TRUE(read("A/SETTINGS.INI").contains("REZEPT=Standard neu\r\n"));
}

TEST_F(Content, DeletingHistoryFilesLeavesTheirFolderAndTheActiveToolAlone) {
    ToolContentCommands c(*tc.ctx);
    const ContentSelection logs{dir("A"), ContentKind::LogFiles, {}};
    tc.answer({QStringLiteral("2")});
    EXPECT_FALSE(c.deleteDetail(logs, true));
    EXPECT_EQ(notice(), QStringLiteral("Von aktiven Werkzeug darf nichts gelöscht werden!"));
    tc.answer({QStringLiteral("2")});
    EXPECT_FALSE(c.deleteDetail(std::nullopt, false));
    EXPECT_EQ(notice(), QStringLiteral("Es wurde nichts zum Löschen ausgewählt!"));
    tc.answer({QStringLiteral("1")});
    ASSERT_TRUE(c.deleteDetail(logs, false));
    EXPECT_EQ(notice(), QStringLiteral("Soll die Logdateien wirklich gelöscht werden ?"));
    EXPECT_EQ(QDir(dir("A") + QStringLiteral("/LOGFILES")).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("STOER.MDB"), QStringLiteral("run1.log")}));
    tc.answer({QStringLiteral("1")});
    ASSERT_TRUE(c.deleteDetail(ContentSelection{dir("A"), ContentKind::Recipes, file("A/parameter/Alpha.rzp")}, false));
    EXPECT_EQ(notice(), QStringLiteral("Soll das Rezept 'Alpha.rzp' wirklich gelöscht werden ?"));
    EXPECT_FALSE(QFileInfo::exists(file("A/parameter/Alpha.rzp")));
}

}  // namespace
