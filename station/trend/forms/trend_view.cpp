#include "trend/forms/trend_view.h"

#include "base/app_context.h"
#include "base/clock.h"
#include "base/settings.h"
#include "link/bus_link.h"
#include "link/link_session.h"
#include "link/zone_values.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/operator.h"
#include "support/texts.h"
#include "trend/energy.h"
#include "trend/forms/trend_chart.h"
#include "trend/history_list.h"
#include "trend/trend_export.h"
#include "widgets/zone_selection_panel.h"
#include "widgets/touch_style.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace zev {

namespace {
constexpr int kKindCodes[5] = {KindSetpoint, KindActual, KindOutput, KindCurrent, KindStatus};
constexpr int kKindTexts[5] = {1278, 1279, 1280, 1281, 1282};
const QColor kPalette[] = {QColor(0, 0, 220),   QColor(200, 0, 0),   QColor(0, 140, 0),   QColor(160, 0, 160),
                           QColor(0, 140, 160), QColor(200, 110, 0), QColor(90, 90, 90),  QColor(120, 60, 0),
                           QColor(0, 90, 120),  QColor(220, 0, 120), QColor(100, 150, 0), QColor(60, 0, 200)};

QStringList mountedRemovables() {
    QStringList drives;
    // A directory that stands for the stick (unattended runs, kiosks without automount).
    const QString given = qEnvironmentVariable("ZEV_EXPORT_DRIVE");
    if (!given.isEmpty()) drives << given;
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (mounts.open(QIODevice::ReadOnly))
        drives << removableVolumes(QString::fromLocal8Bit(mounts.readAll()),
                                   {QStringLiteral("/media"), QStringLiteral("/run/media")});
    return drives;
}
}  // namespace

