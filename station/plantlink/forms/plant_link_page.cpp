#include "plantlink/forms/plant_link_page.h"

#include "base/app_context.h"
#include "plantlink/link_status_text.h"
#include "plantlink/payloads.h"
#include "plantlink/plant_publisher.h"
#include "support/operator.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "widgets/touch_style.h"

#include <QTimer>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace zev {

namespace {
constexpr int kLevel = 4;
}

PlantLinkPage::PlantLinkPage(AppContext& ctx, PlantPublisher* publisher, QWidget* parent)
    : QWidget(parent), ctx_(ctx), publisher_(publisher) {
    setObjectName(QStringLiteral("pagePlantLink"));
    entered_ = publisher_ ? publisher_->config() : loadMqttConfig(ctx.settings);
    auto* grid = new QGridLayout(this);
    enabled_ = new QCheckBox(ctx.texts(320), this);
    enabled_->setObjectName(QStringLiteral("chkEnabled"));
    enabled_->setAccessibleName(enabled_->text());
    grid->addWidget(enabled_, 0, 0, 1, 2);
    host_ = field("cmdHost", 321, 1);
    port_ = field("cmdPort", 322, 2);
    station_ = field("cmdStation", 323, 3);
    user_ = field("cmdUser", 333, 4);
    password_ = field("cmdPassword", 334, 5);
    tls_ = new QCheckBox(ctx.texts(335), this);
    tls_->setObjectName(QStringLiteral("chkTls"));
    tls_->setAccessibleName(tls_->text());
    grid->addWidget(tls_, 6, 0);
    caFile_ = new QPushButton(this);
    caFile_->setObjectName(QStringLiteral("cmdCaFile"));
    caFile_->setAccessibleName(tls_->text());
    caFile_->setMinimumHeight(44);
    connect(caFile_, &QPushButton::clicked, this, [this] { edit(caFile_); });
    grid->addWidget(caFile_, 6, 1);
    keepAlive_ = field("cmdKeepAlive", 336, 7);

    auto* apply = new QPushButton(ctx.texts(341), this);
    apply->setObjectName(QStringLiteral("cmdApply"));
    auto* test = new QPushButton(ctx.texts(340), this);
    test->setObjectName(QStringLiteral("cmdTestConnection"));
    for (QPushButton* b : {apply, test}) {
        b->setMinimumHeight(52);
        b->setAccessibleName(b->text());
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(apply, 1);
    buttons->addWidget(test, 1);
    grid->addLayout(buttons, 8, 0, 1, 2);
    state_ = new QLabel(this);
    state_->setObjectName(QStringLiteral("lblState"));
    test_ = new QLabel(this);
    test_->setObjectName(QStringLiteral("lblTest"));
    for (QLabel* l : {state_, test_}) {
        l->setWordWrap(true);
        l->setFont(touch::messageFont());
        l->setMinimumHeight(60);
    }
    grid->addWidget(state_, 9, 0, 1, 2);
    grid->addWidget(test_, 10, 0, 1, 2);
    grid->setRowStretch(11, 1);
    grid->setColumnStretch(1, 1);

    for (QCheckBox* box : {enabled_, tls_})
        connect(box, &QCheckBox::clicked, this, [this, box](bool on) {
            if (!ctx_.users.CheckLevel(kLevel)) {
                box->setChecked(!on);
                return;
            }
            (box == enabled_ ? entered_.enabled : entered_.tls) = on;
        });
    connect(apply, &QPushButton::clicked, this, [this] { this->apply(); });
    connect(test, &QPushButton::clicked, this, [this] { testConnection(); });
    if (publisher_) connect(publisher_, &PlantPublisher::statusChanged, this, &PlantLinkPage::showState);
    countdown_ = new QTimer(this);
    countdown_->setInterval(1000);
    connect(countdown_, &QTimer::timeout, this, [this] {
        if (isVisible()) showState();
    });
    countdown_->start();
    connect(&tester_, &MqttClient::statusChanged, this, [this] {
        const LinkStatus s = tester_.status();
        if (s.state == LinkState::Connected) {
            test_->setText(ctx_.texts(371));
            tester_.stop();
        } else if (s.state == LinkState::Waiting || s.state == LinkState::Connecting) {
            test_->setText(linkStatusText(ctx_.texts, true, ConfigProblem::None, {s.state, s.failure, s.detail, 0}));
        }
    });
    showEntered();
    showState();
}

QPushButton* PlantLinkPage::field(const char* name, int caption, int row) {
    auto* grid = static_cast<QGridLayout*>(layout());
    auto* label = new QLabel(ctx_.texts(caption), this);
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumHeight(44);
    button->setStyleSheet(QStringLiteral("text-align: left; padding-left: 8px;"));
    button->setAccessibleName(label->text());
    label->setBuddy(button);
    connect(button, &QPushButton::clicked, this, [this, button] { edit(button); });
    grid->addWidget(label, row, 0);
    grid->addWidget(button, row, 1);
    return button;
}

void PlantLinkPage::edit(QPushButton* b) {
    if (!ctx_.users.CheckLevel(kLevel)) return;
    const QString prompt = b->accessibleName();
    if (b == port_ || b == keepAlive_) {
        int& value = b == port_ ? entered_.port : entered_.keepAlive;
        const NumberEntry e = b == port_ ? ctx_.op.enterNumber(prompt, 1, 65535, value, false)
                                         : ctx_.op.enterNumber(prompt, 5, 3600, value, false);
        if (e.result == 1) value = e.value;
    } else if (b == password_) {
        if (const auto p = ctx_.op.enterPassword(prompt)) entered_.password = *p;
    } else {
        QString& value = b == host_ ? entered_.host : b == station_ ? entered_.station : b == user_ ? entered_.user
                                                                                                      : entered_.caFile;
        if (const auto t = ctx_.op.enterText(prompt, value)) value = t->trimmed();
    }
    showEntered();
}

void PlantLinkPage::showEntered() {
    enabled_->setChecked(entered_.enabled);
    tls_->setChecked(entered_.tls);
    host_->setText(entered_.host);
    port_->setText(QString::number(entered_.port));
    station_->setText(entered_.station);
    user_->setText(entered_.user);
    password_->setText(QString(entered_.password.size(), u'*'));
    caFile_->setText(entered_.caFile);
    keepAlive_->setText(QString::number(entered_.keepAlive));
    // A name the topics cannot carry is said at once, before it is applied.
    const ConfigProblem problem = checkConfig(entered_);
    test_->setText(problem == ConfigProblem::None ? QString() : configProblemText(ctx_.texts, problem));
}

void PlantLinkPage::showState() {
    if (!publisher_) return;
    state_->setText(linkStatusText(ctx_.texts, publisher_->config().enabled, publisher_->problem(), publisher_->status()));
}

void PlantLinkPage::apply() {
    if (!ctx_.users.CheckLevel(kLevel)) return;
    const ConfigProblem problem = checkConfig(entered_);
    if (entered_.enabled && problem != ConfigProblem::None) {
        test_->setText(configProblemText(ctx_.texts, problem));
        return;
    }
    if (!storeMqttConfig(ctx_.settings, entered_)) return;  // the store has told the operator
    if (publisher_) publisher_->reconfigure();
    showState();
}

void PlantLinkPage::testConnection() {
    const ConfigProblem problem = checkConfig(entered_);
    if (problem != ConfigProblem::None) {
        test_->setText(configProblemText(ctx_.texts, problem));
        return;
    }
    MqttConfig probe = entered_;
    probe.station += QStringLiteral("-test");  // its own client id: the station's connection stays
    test_->setText(ctx_.texts(370));
    tester_.start(probe, topic(probe.station, QStringLiteral("test")), QByteArray(), true);
}

}  // namespace zev
