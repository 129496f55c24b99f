// Protocol files byte for byte: the text with its kind digits, the comment
// block appended, a shorter comment cutting the file, damaged and foreign
// files refused unchanged; the name rules; saving, printing and the summary.
#include "test_context.h"

#include "diagnosis/protocol_commands.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const QList<ProtocolLine> kLines{{QStringLiteral("08:00:00\tDiagnosestart."), LineKind::Information},
                                 {QStringLiteral("08:00:09\tDüse 3 hat Fühlerbruch"), LineKind::Fault},
                                 {QStringLiteral("08:01:00\tNOTAUS!"), LineKind::Abort}};
// The same lines as stored: Windows-1252, kind digit, CR LF.
const QByteArray kText("08:00:00\tDiagnosestart.0\r\n08:00:09\tD\xFCse 3 hat F\xFChlerbruch" "2\r\n08:01:00\tNOTAUS!3\r\n");

QByteArray le(quint32 v) {
    return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF) + char((v >> 16) & 0xFF) + char(v >> 24);
}

class ProtocolFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        tc.tool.LogFileDir = tc.home.file(QStringLiteral("TOOLS/T/LOGFILES/"));
        tc.tool.ToolName = QStringLiteral("T");
        QDir().mkpath(tc.tool.LogFileDir);
    }
    QString file(const QString& n) const { return tc.tool.LogFileDir + n; }
    TestContext tc;
    ProtocolCommands commands{*tc.ctx};
};

TEST_F(ProtocolFilesTest, TextCommentAndShorterCommentByteForByte) {
    QString error;
    ASSERT_TRUE(commands.files().save(QStringLiteral("Lauf"), kLines, &error)) << error.toStdString();
    EXPECT_EQ(readAll(file("Lauf.log")), le(quint32(kText.size())) + kText);
    const auto read = commands.files().read(QStringLiteral("Lauf.log"), &error);
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->comment.has_value());
    EXPECT_EQ(read->lines.size(), 3);
    EXPECT_EQ(read->lines[1].text, kLines[1].text);
    EXPECT_EQ(read->lines[2].kind, LineKind::Abort);

    tc.answer({QStringLiteral("Öl prüfen\nZone 3")});
    ASSERT_TRUE(commands.editComment(QStringLiteral("Lauf.log")));
    const QByteArray comment("\xD6l pr\xFC" "fen\r\nZone 3");
    EXPECT_EQ(readAll(file("Lauf.log")), le(quint32(kText.size())) + kText + le(quint32(comment.size())) + comment);

    tc.answer({QStringLiteral("ok")});
    ASSERT_TRUE(commands.editComment(QStringLiteral("Lauf.log")));
    EXPECT_EQ(readAll(file("Lauf.log")), le(quint32(kText.size())) + kText + le(2) + "ok");
    EXPECT_EQ(commands.files().read(QStringLiteral("Lauf.log"), &error)->comment, QStringLiteral("ok"));
}

TEST_F(ProtocolFilesTest, DamagedOrForeignFilesAreNamedAndLeftUnchanged) {
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const QList<Case> cases{
        {"huge.log", le(0xFFFFFFF0u) + "abc"},                          // L1 beyond the file
        {"short.log", QByteArray("\x01\x00", 2)},                       // not even L1
        {"comment.log", le(3) + "ab0" + le(0x7FFFFFFFu) + "x"},         // L2 beyond the file
        {"tail.log", le(3) + "ab0" + le(1) + "xy"},                     // bytes after the comment
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeAll(file(c.name), c.bytes);
        tc.answer({QStringLiteral("1"), QStringLiteral("new comment")});
        EXPECT_FALSE(commands.editComment(QString::fromLatin1(c.name)));
        EXPECT_EQ(readAll(file(c.name)), c.bytes);
        EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("kein Diagnoseprotokoll"))) << tc.lastNotice().toStdString();
    }
    // A damaged file still reads as far as it goes.
    QString error;
    const auto huge = commands.files().read(QStringLiteral("huge.log"), &error);
    ASSERT_TRUE(huge);
    EXPECT_TRUE(huge->damaged);
    EXPECT_EQ(huge->lines.size(), 1);
}