TrendView::TrendView(AppContext& ctx, QWidget* parent) : View(parent), ctx_(ctx), window_(ctx.tool.LogFileDir) {
    setObjectName(QStringLiteral("frmTrend"));
    removableDrives = mountedRemovables;
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    outer->addLayout(top, 1);
    chart_ = new TrendChart(window_, this);
    top->addWidget(chart_, 1);

    auto* side = new QVBoxLayout;
    top->addLayout(side);
    auto* modes = new QHBoxLayout;
    auto* modeGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        mode_[static_cast<std::size_t>(i)] = new QRadioButton(ctx.texts(i == 0 ? 1217 : 1218), this);
        mode_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("optMode%1").arg(i));
        modeGroup->addButton(mode_[static_cast<std::size_t>(i)], i);
        modes->addWidget(mode_[static_cast<std::size_t>(i)]);
    }
    mode_[0]->setChecked(true);
    connect(modeGroup, &QButtonGroup::idClicked, this, [this](int id) { optMode_Click(id == 0); });
    side->addLayout(modes);

    menu_ = new QTabWidget(this);
    menu_->setObjectName(QStringLiteral("tabTrendMenu"));
    menu_->setFixedWidth(350);
    touch::makeTouchTabs(menu_);
    menu_->tabBar()->setUsesScrollButtons(false);  // every page stays one touch away
    side->addWidget(menu_, 1);

    // Page: span and value kinds.
    auto* spanPage = new QWidget(menu_);
    auto* spanLayout = new QGridLayout(spanPage);
    auto* spanGroup = new QButtonGroup(this);
    for (int i = 0; i < 8; ++i) {
        auto* b = new QRadioButton(ctx.texts(1300 + i), spanPage);
        b->setObjectName(QStringLiteral("optScaleTime%1").arg(i));
        spans_[static_cast<std::size_t>(i)] = b;
        spanGroup->addButton(b, i);
        spanLayout->addWidget(b, i % 4, i / 4);
    }
    spans_[static_cast<std::size_t>(spanIndex_)]->setChecked(true);
    connect(spanGroup, &QButtonGroup::idClicked, this, [this](int id) { setSpan(id); });
    for (int i = 0; i < 5; ++i) {
        auto* c = new QCheckBox(ctx.texts(kKindTexts[i]), spanPage);
        c->setObjectName(QStringLiteral("chkKind%1").arg(kKindCodes[i]));
        kinds_[static_cast<std::size_t>(i)] = c;
        c->setChecked(kKindCodes[i] == KindActual);
        spanLayout->addWidget(c, 4 + i, 0, 1, 2);
        connect(c, &QCheckBox::toggled, this, [this] { CalcLines(); });
    }
    fixLeft_ = new QCheckBox(ctx.texts(1265) + ctx.plant.TemperatureUnit + QStringLiteral("] ") + ctx.texts(1284), spanPage);
    fixLeft_->setObjectName(QStringLiteral("chkScaleLeft"));
    fixRight_ = new QCheckBox(ctx.texts(1266) + QLatin1Char(' ') + ctx.texts(1284), spanPage);
    fixRight_->setObjectName(QStringLiteral("chkScaleRight"));
    spanLayout->addWidget(fixLeft_, 9, 0, 1, 2);
    spanLayout->addWidget(fixRight_, 10, 0, 1, 2);
    connect(fixLeft_, &QCheckBox::toggled, this, [this](bool on) {
        chart_->left.fixed = on;
        if (!on && chart_->rescale()) chart_->update();
    });
    connect(fixRight_, &QCheckBox::toggled, this, [this](bool on) {
        chart_->right.fixed = on;
        if (!on && chart_->rescale()) chart_->update();
    });
    assign_ = new QPushButton(ctx.texts(1235), spanPage);
    assign_->setObjectName(QStringLiteral("cmdAssignTime"));
    assign_->setMinimumHeight(44);  // a finger-sized target
    assign_->setVisible(false);
    connect(assign_, &QPushButton::clicked, this, [this] { cmdAssignTime_Click(); });
    spanLayout->addWidget(assign_, 11, 0, 1, 2);
    spanLayout->setRowStretch(12, 1);
    menu_->addTab(spanPage, ctx.texts(1283));

    // Page: the recorded days.
    auto* histPage = new QWidget(menu_);
    auto* histLayout = new QVBoxLayout(histPage);
    auto* caption = new QLabel(ctx.texts(1286), histPage);
    history_ = new QListWidget(histPage);
    history_->setObjectName(QStringLiteral("lstHistory"));
    history_->setAccessibleName(ctx.texts(1286));
    caption->setBuddy(history_);
    histLayout->addWidget(caption);
    histLayout->addWidget(history_, 1);
    connect(history_, &QListWidget::itemClicked, this, [this] { lstHistory_Click(); });
    auto* scroll = new QHBoxLayout;
    for (int dir : {-1, 1}) {
        auto* b = new QPushButton(ctx.texts(dir < 0 ? 1308 : 1309), histPage);
        b->setObjectName(dir < 0 ? QStringLiteral("cmdScrollHistoryBack") : QStringLiteral("cmdScrollHistoryOn"));
        connect(b, &QPushButton::clicked, this, [this, dir] { cmdScrollHistory_Click(dir); });
        scroll->addWidget(b);
    }
    histLayout->addLayout(scroll);
    auto* del = new QPushButton(ctx.texts(1233), histPage);
    del->setObjectName(QStringLiteral("cmdDellHistoryFile"));
    connect(del, &QPushButton::clicked, this, [this] { cmdDellHistoryFile_Click(); });
    histLayout->addWidget(del);
    menu_->addTab(histPage, ctx.texts(1286));

    // Page: the magnifier.
    auto* lupePage = new QLabel(ctx.texts(1314), menu_);
    lupePage->setWordWrap(true);
    lupePage->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    menu_->addTab(lupePage, ctx.texts(1249));
    // Page: the energy bars.
    auto* energyPage = new QLabel(ctx.texts(1313), menu_);
    energyPage->setWordWrap(true);
    energyPage->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    menu_->addTab(energyPage, ctx.texts(1285));
    connect(menu_, &QTabWidget::currentChanged, this, [this](int page) {
        chart_->setLupeEnabled(page == PageLupe);
        if (page == PageEnergy) showEnergy();
        else chart_->setEnergyBars({});
    });

    auto* xls = new QPushButton(ctx.texts(1234), this);
    xls->setObjectName(QStringLiteral("cmdCreateXLS"));
    xls->setMinimumHeight(44);
    connect(xls, &QPushButton::clicked, this, [this] { CreateXLS(); });
    side->addWidget(xls);

    selection_ = new ZoneSelectionPanel(ctx, this, 4);
    outer->addWidget(selection_);
    connect(selection_, &ZoneSelectionPanel::selectionChanged, this, [this] {
        CalcLines();
        if (menu_->currentIndex() == PageEnergy) showEnergy();
    });

    chart_->markHint[0] = ctx.texts(1267) + QLatin1Char(' ') + ctx.texts(1268);
    chart_->markHint[1] = ctx.texts(1267) + QLatin1Char(' ') + ctx.texts(1269);
    chart_->placeHint = ctx.texts(1287);
    connect(chart_, &TrendChart::scaleMarked, this, &TrendView::scaleMarked);
    connect(chart_, &TrendChart::placed, this, &TrendView::placeShorter);
    // Dragging the time axis to the right shows earlier times (history only).
    connect(chart_, &TrendChart::timeDragged, this, [this](int pixels) {
        if (live_) return;
        dropPlacement();
        end_ = end_.addSecs(-static_cast<qint64>(std::llround(pixels * static_cast<double>(trendStep(window_.span(), window_.lastPoint())))));
        FullDraw();
    });

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("TimerTrend"));
    timer_->setInterval(kTickMs);
    connect(timer_, &QTimer::timeout, this, [this] { TimerTrend_Timer(); });
    connect(chart_, &TrendChart::plotSizeChanged, this, [this] {
        window_.setGeometry(chart_->lastPointForSize(), kTrendSpans[static_cast<std::size_t>(spanIndex_)]);
        if (shown_) FullDraw();
    });
    window_.setGeometry(chart_->lastPointForSize(), kTrendSpans[static_cast<std::size_t>(spanIndex_)]);
}

