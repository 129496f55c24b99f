// The error protocol and guarded procedures: what is written to ZEV3.ERR, and
// that each of the four choices is really carried out.
#include "test_context.h"

#include "support/procedure.h"
#include "support/zev_error.h"

#include <gtest/gtest.h>
#include <functional>
#include <new>
#include <stdexcept>

using namespace zev;
using zev::test::TestContext;

namespace {

class ErrorProtocolTest : public ::testing::Test {
protected:
    TestContext tc;
    ErrorProtocol& errors() { return *tc.errors; }
    QString logText() { return QString::fromLatin1(tc.home.read(QStringLiteral("ZEV3.ERR"))); }
    int logCount() { return static_cast<int>(logText().count(QStringLiteral("F E H L E R P R O T O K O L L"))); }
};

TEST_F(ErrorProtocolTest, ProtocolTextHasTheFixedLayoutAndIsAppended) {
    tc.clock.set(QDateTime(QDate(2026, 3, 2), QTime(14, 5, 9)));
    errors().SetProgInfo(QStringLiteral("ZEV CONTROL 3, Version 3.2.1"));
    errors().CallStack(QStringLiteral("IdentifyZEV"));
    tc.answer({QStringLiteral("2")});
    errors().OnError(QStringLiteral("main_form"), QStringLiteral("Form_Load"), 75, QStringLiteral("disk full"), 0);
    const QStringList lines = logText().split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 16);
    EXPECT_EQ(lines[0], QString(70, QLatin1Char('-')));
    EXPECT_EQ(lines[1], QStringLiteral("          F E H L E R P R O T O K O L L"));
    EXPECT_EQ(lines[2], QStringLiteral("PROGRAMM-INFOS:"));
    EXPECT_EQ(lines[3], QStringLiteral("ZEV CONTROL 3, Version 3.2.1"));
    EXPECT_EQ(lines[4], QStringLiteral("FEHLERBESCHREIBUNG:"));
    EXPECT_EQ(lines[5], QStringLiteral("Fehler-Nr:\t75 (disk full)"));
    EXPECT_EQ(lines[6], QStringLiteral("Modul:\tmain_form"));
    EXPECT_EQ(lines[7], QStringLiteral("Prozedur:\tForm_Load"));
    EXPECT_EQ(lines[8], QStringLiteral("Zeilen-Nr.:\t0"));
    EXPECT_EQ(lines[9], QStringLiteral("Datum/Uhrzeit:\t02.03.2026 / 14:05:09"));
    EXPECT_EQ(lines[10], QStringLiteral("AUFRUFLISTE:"));
    EXPECT_EQ(lines[11], QStringLiteral("IdentifyZEV 14:05:09"));
    EXPECT_EQ(lines[12], QStringLiteral("SYSTEMINFO:"));
    EXPECT_TRUE(lines[13].startsWith(QStringLiteral("Plattform:\t")));
    // A second failure is appended, the first stays.
    tc.answer({QStringLiteral("1")});
    errors().OnError(QStringLiteral("frmConfig"), QStringLiteral("cmdDeleteErrLog_Click"), 5, QStringLiteral("x"), 3);
    EXPECT_EQ(logCount(), 2);
    EXPECT_TRUE(tc.transcript().last().startsWith(QStringLiteral("ERROR frmConfig.cmdDeleteErrLog_Click line 3: 5 (x) -> 1")));
}

TEST_F(ErrorProtocolTest, RepeatRunsTheFailingStepAgainAndLogsEveryOccurrence) {
    tc.answer({QStringLiteral("0"), QStringLiteral("0")});
    int attempts = 0;
    bool after = false;
    Procedure p(errors(), QStringLiteral("m"), QStringLiteral("p"));
    p.step([&] {
        if (++attempts < 3) throw ZevError(ErrNo::FileIo, QStringLiteral("busy"));
    });
    p.step([&] { after = true; });
    EXPECT_EQ(attempts, 3);
    EXPECT_TRUE(after);
    EXPECT_EQ(logCount(), 2);
}

