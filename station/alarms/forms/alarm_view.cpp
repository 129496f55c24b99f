#include "alarms/forms/alarm_view.h"

#include "alarms/forms/alarm_list_model.h"
#include "alarms/alarm_log.h"
#include "alarms/forms/top_ten_panel.h"
#include "widgets/zone_selection_panel.h"
#include "base/app_context.h"
#include "widgets/touch_style.h"
#include "support/procedure.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "support/zev_error.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace zev {

namespace {
const QString kModule = QStringLiteral("frmAlarm");
const QString kCheckStyle = QStringLiteral("QCheckBox::indicator { width: 30px; height: 30px; }");

QCheckBox* touchCheck(const QString& text, const QString& name, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setFont(touch::captionFont());
    box->setMinimumHeight(40);
    box->setStyleSheet(kCheckStyle);
    box->setChecked(checked);
    return box;
}
}  // namespace

AlarmView::AlarmView(AppContext& ctx, QWidget* parent) : View(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmAlarm"));
    // The log belongs to the link session and outlives the view; a context
    // without a started link (a test of the view alone) gets one of its own.
    if (ctx.alarmLog) {
        log_ = ctx.alarmLog;
    } else {
        ownLog_ = std::make_unique<AlarmLog>(ctx, ctx.tool.LogFileDir);
        log_ = ownLog_.get();
    }

    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    tabs_->setFont(touch::captionFont());
    touch::makeTouchTabs(tabs_);
    tabs_->addTab(buildStatistics(), ctx.texts(227));
    tabs_->addTab(buildList(), ctx.texts(228));
    tabs_->setCurrentIndex(kTabList);
    layout->addWidget(tabs_);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == kTabList) readList();
    });

    connect(log_, &AlarmLog::aboutToClose, this, [this] { model_->clear(); });
    connect(log_, &AlarmLog::reopened, this, [this] { readList(); });
    guarded(ctx.errors, kModule, QStringLiteral("Form_Load"), [&] {
        if (log_->made() == AlarmDb::Made::Failed) throw ZevError(ErrNo::Database, log_->openError());
    });
    topTen_->clearRows();
    RefreshData(true);
}

AlarmView::~AlarmView() {
    model_->clear();  // no query may outlive the connection
    log_->disconnect(this);
}

QWidget* AlarmView::buildStatistics() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* heading = new QLabel(ctx_.texts(229), page);
    heading->setObjectName(QStringLiteral("lblTopTen"));
    heading->setFont(touch::messageFont());
    layout->addWidget(heading);
    topTen_ = new TopTenPanel(ctx_, page);
    layout->addWidget(topTen_);
    layout->addStretch(1);
    reset_ = new QPushButton(ctx_.texts(231), page);
    reset_->setObjectName(QStringLiteral("cmdReset"));
    touch::makeTouchButton(reset_);
    connect(reset_, &QPushButton::clicked, this, &AlarmView::cmdReset_Click);
    layout->addWidget(reset_, 0, Qt::AlignLeft);
    return page;
}

