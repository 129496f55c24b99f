// The scripted operator of unattended runs: the transcript lines and the end
// of the run when the script has no answer.
#include "base/lifecycle.h"
#include "support/scripted_operator.h"

#include <gtest/gtest.h>

using namespace zev;

namespace {

struct Scripted {
    explicit Scripted(QStringList answers) : op(std::move(answers), stream, life) {}
    QStringList lines() const { return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    QString text;
    QTextStream stream{&text};
    ExitRequest life;
    ScriptedOperator op;
};

struct NoActions : ErrorReportActions {
    void printProtocol() override {}
    void storeProtocol() override {}
};

TEST(ScriptedOperator, EveryInteractionIsOneLine) {
    Scripted s({QStringLiteral("2"), QStringLiteral("Düse 7"), QStringLiteral("+5"), QStringLiteral("CANCEL"),
                QStringLiteral("AZ7.DRV"), QStringLiteral("1")});
    EXPECT_EQ(s.op.notice(QStringLiteral("Zeile 1\r\nZeile 2"), QStringLiteral("A"), QStringLiteral("B"), QString(), 2), 2);
    EXPECT_EQ(s.op.enterText(QStringLiteral("Name"), QString()).value_or(QString()), QStringLiteral("Düse 7"));
    const NumberEntry n = s.op.enterNumber(QStringLiteral("Sollwert"), 0, 700, 200, true);
    EXPECT_EQ(n.result, 2);
    EXPECT_EQ(n.value, 5);
    EXPECT_FALSE(s.op.enterPassword(QStringLiteral("Passwort")).has_value());
    EXPECT_EQ(s.op.choose(QStringLiteral("Treiberauswahl"), {QStringLiteral("AZ7.DRV")}).value_or(QString()),
              QStringLiteral("AZ7.DRV"));
    NoActions actions;
    ErrorReport report{QString(), QStringLiteral("75 (x)"), QStringLiteral("main_form"), QStringLiteral("Form_Load"), 12};
    EXPECT_EQ(s.op.errorChoice(report, actions), 1);
    const QStringList l = s.lines();
    ASSERT_EQ(l.size(), 6);
    EXPECT_EQ(l[0], QStringLiteral("NOTICE Zeile 1\\nZeile 2 | A | B |  -> 2"));
    EXPECT_EQ(l[1], QStringLiteral("INPUT Name -> Düse 7"));
    EXPECT_EQ(l[3], QStringLiteral("INPUT Passwort -> CANCEL"));
    EXPECT_EQ(l[5], QStringLiteral("ERROR main_form.Form_Load line 12: 75 (x) -> 1"));
    EXPECT_FALSE(s.life.exitRequested());
}

TEST(ScriptedOperator, NoAnswerEndsTheRunWithStatusThree) {
    Scripted s({});
    s.op.notice(QStringLiteral("Frage"), QStringLiteral("Ja"), QString(), QStringLiteral("Nein"), 2);
    EXPECT_EQ(s.lines(), QStringList({QStringLiteral("UNANSWERED NOTICE Frage | Ja |  | Nein")}));
    EXPECT_TRUE(s.life.exitRequested());
    EXPECT_EQ(s.life.exitCode(), kExitUnanswered);
    // Further interactions while leaving are not printed again.
    s.op.enterText(QStringLiteral("Name"), QString());
    EXPECT_EQ(s.lines().size(), 1);
}

TEST(ScriptedOperator, AButtonThatIsNotShownIsNotAnAnswer) {
    Scripted s({QStringLiteral("1")});
    s.op.notice(QStringLiteral("Hinweis"), QString(), QStringLiteral("OK"), QString(), 1);
    EXPECT_TRUE(s.life.exitRequested());
    EXPECT_TRUE(s.lines().last().startsWith(QStringLiteral("UNANSWERED Hinweis")));
}

}  // namespace