bool TrendView::entering(int) {
    shown_ = true;
    readStyle();
    window_.setLogDir(ctx_.tool.LogFileDir);
    chart_->unit = ctx_.plant.TemperatureUnit;
    CalcLines();
    if (live_) Enable_TimerTrend(true);
    return true;
}

void TrendView::leaving() {
    shown_ = false;
    Enable_TimerTrend(false);
}

void TrendView::readStyle() {
    auto number = [this](const char* key, int def, int lo, int hi) {
        const int v = ctx_.settings.GetIni(QStringLiteral("Trend"), QString::fromLatin1(key), QString::number(def),
                                           QStringLiteral("*")).toInt();
        return std::clamp(v, lo, hi);
    };
    chart_->penWidth = number("LineWidth", 1, 1, 5);
    chart_->smoothed = number("DrawStyle", 0, 0, 1) == 1;
    chart_->lupeZoom = number("LupeZoomFkt", 2, 2, 6);
}

QString TrendView::zoneName(int zone) const {
    if (zone >= 1 && zone <= static_cast<int>(ctx_.plant.Zones.size()) - 1) {
        const QString n = ctx_.plant.Zones[static_cast<std::size_t>(zone)].Name;
        if (!n.isEmpty()) return n;
    }
    return QString::number(zone);
}

void TrendView::CalcLines() {
    std::vector<bool> selected;
    selection_->CheckSelZone(selected);
    std::vector<int> kinds;
    for (int i = 0; i < 5; ++i)
        if (kinds_[static_cast<std::size_t>(i)]->isChecked()) kinds.push_back(kKindCodes[i]);
    bool cut = false;
    window_.setLines(zev::CalcLines(selected, kinds, &cut));
    chart_->colours.clear();
    chart_->names.clear();
    for (std::size_t i = 0; i < window_.lines().size(); ++i) {
        const TrendLine& l = window_.lines()[i];
        chart_->colours.push_back(kPalette[(i / std::max<std::size_t>(1, kinds.size())) % std::size(kPalette)]);
        chart_->names.push_back(zoneName(l.zone) + kindSuffix(l.kind));
    }
    // The note comes a second later, when the chart is already drawn.
    if (cut)
        QTimer::singleShot(kCutMessageMs, this, [this] { ctx_.op.notice(ctx_.texts(1219), ctx_.texts(193), {}, {}, 0); });
    if (shown_) FullDraw();
}

void TrendView::FullDraw() {
    if (live_) end_ = ctx_.clock.now();
    window_.ReadValBuffers(end_, window_.lastPoint());
    tick_.reset(ctx_.clock.now());
    chart_->windowEnd = end_;
    chart_->rescale();
    chart_->update();
}

void TrendView::Enable_TimerTrend(bool enable) {
    timer_->stop();
    if (!enable) return;
    FullDraw();
    timer_->start();
}

