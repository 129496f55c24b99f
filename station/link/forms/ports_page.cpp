#include "link/forms/ports_page.h"
#include "support/notices.h"

#include "link/bus_link.h"
#include "link/link_session.h"
#include "link/ports.h"
#include "base/app_context.h"
#include "base/ini_values.h"
#include "plant/zone_table.h"
#include "widgets/touch_style.h"
#include "support/operator.h"
#include "support/procedure.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zev {

namespace {
const QString kModule = QStringLiteral("frmComPorts");
constexpr long kBauds[] = {9600, 19200, 38400};
constexpr int kPortCount = 18;
constexpr int kMasterTab = 0;
constexpr int kSlaveTab = 1;
// Failure texts by transfer-mode entry (converter, Bluetooth, kernel driver).
constexpr int kFailureTexts[3] = {1523, 1522, 1521};

void touchCombo(QComboBox* box) {
    box->setMinimumHeight(touch::kButtonHeight);
    box->setMinimumWidth(220);
    box->setFont(touch::messageFont());
}

}  // namespace

int PortsPage::portOfEntry(const QString& entry) {
    if (!entry.startsWith(QLatin1String("COM"))) return 0;
    return boundedInt(entry.section(QLatin1Char(' '), 1, 1), 0, kPortCount);
}

PortsPage::PortsPage(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmComPorts"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->addTab(buildPortTab(kMasterTab), ctx.texts(241));
    tabs_->addTab(buildPortTab(kSlaveTab), ctx.texts(242));
    layout->addWidget(tabs_);

    auto* commands = new QHBoxLayout;
    auto* apply = new QPushButton(ctx.texts(267), this);
    apply->setObjectName(QStringLiteral("cmdSetPortSettings"));
    online_ = new QPushButton(this);
    online_->setObjectName(QStringLiteral("cmdOnlineMode"));
    auto* offline = new QPushButton(ctx.texts(266), this);
    offline->setObjectName(QStringLiteral("cmdOfflineMode"));
    for (QPushButton* b : {apply, online_, offline}) {
        touch::makeTouchButton(b);
        commands->addWidget(b);
    }
    modeLabel_ = new QLabel(this);
    modeLabel_->setObjectName(QStringLiteral("lblMode"));
    modeLabel_->setFont(touch::captionFont());
    commands->addWidget(modeLabel_, 1);
    layout->addLayout(commands);
    connect(apply, &QPushButton::clicked, this, &PortsPage::cmdSetPortSettings_Click);
    connect(online_, &QPushButton::clicked, this, &PortsPage::cmdOnlineMode_Click);
    connect(offline, &QPushButton::clicked, this, &PortsPage::cmdOfflineMode_Click);

    SearchPorts();
    RefreshPortSettings();
    showMode();
}

QWidget* PortsPage::buildPortTab(int tab) {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    ports_[tab] = new QComboBox(page);
    modes_[tab] = new QComboBox(page);
    bauds_[tab] = new QComboBox(page);
    for (QComboBox* b : {ports_[tab], modes_[tab], bauds_[tab]}) touchCombo(b);
    modes_[tab]->addItems({ctx_.texts(243), ctx_.texts(244), ctx_.texts(245)});
    for (long baud : kBauds) bauds_[tab]->addItem(QString::number(baud));
    form->addRow(ctx_.texts(268), ports_[tab]);
    form->addRow(ctx_.texts(270), modes_[tab]);
    form->addRow(ctx_.texts(269), bauds_[tab]);
    if (tab == kSlaveTab) {
        firstAddress_ = new QComboBox(page);
        touchCombo(firstAddress_);
        for (int a = 1; a <= kMaxAddress; ++a) firstAddress_->addItem(QString::number(a));
        form->addRow(ctx_.texts(271), firstAddress_);
    }
    return page;
}

void PortsPage::showEvent(QShowEvent* event) {
    showMode();
    QWidget::showEvent(event);
}

void PortsPage::SearchPorts() {
    guarded(ctx_.errors, kModule, QStringLiteral("SearchPorts"), [&] {
        const PortChoice stored[2] = {masterFromSettings(ctx_), slaveFromSettings(ctx_)};
        QStringList entries{ctx_.texts(247)};
        bool available[kPortCount + 1] = {};
        for (int n = 1; n <= kPortCount; ++n) {
            available[n] = ctx_.bus.ComPortAvailable(n);
            if (available[n]) entries << QStringLiteral("COM %1").arg(n);
        }
        for (int tab : {kMasterTab, kSlaveTab}) {
            QComboBox* list = ports_[tab];
            const int wanted = list->count() > 0 ? portOfEntry(list->currentText()) : stored[tab].port;
            list->clear();
            list->addItems(entries);
            if (wanted >= 1 && wanted <= kPortCount && !available[wanted])
                list->addItem(QStringLiteral("COM %1").arg(wanted) + ctx_.texts(248));
            for (int i = 0; i < list->count(); ++i)
                if (portOfEntry(list->itemText(i)) == wanted) list->setCurrentIndex(i);
        }
    });
}