TEST_F(ErrorProtocolTest, ContinueGoesOnWithTheNextStep) {
    tc.answer({QStringLiteral("1")});
    QStringList ran;
    Procedure p(errors(), QStringLiteral("m"), QStringLiteral("p"));
    p.step([&] { ran << "a"; throw std::runtime_error("boom"); ran << "never"; });
    p.step([&] { ran << "b"; });
    EXPECT_EQ(ran, QStringList({"a", "b"}));
    EXPECT_FALSE(p.left());
}

TEST_F(ErrorProtocolTest, LeaveSkipsTheRestOfTheProcedure) {
    tc.answer({QStringLiteral("2")});
    QStringList ran;
    Procedure p(errors(), QStringLiteral("m"), QStringLiteral("p"));
    EXPECT_FALSE(p.step([&] { throw std::out_of_range("index"); }));
    p.step([&] { ran << "b"; });
    EXPECT_TRUE(ran.isEmpty());
    EXPECT_TRUE(p.left());
    EXPECT_FALSE(tc.lifecycle.exitRequested());
}

TEST_F(ErrorProtocolTest, EndRequestsTheExitPathAndSkipsTheRest) {
    tc.answer({QStringLiteral("3")});
    bool after = false;
    Procedure p(errors(), QStringLiteral("m"), QStringLiteral("p"));
    p.step([&] { throw ZevError(ErrNo::Internal, QStringLiteral("x")); });
    p.step([&] { after = true; });
    EXPECT_FALSE(after);
    EXPECT_TRUE(tc.lifecycle.exitRequested());
    EXPECT_EQ(tc.lifecycle.exitCode(), kExitAfterFailure);
}

TEST_F(ErrorProtocolTest, LineNumberIsTheLineOfTheFailingStep) {
    tc.answer({QStringLiteral("2")});
    const int line = __LINE__ + 1;
    guarded(errors(), QStringLiteral("m"), QStringLiteral("p"), [] { throw ZevError(1, QStringLiteral("x")); });
    EXPECT_TRUE(logText().contains(QStringLiteral("Zeilen-Nr.:\t%1").arg(line)));
}

TEST_F(ErrorProtocolTest, CallStackKeepsTwentyNewestFirstAndFreezesWhileTheDialogIsShown) {
    for (int i = 1; i <= 21; ++i) errors().CallStack(QStringLiteral("e%1").arg(i));
    ASSERT_EQ(errors().callStack().size(), 20);
    EXPECT_TRUE(errors().callStack().first().startsWith(QStringLiteral("e21 ")));
    EXPECT_TRUE(errors().callStack().last().startsWith(QStringLiteral("e2 ")));
}

// Guarded procedures enter their names, so the protocol shows where a failure
// happened: the failing procedure on top, the one that called it below; a
// timer's many ticks take one line.
TEST_F(ErrorProtocolTest, CallStackShowsTheGuardedProceduresNewestFirst) {
    for (int tick = 0; tick < 30; ++tick) guarded(errors(), QStringLiteral("main_form"), QStringLiteral("TmrDate_Timer"), [] {});
    tc.clock.advance(2);
    tc.answer({QStringLiteral("2")});
    Procedure outer(errors(), QStringLiteral("main_form"), QStringLiteral("Form_Load"));
    outer.step([&] {
        guarded(errors(), QStringLiteral("frmOverview"), QStringLiteral("Form_Load"), [] { throw std::bad_alloc(); });
    });
    const QStringList lines = logText().split(QStringLiteral("\r\n"));
    const qsizetype from = lines.indexOf(QStringLiteral("AUFRUFLISTE:"));
    const qsizetype to = lines.indexOf(QStringLiteral("SYSTEMINFO:"));
    ASSERT_GT(from, 0);
    EXPECT_EQ(lines.mid(from + 1, to - from - 1),
              QStringList({QStringLiteral("frmOverview.Form_Load 08:00:02"), QStringLiteral("main_form.Form_Load 08:00:02"),
                           QStringLiteral("main_form.TmrDate_Timer 08:00:00")}));
}