void TrendView::liveRead(int k) {
    if (k != 1 || !ctx_.link || !ctx_.link->Online()) {
        // Several points, or nothing to ask: the day files have them.
        window_.ReadValBuffers(end_, k - 1);
        return;
    }
    const auto p = static_cast<std::size_t>(window_.lastPoint());
    for (TrendLine& l : window_.lines()) {
        std::int32_t v;
        if (l.kind == KindStatus) {
            // The raw word: decoding it here would hide changes from the main cycle.
            const ZoneRecord& z = ctx_.plant.Zones[static_cast<std::size_t>(l.zone)];
            v = ctx_.bus.GetVal(z.BusAddress, z.Channel, 3);
            l.data[p] = v < 0 ? kTrendNoValue : static_cast<std::int16_t>(v);
            continue;
        }
        v = myGetValue(ctx_, l.zone, l.kind);
        l.data[p] = (v < 0 || v >= 1000) ? kTrendNoValue : static_cast<std::int16_t>(v);
    }
}

void TrendView::TimerTrend_Timer() {
    if (!live_) return;
    const QDateTime now = ctx_.clock.now();
    const LiveTick::Step s = tick_.tick(now, trendStep(window_.span(), window_.lastPoint()), window_.lastPoint());
    if (s.what == LiveTick::Step::Nothing) return;
    if (s.what == LiveTick::Step::Reload) {
        FullDraw();
        return;
    }
    end_ = now;
    chart_->windowEnd = end_;
    window_.shiftLeft(s.points);
    liveRead(s.points);
    chart_->rescale();
    chart_->update();
}

void TrendView::setSpan(int index) {
    index = std::clamp(index, 0, 7);
    const int old = kTrendSpans[static_cast<std::size_t>(spanIndex_)];
    const int wanted = kTrendSpans[static_cast<std::size_t>(index)];
    if (!live_ && wanted < old) {
        // In history a shorter window is placed on the shown one first.
        pendingSpan_ = index;
        placeShorter(0.5);
        assign_->setVisible(true);
        return;
    }
    dropPlacement();
    spanIndex_ = index;
    const int span = wanted;
    // In history a longer window grows around its middle.
    if (!live_) end_ = end_.addSecs((span - old) / 2);
    window_.setGeometry(window_.lastPoint(), span);
    if (shown_) FullDraw();
}

void TrendView::placeShorter(double fraction) {
    if (pendingSpan_ < 0) return;
    const int shown = window_.span();
    const int shorter = kTrendSpans[static_cast<std::size_t>(pendingSpan_)];
    placedEnd_ = placedWindowEnd(end_, shown, shorter, fraction);
    const double to = 1.0 - static_cast<double>(placedEnd_.secsTo(end_)) / shown;
    chart_->setPlacement(to - static_cast<double>(shorter) / shown, to);
}

void TrendView::cmdAssignTime_Click() {
    if (pendingSpan_ < 0) return;
    spanIndex_ = pendingSpan_;
    end_ = placedEnd_;
    dropPlacement();
    window_.setGeometry(window_.lastPoint(), kTrendSpans[static_cast<std::size_t>(spanIndex_)]);
    FullDraw();
}

// A placement not taken over is forgotten; the span shown is checked again.
void TrendView::dropPlacement() {
    if (pendingSpan_ < 0) return;
    pendingSpan_ = -1;
    chart_->clearPlacement();
    assign_->setMinimumHeight(44);  // a finger-sized target
    assign_->setVisible(false);
    const QSignalBlocker quiet(spans_[static_cast<std::size_t>(spanIndex_)]);
    spans_[static_cast<std::size_t>(spanIndex_)]->setChecked(true);
}

void TrendView::optMode_Click(bool live) {
    dropPlacement();
    live_ = live;
    mode_[live ? 0 : 1]->setChecked(true);
    if (live) {
        Enable_TimerTrend(shown_);
        return;
    }
    Enable_TimerTrend(false);
    history_->clear();
    const auto days = historyDays(ctx_.tool.LogFileDir);
    for (const HistoryDay& d : days) {
        auto* item = new QListWidgetItem(historyEntry(d.day), history_);
        item->setData(Qt::UserRole, d.fileName);
        item->setData(Qt::UserRole + 1, d.day);
    }
    menu_->setCurrentIndex(PageHistory);
    if (days.isEmpty()) {
        ctx_.op.notice(ctx_.texts(1220), ctx_.texts(193), {}, {}, 0);
        return;
    }
    history_->setCurrentRow(history_->count() - 1);
    lstHistory_Click();
}

