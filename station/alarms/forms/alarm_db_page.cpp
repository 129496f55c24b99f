#include "alarms/forms/alarm_db_page.h"

#include "alarms/alarm_log.h"
#include "base/app_context.h"
#include "widgets/touch_style.h"
#include "support/procedure.h"
#include "support/texts.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zev {

AlarmDbPage::AlarmDbPage(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("configPageAlarmDb"));
    auto* layout = new QVBoxLayout(this);
    size_ = new QLabel(this);
    size_->setObjectName(QStringLiteral("lblDBSize"));
    date_ = new QLabel(this);
    date_->setObjectName(QStringLiteral("lblDBDate"));
    for (QLabel* l : {size_, date_}) {
        l->setFont(touch::messageFont());
        layout->addWidget(l);
    }
    command_ = new QPushButton(ctx.texts(529), this);
    command_->setObjectName(QStringLiteral("cmdDBCompact"));
    touch::makeTouchButton(command_);
    connect(command_, &QPushButton::clicked, this, &AlarmDbPage::cmdDBCompact_Click);
    layout->addWidget(command_, 0, Qt::AlignLeft);
    layout->addStretch(1);
    showInfo();
}

void AlarmDbPage::showInfo() {
    // Without a loaded alarm log the fields say so, as they do without a file.
    const AlarmDbInfo info = ctx_.alarmLog ? ctx_.alarmLog->info() : AlarmDbInfo{QStringLiteral("??? KB"), QStringLiteral("??.??.??")};
    size_->setText(ctx_.texts(530) + info.size);
    date_->setText(ctx_.texts(531) + info.compacted);
}

void AlarmDbPage::compact(double days, const QString& procedure) {
    guarded(ctx_.errors, QStringLiteral("frmConfig"), procedure, [&] {
        if (!ctx_.alarmLog) return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct Restore {
            ~Restore() { QApplication::restoreOverrideCursor(); }
        } restore;
        ctx_.alarmLog->DBCompact(days);
    });
    showInfo();
}

void AlarmDbPage::cmdDBCompact_Click() { compact(0, QStringLiteral("cmdDBCompact_Click")); }

void AlarmDbPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    compact(1, QStringLiteral("RefreshTabs"));
}

}  // namespace zev
