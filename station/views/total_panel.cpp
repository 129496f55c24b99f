#include "views/total_panel.h"

#include "base/app_context.h"
#include "support/texts.h"
#include "widgets/display_rules.h"
#include "widgets/group_look.h"
#include "views/overview_style.h"
#include "views/repaint_suspension.h"
#include "views/zone_grid.h"
#include "views/zone_tile.h"
#include "plant/zone_table.h"

#include <QEvent>
#include <QLabel>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

namespace zev {

namespace {
constexpr int kSingleCaptions[] = {957, 958, 959, 960, 961};
constexpr int kPairCaptions[] = {962, 963, 966};
// Fonts are sized for the usual value; longer texts are drawn smaller (FitLabel).
const QString kValueSample = QStringLiteral("888 °C");

QTabBar* tabStrip(QWidget* parent, const char* name, int count) {
    auto* bar = new QTabBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    overview_style::subTabs(bar);
    for (int i = 0; i < count; ++i) bar->addTab(QString());
    return bar;
}
}  // namespace

TotalPanel::TotalPanel(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("pnlTotal"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    single_ = tabStrip(this, "SSTab1_0", 5);
    pair_ = tabStrip(this, "SSTab1_1", 3);
    // Actual values first: what an operator looks for when the view opens.
    single_->setCurrentIndex(kSingleActual);
    pair_->setCurrentIndex(kPairSetpointActual);
    layout->addWidget(single_);
    layout->addWidget(pair_);
    area_ = new QWidget(this);
    area_->setObjectName(QStringLiteral("tileArea"));
    area_->installEventFilter(this);
    layout->addWidget(area_, 1);
    for (QTabBar* bar : {single_, pair_})
        connect(bar, &QTabBar::currentChanged, this, [this] { emit valuesChanged(); });
    setCaptions();
}

void TotalPanel::setCaptions() {
    const QString& unit = ctx_.plant.TemperatureUnit;
    for (int i = 0; i < single_->count(); ++i) single_->setTabText(i, unitCaption(ctx_.texts(kSingleCaptions[i]), unit));
    for (int i = 0; i < pair_->count(); ++i) pair_->setTabText(i, unitCaption(ctx_.texts(kPairCaptions[i]), unit));
}

void TotalPanel::SetZonesPosition() {
    const int n = std::clamp(ctx_.plant.ZoneCount, 0, kMaxZones);
    while (tileCount() > n) {
        delete tiles_.back();
        tiles_.pop_back();
    }
    while (tileCount() < n) {
        auto* t = new ZoneTile(area_);
        connect(t, &ZoneTile::clicked, this, &TotalPanel::zoneClicked);
        tiles_.push_back(t);
    }
    singleValue_ = n > grid::kTwoValueLimit;
    single_->setVisible(singleValue_);
    pair_->setVisible(!singleValue_);
    for (int i = 0; i < n; ++i) {
        ZoneTile* t = tiles_[static_cast<std::size_t>(i)];
        t->setZone(i + 1);
        t->setTwoValues(!singleValue_);
    }
    setNames();
    setGroupColours();
    placeTiles();
    for (ZoneTile* t : tiles_) t->show();
}

void TotalPanel::setNames() {
    for (ZoneTile* t : tiles_) t->setToolTip(ctx_.plant.zone(t->zone()).Name);
}

void TotalPanel::setGroupColours() {
    for (ZoneTile* t : tiles_) {
        const int g = shownGroup(ctx_, t->zone());
        t->setGroupColours(groupColour(ctx_, g), groupTextColour(ctx_, g));
    }
}

void TotalPanel::placeTiles() {
    const std::vector<QRect> rects = totalTileRects(tileCount(), area_->size());
    if (rects.empty()) return;
    const ZoneTile::Parts parts = ZoneTile::partsFor(rects.front().size(), !singleValue_);
    QFont numberFace = valueFace();
    numberFace.setBold(true);
    QFont valueBold = valueFace();
    valueBold.setBold(true);  // status texts are bold: they must fit too
    const QSize pad(2, 2);
    const QFont number = fittedFont(numberFace, QStringLiteral("888"), parts.number.size() - pad, 8, 40);
    QFont value = fittedFont(valueBold, kValueSample, parts.x.size() - pad, 8, 40);
    value.setBold(false);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        tiles_[i]->setGeometry(rects[i]);
        tiles_[i]->setFonts(number, value);
    }
}

void TotalPanel::RefreshValues() {
    RepaintSuspension pause(area_);
    const int pairTab = pair_->currentIndex();
    const int singleTab = single_->currentIndex();
    for (ZoneTile* t : tiles_) {
        const int z = t->zone();
        QLabel* x = t->dispX1();
        QLabel* w = t->dispW1();
        if (singleValue_) {
            switch (singleTab) {
            case kSingleCurrent: pause.note(DispI(ctx_, z, x)); break;
            case kSinglePower: pause.note(DispY(ctx_, z, x)); break;
            case kSingleDifference: pause.note(DispDiff_XW(ctx_, z, x)); break;
            case kSingleSetpoint: pause.note(DispW(ctx_, z, x, look::yellow())); break;
            default: pause.note(DispX(ctx_, z, x)); break;
            }
            continue;
        }
        switch (pairTab) {
        case kPairPowerCurrent:
            pause.note(DispY(ctx_, z, x));
            pause.note(DispI(ctx_, z, w));
            break;
        case kPairDifference:
            pause.note(DispDiff_XW(ctx_, z, x));
            pause.note(DispW(ctx_, z, w, look::white()));
            break;
        default:
            pause.note(DispX(ctx_, z, x));
            pause.note(DispW(ctx_, z, w, look::yellow()));
            break;
        }
    }
}

void TotalPanel::clearValues() {
    const LabelLook empty = blankLook();
    for (ZoneTile* t : tiles_) {
        applyLook(t->dispX1(), empty);
        applyLook(t->dispW1(), empty);
    }
}

bool TotalPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_ && event->type() == QEvent::Resize) placeTiles();
    return QWidget::eventFilter(watched, event);
}

}  // namespace zev