QWidget* AlarmView::buildList() {
    // The list takes the whole width (its seven columns need it); the filter
    // boxes and the zone selection lie below it.
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    model_ = new AlarmListModel(ctx_.texts, this);
    list_ = new QTableView(page);
    list_->setObjectName(QStringLiteral("gridAlarm"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setWordWrap(false);
    list_->verticalHeader()->setVisible(false);
    list_->verticalHeader()->setDefaultSectionSize(34);
    list_->horizontalHeader()->setStretchLastSection(true);
    QFont font = touch::captionFont();
    font.setBold(false);
    list_->setFont(font);
    layout->addWidget(list_, 1);

    auto* filters = new QHBoxLayout;
    const int whatTexts[3] = {209, 210, 211};
    for (int i = 0; i < 3; ++i) {
        what_[static_cast<std::size_t>(i)] =
            touchCheck(ctx_.texts(whatTexts[i]), QStringLiteral("chkWhat%1").arg(i), true, page);
        filters->addWidget(what_[static_cast<std::size_t>(i)]);
        connect(what_[static_cast<std::size_t>(i)], &QCheckBox::toggled, this, [this] { RefreshData(true); });
    }
    acknowledged_ = touchCheck(ctx_.texts(225), QStringLiteral("chkAcknowledged"), true, page);
    newOnly_ = touchCheck(ctx_.texts(226), QStringLiteral("chkNewOnly"), false, page);
    lock_ = touchCheck(ctx_.texts(206), QStringLiteral("chkLock"), false, page);
    connect(acknowledged_, &QCheckBox::toggled, this, [this] { RefreshData(true); });
    connect(newOnly_, &QCheckBox::toggled, this, [this] { RefreshData(true); });
    connect(lock_, &QCheckBox::toggled, this, [this] { readList(); });
    filters->addSpacing(16);
    for (QCheckBox* box : {acknowledged_, newOnly_, lock_}) filters->addWidget(box);
    filters->addStretch(1);
    layout->addLayout(filters);

    selection_ = new ZoneSelectionPanel(ctx_, page, 4);
    connect(selection_, &ZoneSelectionPanel::selectionChanged, this, [this] { RefreshData(true); });
    layout->addWidget(selection_);
    acknowledge_ = new QPushButton(ctx_.texts(230), page);
    acknowledge_->setObjectName(QStringLiteral("cmdAcknowledge"));
    touch::makeTouchButton(acknowledge_);
    connect(acknowledge_, &QPushButton::clicked, this, &AlarmView::cmdAcknowledge_Click);
    selection_->addCommand(acknowledge_);  // the view keeps within the panel's width
    return page;
}

AlarmFilter AlarmView::filter() const {
    AlarmFilter f;
    for (int i = 0; i < 3; ++i) f.what[i] = what_[static_cast<std::size_t>(i)]->isChecked();
    f.acknowledged = acknowledged_->isChecked();
    f.newOnly = newOnly_->isChecked();
    return f;
}

void AlarmView::rebuildQuery() {
    const int n = selection_->CheckSelZone(selected_);
    const int zones = ctx_.plant.ZoneCount;
    const QString z = n < zones ? get_zone_querystring(selected_, zones) : QString();
    clause_ = sqlfilter(filter(), n, zones, z, log_->startStamp());
    query_ = zev::listQuery(filter(), n, zones, z, log_->startStamp());
}

bool AlarmView::listShown() const { return tabs_->currentIndex() == kTabList; }

void AlarmView::layoutColumns() {
    // What, where and the text first, the times after them; widths for what the
    // columns hold, the message takes the rest.
    QHeaderView* header = list_->horizontalHeader();
    if (header->count() != LogColumn::Count) return;
    const QFontMetrics fm(list_->font());
    const int pad = 16;
    int typeWidth = 0;
    for (int t : {209, 210, 211}) typeWidth = std::max(typeWidth, fm.horizontalAdvance(ctx_.texts(t)));
    const int dateWidth = fm.horizontalAdvance(QStringLiteral("88.88.88 88:88:88"));
    const int widths[LogColumn::Count] = {typeWidth + pad, dateWidth + pad, dateWidth + pad, dateWidth + pad,
                                          fm.horizontalAdvance(QStringLiteral("Verteiler 888")) + pad,
                                          fm.horizontalAdvance(QStringLiteral("888")) + pad,
                                          // the usual longest message: a setpoint change
                                          fm.horizontalAdvance(ctx_.texts(1511) + QStringLiteral("888 °C") + ctx_.texts(1512) +
                                                               QStringLiteral("888 °C")) + pad};
    for (int c = 0; c < LogColumn::Count; ++c) header->resizeSection(c, widths[c]);
    const int order[LogColumn::Count] = {LogColumn::Typ,  LogColumn::Quelle, LogColumn::Adresse, LogColumn::Meldung,
                                         LogColumn::Kommt, LogColumn::Geht,  LogColumn::Quittiert};
    for (int visual = 0; visual < LogColumn::Count; ++visual)
        header->moveSection(header->visualIndex(order[visual]), visual);
}

void AlarmView::readList() {
    if (!listShown()) return;
    guarded(ctx_.errors, kModule, QStringLiteral("RefreshData"), [&] {
        if (!log_->isOpen()) {
            model_->clear();
            return;
        }
        QSqlQuery q(log_->db().database());
        q.setForwardOnly(false);
        q.exec(query_);
        model_->setQuery(std::move(q));
        // Errors of the list itself leave it empty and are only traced.
        if (model_->lastError().isValid())
            qWarning("DataErr: %s (%s)", qPrintable(model_->lastError().nativeErrorCode()),
                     qPrintable(model_->lastError().text()));
        layoutColumns();
        if (model_->rowCount() > 0) {
            list_->selectRow(0);
            list_->scrollToTop();
        }
    });
}

void AlarmView::RefreshData(bool NewFilter) {
    if (NewFilter) rebuildQuery();
    else if (lock_->isChecked()) return;
    readList();
}

void AlarmView::RefreshTopTen() { topTen_->RefreshTopTen(); }

bool AlarmView::entering(int previousTab) {
    Q_UNUSED(previousTab);
    RefreshData(false);
    return true;
}

void AlarmView::cmdAcknowledge_Click() {
    guarded(ctx_.errors, kModule, QStringLiteral("cmdAcknowledge_Click"), [&] {
        if (!ctx_.users.CheckLevel(2)) return;
        // The records of the list that have no acknowledgement yet; earlier ones keep theirs.
        log_->acknowledge(clause_);
        RefreshData(false);
    });
}

void AlarmView::cmdReset_Click() {
    guarded(ctx_.errors, kModule, QStringLiteral("cmdReset_Click"), [&] {
        if (!ctx_.users.CheckLevel(2)) return;
        for (int z = 1; z <= kMaxZones; ++z) ctx_.plant.zone(z).AlarmSeconds = 0.0;
        RefreshTopTen();
    });
}

}  // namespace zev
