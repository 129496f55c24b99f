#include "link/forms/bus_statistics_panel.h"

#include "link/bus_link.h"
#include "base/app_context.h"
#include "base/profile_codepage.h"
#include "widgets/touch_style.h"
#include "support/procedure.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "plant/zone_table.h"
#include "link/link_session.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace zev {

namespace {
const QString kModule = QStringLiteral("frmConfig");
constexpr int kStatisticMs = 600;
}  // namespace

QString errorShareText(long good, long errors, int language) {
    if (errors == 0) return QStringLiteral("-");
    const double share = static_cast<double>(errors) / static_cast<double>(good + errors);
    if (share >= 1.0) return QStringLiteral("100 %");
    const QLocale locale(language == 1 ? QLocale::German : QLocale::English);
    return locale.toString(share * 100.0, 'f', 2) + QStringLiteral(" %");
}

QString replyText(const QByteArray& reply, int status) {
    if (status != 0) return QStringLiteral("?");
    if (reply.size() >= 4 && reply[3] == '=') {
        const qsizetype etx = reply.indexOf('\x03');
        return QString::fromLatin1(etx < 0 ? reply : reply.left(etx)) + QStringLiteral("{ETX}");
    }
    if (reply.size() >= 4 && reply[3] == '\x06') return QString::fromLatin1(reply.left(3)) + QStringLiteral("{ACK}");
    if (reply.size() >= 4 && reply[3] == '\x15') return QString::fromLatin1(reply.left(3)) + QStringLiteral("{NAK}");
    // Anything else is shown with its control characters as codes.
    QString out;
    for (char c : reply) {
        const auto u = static_cast<unsigned char>(c);
        out += u < 0x20 ? QStringLiteral("{%1}").arg(u, 2, 16, QLatin1Char('0')) : QString(QLatin1Char(c));
    }
    return out;
}

BusStatisticsPanel::BusStatisticsPanel(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("busStatistics"));
    auto* layout = new QVBoxLayout(this);
    auto* statistics = new QGroupBox(ctx.texts(526), this);
    auto* statLayout = new QVBoxLayout(statistics);
    table_ = new QTableWidget(0, 4, statistics);
    table_->setObjectName(QStringLiteral("gridBusStatistic"));
    table_->setHorizontalHeaderLabels({ctx.texts(272), ctx.texts(273), ctx.texts(274), ctx.texts(275)});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    statLayout->addWidget(table_);
    auto* reset = new QPushButton(ctx.texts(276), statistics);
    reset->setObjectName(QStringLiteral("cmdResetStat"));
    touch::makeTouchButton(reset);
    statLayout->addWidget(reset, 0, Qt::AlignLeft);
    layout->addWidget(statistics, 1);
    connect(reset, &QPushButton::clicked, this, &BusStatisticsPanel::cmdResetStat_Click);

    terminal_ = new QGroupBox(ctx.texts(527), this);
    auto* termLayout = new QHBoxLayout(terminal_);
    command_ = new QLineEdit(terminal_);
    command_->setObjectName(QStringLiteral("txtUserCmd"));
    command_->setMinimumHeight(touch::kButtonHeight);
    command_->setFont(touch::messageFont());
    auto* send = new QPushButton(ctx.texts(277), terminal_);
    touch::makeTouchButton(send);
    reply_ = new QLabel(terminal_);
    reply_->setObjectName(QStringLiteral("lblUserCmdReply"));
    reply_->setFont(touch::messageFont());
    reply_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    termLayout->addWidget(command_, 2);
    termLayout->addWidget(send);
    termLayout->addWidget(reply_, 2);
    layout->addWidget(terminal_);
    connect(send, &QPushButton::clicked, this, &BusStatisticsPanel::doSendUserCmd);
    connect(command_, &QLineEdit::returnPressed, this, &BusStatisticsPanel::doSendUserCmd);
    connect(&ctx.users, &UserLevels::levelChanged, this, &BusStatisticsPanel::showTerminalFor);
    showTerminalFor(ctx.users.UserLevel());

    timer_ = new QTimer(this);
    timer_->setInterval(kStatisticMs);
    connect(timer_, &QTimer::timeout, this, &BusStatisticsPanel::timBusStatistic_Timer);
}

void BusStatisticsPanel::showEvent(QShowEvent* event) {
    timBusStatistic_Timer();
    timer_->start();
    QWidget::showEvent(event);
}

void BusStatisticsPanel::hideEvent(QHideEvent* event) {
    timer_->stop();
    QWidget::hideEvent(event);
}

void BusStatisticsPanel::showTerminalFor(int level) { terminal_->setVisible(level >= 4); }

void BusStatisticsPanel::timBusStatistic_Timer() {
    guarded(ctx_.errors, kModule, QStringLiteral("timBusStatistic_Timer"), [&] {
        const int count = ctx_.link->Online() ? ctx_.plant.ControllerCount : 0;
        table_->setRowCount(count);
        const int language = ctx_.texts.language();
        for (int a = 1; a <= count; ++a) {
            std::int32_t good = 0, errors = 0;
            ctx_.bus.GetComStatus(a, &good, &errors);
            const QString cells[4] = {QString::number(a), QString::number(good), QString::number(errors),
                                      errorShareText(good, errors, language)};
            for (int c = 0; c < 4; ++c) {
                QTableWidgetItem* item = table_->item(a - 1, c);
                if (!item) table_->setItem(a - 1, c, item = new QTableWidgetItem);
                if (item->text() != cells[c]) item->setText(cells[c]);
            }
        }
    });
}

void BusStatisticsPanel::cmdResetStat_Click() {
    ctx_.bus.ResComStatus();
    timBusStatistic_Timer();
}

void BusStatisticsPanel::doSendUserCmd() {
    guarded(ctx_.errors, kModule, QStringLiteral("doSendUserCmd"), [&] {
        if (!ctx_.link->Online() || !ctx_.users.CheckLevel(4)) return;
        int status = 1;
        const QByteArray reply = ctx_.bus.AskRaw(profile::toWindows1252(command_->text()), &status);
        reply_->setText(replyText(reply, status));
    });
}

}  // namespace zev