TEST_F(ProtocolFilesTest, NameRules) {
    const QList<std::pair<QString, ProtocolNameCheck>> cases{
        {QStringLiteral(""), ProtocolNameCheck::Empty},        {QStringLiteral("  "), ProtocolNameCheck::Empty},
        {QStringLiteral("a:b"), ProtocolNameCheck::BadCharacter}, {QStringLiteral("a\\b"), ProtocolNameCheck::BadCharacter},
        {QStringLiteral("../x"), ProtocolNameCheck::BadCharacter}, {QStringLiteral("wie?"), ProtocolNameCheck::Reserved},
        {QStringLiteral("."), ProtocolNameCheck::Reserved},    {QStringLiteral(".."), ProtocolNameCheck::Reserved},
        {QStringLiteral("Lauf \"3\" 'a'"), ProtocolNameCheck::Ok}, {QStringLiteral("...a"), ProtocolNameCheck::Ok},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(checkProtocolName(name), expected) << name.toStdString();
}

TEST_F(ProtocolFilesTest, SavingAsksAgainAfterABadNameAndBeforeReplacing) {
    writeAll(file("alt.log"), "keep");
    // a colon, empty, an existing name kept ("Nein, Namen ändern"), then a new name
    tc.answer({QStringLiteral("a:b"), QStringLiteral("1"), QString(), QStringLiteral("1"), QStringLiteral("alt"),
               QStringLiteral("2"), QStringLiteral("neu")});
    EXPECT_EQ(commands.save(kLines), QStringLiteral("neu.log"));
    EXPECT_EQ(readAll(file("alt.log")), QByteArray("keep"));
    EXPECT_EQ(readAll(file("neu.log")), le(quint32(kText.size())) + kText);
    const QString t = tc.transcript().join(QLatin1Char('\n'));
    EXPECT_TRUE(t.contains(QStringLiteral("Kein gültiger Name.")));
    EXPECT_TRUE(t.contains(QStringLiteral("Folgenden Zeichen sind im Dateinamen unzulässig")));
    EXPECT_TRUE(t.contains(QStringLiteral("Soll die vorhandene Datei überschrieben werden?")));
    EXPECT_EQ(commands.files().list(), (QStringList{QStringLiteral("alt.log"), QStringLiteral("neu.log")}));
}

TEST_F(ProtocolFilesTest, SummaryLine) {
    const QList<std::tuple<QList<ProtocolLine>, QString, int>> cases{
        {{{QStringLiteral("a"), LineKind::Fault}, {QStringLiteral("b"), LineKind::Passed}}, QStringLiteral("1 Fehler gefunden!"), -1},
        {{{QStringLiteral("a"), LineKind::Fault}, {QStringLiteral("b"), LineKind::Fault}, {QStringLiteral("c"), LineKind::Abort}},
         QStringLiteral("2 Fehler gefunden!"), -1},
        {{{QStringLiteral("a"), LineKind::Abort}}, QStringLiteral("Diagnose unvollständig!"), 0},
        {{{QStringLiteral("a"), LineKind::Passed}, {QStringLiteral("b"), LineKind::Information}}, QStringLiteral("Keine Fehler gefunden."), 1},
    };
    for (const auto& [lines, text, colour] : cases) {
        int c = 5;
        EXPECT_EQ(ProtocolCommands::stateText(*tc.texts, RunningProtocol::GetState(lines), &c), text);
        EXPECT_EQ(c, colour);
    }
}

TEST_F(ProtocolFilesTest, PrintGoesThroughThePrinterAndDeleteAsksFirst) {
    QString error;
    ASSERT_TRUE(commands.files().save(QStringLiteral("Lauf"), kLines, &error));
    tc.printer.pdf = QStringLiteral("/tmp/x.pdf");
    tc.answer({QStringLiteral("1")});
    ASSERT_TRUE(commands.print(QStringLiteral("Lauf.log")));
    ASSERT_EQ(tc.printer.jobs.size(), 1);
    const Report& r = tc.printer.jobs[0];
    EXPECT_EQ(r.title, QStringLiteral("ZEV-Diagnoseprotokoll"));
    EXPECT_EQ(r.headerLines.value(0), QStringLiteral("Werkzeug:   T"));
    EXPECT_EQ(r.headerLines.value(2), QStringLiteral("            1 Fehler gefunden!"));
    const auto& body = std::get<ReportLines>(r.blocks.at(1)).lines;
    EXPECT_EQ(body.value(1), QStringLiteral("[!] 08:00:09    Düse 3 hat Fühlerbruch"));
    EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("/tmp/x.pdf")));

    tc.answer({QStringLiteral("2")});  // "Nein"
    EXPECT_FALSE(commands.remove(QStringLiteral("Lauf.log")));
    EXPECT_TRUE(QFile::exists(file("Lauf.log")));
}

}  // namespace