// The description is the operator's language, the technical detail follows it.
TEST(ErrorDescriptions, InTheOperatorsLanguageFollowedByTheDetail) {
    struct Case {
        int language;
        std::function<void()> fail;
        const char* line;
    };
    const Case cases[] = {
        {1, [] { throw std::bad_alloc(); }, "Fehler-Nr:\t7 (Nicht genügend Speicher: std::bad_alloc)"},
        {1, [] { throw ZevError(ErrNo::Database, QStringLiteral("disk I/O error (STOER.MDB)")); },
         "Fehler-Nr:\t3146 (Fehler der Alarmdatenbank: disk I/O error (STOER.MDB))"},
        {1, [] { throw 42; }, "Fehler-Nr:\t51 (Interner Programmfehler)"},
        {2, [] { throw std::out_of_range("index 300"); }, "Fault No.:\t9 (Subscript out of range: index 300)"},
        {2, [] { throw ZevError(ErrNo::FileIo, QStringLiteral("/opt/zev/x.ini")); },
         "Fault No.:\t75 (File access error: /opt/zev/x.ini)"},
        {2, [] { throw ZevError(12345, QString()); }, "Fault No.:\t12345 (Internal program error)"},
    };
    for (const Case& c : cases) {
        TestContext tc(c.language);
        tc.answer({QStringLiteral("2")});
        guarded(*tc.errors, QStringLiteral("m"), QStringLiteral("p"), c.fail);
        const QString log = QString::fromLatin1(tc.home.read(QStringLiteral("ZEV3.ERR")));
        EXPECT_TRUE(log.contains(QString::fromUtf8(c.line) + QStringLiteral("\r\n"))) << c.line << "\n" << log.toStdString();
    }
}

TEST(ErrorProtocolPrint, WordsAreNeverSplitAndContinuationLinesAreIndented) {
    const QString longWord(200, QLatin1Char('x'));
    QStringList out = ErrorProtocol::wrapForPrint(longWord);
    ASSERT_EQ(out.size(), 1);  // one line: the word does not fit, so it starts the indented line
    EXPECT_EQ(out[0], QString(20, QLatin1Char(' ')) + longWord + QLatin1Char(' '));

    QStringList words;
    for (int i = 0; i < 20; ++i) words << QStringLiteral("word%1").arg(i, 2, 10, QLatin1Char('0'));
    out = ErrorProtocol::wrapForPrint(words.join(QLatin1Char(' ')) + QStringLiteral("\r\nnext"));
    ASSERT_EQ(out.size(), 3);
    EXPECT_LE(out[0].size(), 73);  // 10 words of 7 characters fit in 73 columns
    EXPECT_TRUE(out[0].startsWith(QStringLiteral("word00 ")));
    EXPECT_TRUE(out[1].startsWith(QString(20, QLatin1Char(' ')) + QStringLiteral("word10 ")));
    EXPECT_EQ(out[2], QStringLiteral("next "));
}

TEST_F(ErrorProtocolTest, StoringKeepsTheErrorLogAndAsksBeforeOverwriting) {
    tc.answer({QStringLiteral("2")});
    errors().OnError(QStringLiteral("m"), QStringLiteral("p"), 1, QStringLiteral("x"), 0);
    const QByteArray before = tc.home.read(QStringLiteral("ZEV3.ERR"));
    tc.answer({QStringLiteral("2")});  // "OK" of the stored notice
    errors().storeProtocol();
    EXPECT_EQ(tc.home.read(QStringLiteral("ZEV3.ERR")), before);
    const QString stored = QStringLiteral("ZEV3_20260302_080000.ERR");
    ASSERT_TRUE(tc.home.exists(stored));
    EXPECT_EQ(tc.home.read(stored), errors().protocol().toLatin1());  // the protocol is plain ASCII here
    // Storing again in the same second: answered "Nein", the file stays.
    tc.home.write(stored, "older");
    tc.answer({QStringLiteral("3")});
    errors().storeProtocol();
    EXPECT_EQ(tc.home.read(stored), QByteArray("older"));
}

