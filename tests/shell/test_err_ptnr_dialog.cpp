// The error dialog as OnError hands it the failure: the program information in
// its own frame and the call stack beside the failure.
#include "test_context.h"

#include "shell/err_ptnr_dialog.h"
#include "support/procedure.h"
#include "support/zev_error.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>
#include <functional>

using namespace zev;
using zev::test::TestContext;

namespace {

TEST(ErrPtnrDialogFrames, ProgramInfoAndCallStackReachTheDialog) {
    TestContext tc;
    // Answers only the error dialog, by building it and reading what it shows.
    struct DialogOperator final : Operator {
        int notice(const QString&, const QString&, const QString&, const QString&, int) override { return 1; }
        std::optional<QString> enterText(const QString&, const QString&) override { return std::nullopt; }
        std::optional<QString> enterPassword(const QString&) override { return std::nullopt; }
        NumberEntry enterNumber(const QString&, int, int, int, bool) override { return {}; }
        std::optional<QString> choose(const QString&, const QStringList&) override { return std::nullopt; }
        std::optional<QString> chooseFiltered(const QString&, const QString&, const QStringList&,
                                              const std::function<QStringList(int)>&, int) override {
            return std::nullopt;
        }
        std::optional<std::uint32_t> chooseColour(const QString&, std::uint32_t) override { return std::nullopt; }
        int errorChoice(const ErrorReport& report, ErrorReportActions& actions) override {
            ErrPtnrDialog dialog(*texts, report, actions);
            const auto* info = dialog.findChild<QGroupBox*>(QStringLiteral("fraProgInfo"));
            if (info) {
                infoTitle = info->title();
                for (const QLabel* l : info->findChildren<QLabel*>()) infoText += l->text();
            }
            if (const auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lstCallStack")))
                for (int i = 0; i < list->count(); ++i) stack << list->item(i)->text();
            return kLeave;
        }
        Texts* texts = nullptr;
        QString infoTitle, infoText;
        QStringList stack;
    };
    DialogOperator op;
    op.texts = tc.texts.get();
    ErrorProtocol errors(*tc.texts, op, tc.clock, tc.lifecycle, tc.printer, tc.home.path());
    errors.SetProgInfo(QStringLiteral("ZEV CONTROL 3, Version 3.2.37"));
    guarded(errors, QStringLiteral("frmAlarm"), QStringLiteral("cmdReset_Click"), [] { throw ZevError(ErrNo::Database, QString()); });
    EXPECT_EQ(op.infoTitle, QStringLiteral("Programm-Infos:"));
    EXPECT_EQ(op.infoText, QStringLiteral("ZEV CONTROL 3, Version 3.2.37"));
    EXPECT_EQ(op.stack, QStringList{QStringLiteral("frmAlarm.cmdReset_Click 08:00:00")});
}

}  // namespace