void PortsPage::RefreshPortSettings() {
    const PortChoice stored[2] = {masterFromSettings(ctx_), slaveFromSettings(ctx_)};
    for (int tab : {kMasterTab, kSlaveTab}) {
        for (int i = 0; i < ports_[tab]->count(); ++i)
            if (portOfEntry(ports_[tab]->itemText(i)) == stored[tab].port) ports_[tab]->setCurrentIndex(i);
        modes_[tab]->setCurrentIndex(transferModeEntry(stored[tab].mode));
        const int baud = bauds_[tab]->findText(QString::number(stored[tab].baud));
        if (baud >= 0) bauds_[tab]->setCurrentIndex(baud);
    }
    firstAddress_->setCurrentIndex(std::clamp(stored[kSlaveTab].firstAddress, 1, kMaxAddress) - 1);
}

PortChoice PortsPage::selection(int tab) const {
    PortChoice c;
    c.port = portOfEntry(ports_[tab]->currentText());
    c.mode = kTransferModes[std::clamp(modes_[tab]->currentIndex(), 0, 2)];
    c.baud = bauds_[tab]->currentText().toLong();
    c.firstAddress = firstAddress_->currentIndex() + 1;
    return c;
}

void PortsPage::showMode() {
    const bool on = ctx_.link->Online();
    modeLabel_->setText(ctx_.texts(on ? 260 : 263));
    online_->setText(ctx_.texts(on ? 261 : 264));
    online_->setToolTip(ctx_.texts(on ? 262 : 265));
}

void PortsPage::cmdSetPortSettings_Click() {
    guarded(ctx_.errors, kModule, QStringLiteral("cmdSetPortSettings_Click"), [&] {
        const int tab = tabs_->currentIndex();
        const PortChoice chosen = selection(tab);
        if (chosen.port == 0) {
            tellOperator(ctx_.op, ctx_.texts, ctx_.texts(249));
            return;
        }
        if (tab == kSlaveTab) {
            const bool open = InitSlavePort(ctx_, chosen);
            if (open) SavePortSettings(ctx_, selection(kMasterTab), chosen);
            tellOperator(ctx_.op, ctx_.texts, ctx_.texts(open ? 251 : 252));
            return;
        }
        if (!ctx_.link->openMasterPort(chosen)) {
            ctx_.link->goOffline();
            tellOperator(ctx_.op, ctx_.texts, ctx_.texts(kFailureTexts[std::clamp(modes_[kMasterTab]->currentIndex(), 0, 2)]) +
                             QStringLiteral("\r\n") + ctx_.texts(1524));
            showMode();
            return;
        }
        SavePortSettings(ctx_, chosen, selection(kSlaveTab));
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(250));
        ctx_.link->requestRestart(true);
    });
}

void PortsPage::cmdOnlineMode_Click() {
    guarded(ctx_.errors, kModule, QStringLiteral("cmdOnlineMode_Click"), [&] {
        if (ctx_.link->Online() &&
            ctx_.op.notice(ctx_.texts(253), ctx_.texts(254), ctx_.texts(255), QString(), kNoticeQuestion) != 1)
            return;
        if (!ctx_.users.CheckLevel(1)) return;
        // Online the port is open already.
        if (!ctx_.link->Online() && !ctx_.link->openMasterPort(selection(kMasterTab))) {
            tellOperator(ctx_.op, ctx_.texts, ctx_.texts(256));
            return;
        }
        ctx_.link->requestRestart(true);
    });
}

void PortsPage::cmdOfflineMode_Click() {
    guarded(ctx_.errors, kModule, QStringLiteral("cmdOfflineMode_Click"), [&] {
        if (ctx_.link->Online() &&
            ctx_.op.notice(ctx_.texts(257), ctx_.texts(258), ctx_.texts(259), QString(), kNoticeQuestion) != 1)
            return;
        if (!ctx_.users.CheckLevel(1)) return;
        ctx_.link->requestRestart(false);
    });
}

}  // namespace zev
