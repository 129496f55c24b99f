#include "shell/error_log_page.h"

#include "base/app_context.h"
#include "widgets/touch_style.h"
#include "support/error_protocol.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zev {

ErrorLogPage::ErrorLogPage(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("pageErrorLog"));
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("txtErrorLog"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    layout->addWidget(text_, 1);
    auto* del = new QPushButton(ctx.texts(TextNo::DeleteErrorLog), this);
    del->setObjectName(QStringLiteral("cmdDeleteErrLog"));
    touch::makeTouchButton(del);
    layout->addWidget(del, 0, Qt::AlignLeft);
    connect(del, &QPushButton::clicked, this, &ErrorLogPage::cmdDeleteErrLog_Click);
}

void ErrorLogPage::showEvent(QShowEvent* event) {
    ReadErrorFile();
    QWidget::showEvent(event);
}

void ErrorLogPage::ReadErrorFile() { text_->setPlainText(ctx_.errors.ReadErrorFile()); }

void ErrorLogPage::cmdDeleteErrLog_Click() {
    if (!ctx_.users.CheckLevel(4)) return;
    if (!ctx_.errors.deleteErrorLog())
        ctx_.op.notice(ctx_.texts(TextNo::FileWriteFailed) + ctx_.errors.errorFile(), QString(),
                       ctx_.texts(TextNo::Ok), QString(), kNoticePlain);
    ReadErrorFile();
}

}  // namespace zev