TEST_F(ErrorProtocolTest, ReadAndDeleteTheErrorLog) {
    EXPECT_EQ(errors().ReadErrorFile(), tc.texts->operator()(302));
    tc.home.write(QStringLiteral("ZEV3.ERR"), "line 1\r\nline 2\r\n");
    EXPECT_EQ(errors().ReadErrorFile(), QStringLiteral("line 1\r\nline 2"));
    EXPECT_TRUE(errors().deleteErrorLog());
    EXPECT_FALSE(tc.home.exists(QStringLiteral("ZEV3.ERR")));
}

// What goes to the printer is the protocol in the print layout, one fixed-pitch
// block without an extra heading, with page numbers.
TEST_F(ErrorProtocolTest, PrintedReportIsTheWrappedProtocol) {
    tc.clock.set(QDateTime(QDate(2026, 3, 2), QTime(14, 5, 9)));
    QStringList words;
    for (int i = 1; i <= 12; ++i) words << QStringLiteral("step%1").arg(i, 2, 10, QLatin1Char('0'));
    errors().CallStack(words.join(QLatin1Char(' ')));
    tc.answer({QStringLiteral("2"), QStringLiteral("2")});
    errors().OnError(QStringLiteral("main_form"), QStringLiteral("Form_Load"), 75, QStringLiteral("disk full"), 0);
    tc.printer.pdf = tc.home.file(QStringLiteral("PRINT/F.pdf"));
    errors().printProtocol();

    ASSERT_EQ(tc.printer.jobs.size(), 1);
    const Report& job = tc.printer.jobs[0];
    EXPECT_EQ(job.title, QStringLiteral("F E H L E R P R O T O K O L L"));
    EXPECT_FALSE(job.printTitle);
    EXPECT_TRUE(job.pageNumbers);
    EXPECT_EQ(job.pageLabel, QStringLiteral("Seite "));
    ASSERT_EQ(job.blocks.size(), 1u);
    const auto* block = std::get_if<ReportLines>(&job.blocks[0]);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(block->fixedPitch);
    const QStringList& lines = block->lines;
    ASSERT_GE(lines.size(), 14);
    EXPECT_EQ(lines[1], QStringLiteral("          F E H L E R P R O T O K O L L "));
    EXPECT_EQ(lines[5], QStringLiteral("Fehler-Nr:\t75 (disk full) "));
    // The call-stack entry: ten words of 7 columns fill 70, the eleventh passes 73.
    EXPECT_EQ(lines[11], QStringLiteral("step01 step02 step03 step04 step05 step06 step07 step08 step09 step10 "));
    EXPECT_EQ(lines[12], QString(20, QLatin1Char(' ')) + QStringLiteral("step11 step12 14:05:09 "));
    EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("Kein Drucker vorhanden. Der Ausdruck wurde in die Datei geschrieben: ") +
                                         tc.printer.pdf));
}

TEST_F(ErrorProtocolTest, PrintingWithoutPrinterReportsTheFailure) {
    tc.printer.works = false;
    tc.answer({QStringLiteral("2"), QStringLiteral("2")});
    errors().OnError(QStringLiteral("m"), QStringLiteral("p"), 1, QStringLiteral("x"), 0);
    errors().printProtocol();
    ASSERT_EQ(tc.printer.jobs.size(), 1);
    EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("no paper")));
}

}  // namespace
