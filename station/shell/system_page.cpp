#include "shell/system_page.h"
#include "support/notices.h"

#include "base/app_context.h"
#include "base/lifecycle.h"
#include "shell/main_window.h"
#include "base/platform.h"
#include "widgets/touch_style.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"

#include <QFileInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace zev {

bool runsAsShell(AppContext& ctx) {
    const QString shell = ctx.platform.kioskShell();
    if (shell.isEmpty()) return false;
    const QString self = QFileInfo(ctx.platform.programFile()).canonicalFilePath();
    const QString configured = QFileInfo(shell).canonicalFilePath();
    return !configured.isEmpty() && configured.compare(self, Qt::CaseInsensitive) == 0;
}

void cmdAus_Click(AppContext& ctx) {
    Texts& t = ctx.texts;
    int answer = 0;
    if (!runsAsShell(ctx)) {
        answer = ctx.op.notice(t(311), QString(), t(305), t(306), kNoticeQuestion);
    } else if (ctx.users.UserLevel() == 4) {
        answer = ctx.op.notice(t(329), t(330), t(328), t(331), kNoticeQuestion);
    } else {
        answer = ctx.op.notice(t(304), t(327), QString(), t(347), kNoticeQuestion);
    }
    if (answer == 1) {
        QString error;
        if (!ctx.platform.powerOff(&error)) {
            // The machine stays on: say so instead of ending as if it went off.
            tellOperator(ctx.op, t, t(TextNo::PowerOffFailed) + error, kNoticeAlarm);
            return;
        }
        ctx.lifecycle.requestExit(0);  // the exit path runs after this command
    } else if (answer == 2) {
        ctx.lifecycle.requestExit(0);
    }
}

SystemPage::SystemPage(AppContext& ctx, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pageSystem"));
    auto* layout = new QVBoxLayout(this);
    auto* off = new QPushButton(ctx.texts(TextNo::SwitchOff), this);
    off->setObjectName(QStringLiteral("cmdAus"));
    touch::makeTouchButton(off);
    off->setMinimumSize(260, 80);
    layout->addWidget(off, 0, Qt::AlignLeft | Qt::AlignTop);
    connect(off, &QPushButton::clicked, this, [&ctx] { cmdAus_Click(ctx); });
}

}  // namespace zev