void TrendView::lstHistory_Click() {
    QListWidgetItem* item = history_->currentItem();
    if (!item || live_) return;
    dropPlacement();
    const QDate day = item->data(Qt::UserRole + 1).toDate();
    const QTime at = end_.isValid() ? end_.time() : ctx_.clock.now().time();
    end_ = QDateTime(day, at);
    FullDraw();
}

void TrendView::cmdDellHistoryFile_Click() {
    const int row = history_->currentRow();
    if (row < 0) return;
    QListWidgetItem* item = history_->item(row);
    const HistoryDay day{item->data(Qt::UserRole + 1).toDate(), item->data(Qt::UserRole).toString()};
    switch (deleteHistoryDay(ctx_.tool.LogFileDir, day, ctx_.clock.today())) {
    case DeleteDayResult::IsToday:
        ctx_.op.notice(ctx_.texts(1221), ctx_.texts(193), {}, {}, 0);
        return;
    case DeleteDayResult::Failed:
        ctx_.op.notice(ctx_.texts(202) + QStringLiteral("\n") + day.fileName, ctx_.texts(193), {}, {}, 0);
        return;
    case DeleteDayResult::Deleted:
        break;
    }
    delete history_->takeItem(row);
    if (history_->count() > 0) {
        history_->setCurrentRow(std::min(row, history_->count() - 1));
        lstHistory_Click();
    }
}

void TrendView::cmdScrollHistory_Click(int direction) {
    if (live_) return;
    dropPlacement();
    end_ = end_.addSecs(direction * window_.span() / 2);
    FullDraw();
}

void TrendView::scaleMarked(bool leftScale, int from, int to) {
    TrendScale& scale = leftScale ? chart_->left : chart_->right;
    const ScaleLimits range{std::min(from, to), std::max(from, to)};
    // The smallest span is 20; a scale there cannot be narrowed further.
    if (scale.maximum - scale.minimum <= 20 && range.highest - range.lowest < 20) {
        ctx_.op.notice(ctx_.texts(leftScale ? 1270 : 1271), ctx_.texts(193), {}, {}, 0);
        return;
    }
    const int height = chart_->plotRect().height();
    if (leftScale) TestRescale(scale, window_.lines(), height, range);
    else TestRescale_Y(scale, window_.lines(), height, range);
    chart_->update();
    const QString shown = QStringLiteral("%1 - %2").arg(scale.minimum).arg(scale.maximum);
    const QString question = leftScale ? ctx_.texts(1272) + shown + ctx_.texts(1273) : ctx_.texts(1274) + shown + ctx_.texts(1275);
    const bool fix = ctx_.op.notice(question, ctx_.texts(1276), ctx_.texts(1277), {}, 2) == 1;
    QCheckBox* box = leftScale ? fixLeft_ : fixRight_;
    const QSignalBlocker quiet(box);  // the box follows; unticking it would rescale at once
    box->setChecked(fix);
    scale.fixed = fix;
}

void TrendView::showEnergy() {
    std::vector<bool> selected;
    selection_->CheckSelZone(selected);
    std::vector<int> zones;
    for (std::size_t z = 1; z < selected.size() && zones.size() < 40; ++z)
        if (selected[z]) zones.push_back(static_cast<int>(z));
    const int minutes = std::clamp(ctx_.settings.GetIni(QStringLiteral("Trend"), QStringLiteral("EnergyBarMinuten"),
                                                        QStringLiteral("60"), QStringLiteral("*")).toInt(), 1, 720);
    const QDateTime end = live_ ? ctx_.clock.now() : end_;
    const auto wh = zoneEnergy(ctx_.tool.LogFileDir, zones, end, minutes);
    std::vector<EnergyBar> bars;
    for (std::size_t i = 0; i < zones.size(); ++i)
        bars.push_back({zoneName(zones[i]), wh[i], kPalette[i % std::size(kPalette)]});
    chart_->setEnergyBars(std::move(bars));
}

}  // namespace zev
