#include "views/detail_panel.h"

#include "base/app_context.h"
#include "views/deviation_bar.h"
#include "widgets/display_rules.h"
#include "views/face_plate.h"
#include "widgets/group_look.h"
#include "views/overview_style.h"
#include "views/repaint_suspension.h"
#include "views/zone_grid.h"
#include "plant/zone_table.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace zev {

DetailPanel::DetailPanel(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("pnlDetail"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    area_ = new QWidget(this);
    area_->setObjectName(QStringLiteral("plateArea"));
    area_->installEventFilter(this);
    layout->addWidget(area_, 1);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* up = new QToolButton(this);
    up->setObjectName(QStringLiteral("cmdPageUp"));
    overview_style::pageButton(up, Qt::UpArrow);
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(QStringLiteral("scrBereich"));
    overview_style::pageScrollBar(scroll_);
    scroll_->setSingleStep(1);
    scroll_->setPageStep(1);
    auto* down = new QToolButton(this);
    down->setObjectName(QStringLiteral("cmdPageDown"));
    overview_style::pageButton(down, Qt::DownArrow);
    column->addWidget(up);
    column->addWidget(scroll_, 1);
    column->addWidget(down);
    layout->addLayout(column);
    connect(up, &QToolButton::clicked, scroll_, [this] { scroll_->triggerAction(QAbstractSlider::SliderSingleStepSub); });
    connect(down, &QToolButton::clicked, scroll_, [this] { scroll_->triggerAction(QAbstractSlider::SliderSingleStepAdd); });
    for (std::size_t i = 0; i < plates_.size(); ++i) {
        auto* p = new FacePlate(area_);
        connect(p, &FacePlate::clicked, this, &DetailPanel::zoneClicked);
        connect(p, &FacePlate::groupClicked, this, &DetailPanel::groupClicked);
        plates_[i] = p;
    }
    connect(scroll_, &QScrollBar::valueChanged, this, &DetailPanel::pageChanged);
    setUnit();
}

int DetailPanel::zoneCount() const { return std::clamp(ctx_.plant.ZoneCount, 0, kMaxZones); }

void DetailPanel::SetZonesPosition() {
    const int pages = std::max(1, (zoneCount() + kPlates - 1) / kPlates);
    const QSignalBlocker quiet(scroll_);
    scroll_->setRange(0, pages - 1);
    scroll_->setEnabled(pages > 1);
    placePlates();
    updScroll();
}

void DetailPanel::updScroll() {
    first_ = scroll_->value() * kPlates;
    const int n = zoneCount();
    for (int i = 0; i < kPlates; ++i) {
        FacePlate* p = plates_[static_cast<std::size_t>(i)];
        const int zone = first_ + i + 1;
        if (zone > n) {
            p->hide();
            continue;
        }
        p->setZone(zone, ctx_.plant.zone(zone).Name);
        const int g = shownGroup(ctx_, zone);
        p->setGroup(g, groupCaption(ctx_, g), groupColour(ctx_, g), groupTextColour(ctx_, g));
        p->show();
    }
}

void DetailPanel::setNames() {
    for (FacePlate* p : plates_)
        if (p->zone() >= 1 && p->zone() <= kMaxZones) p->setName(ctx_.plant.zone(p->zone()).Name);
}

void DetailPanel::setUnit() {
    for (FacePlate* p : plates_) p->setUnit(ctx_.plant.TemperatureUnit);
}

void DetailPanel::placePlates() {
    const std::vector<QRect> rects = plateRects(area_->size());
    const FacePlate::Fonts fonts = FacePlate::fontsFor(rects.front().size());
    for (std::size_t i = 0; i < plates_.size(); ++i) {
        plates_[i]->setGeometry(rects[i]);
        plates_[i]->setFonts(fonts);
    }
}

void DetailPanel::RefreshValues() {
    RepaintSuspension pause(area_);
    for (FacePlate* p : plates_) {
        if (p->isHidden()) continue;
        const int z = p->zone();
        pause.note(DispX(ctx_, z, p->dispX2()));
        pause.note(DispW(ctx_, z, p->dispW2(), look::yellow()));
        pause.note(DispY(ctx_, z, p->dispY2()));
        pause.note(DispI(ctx_, z, p->dispI2()));
        pause.note(dispWXDiff(ctx_, z, p->picDiff()));
    }
}

void DetailPanel::clearValues() {
    const LabelLook empty = blankLook();
    for (FacePlate* p : plates_) {
        for (QLabel* l : {p->dispX2(), p->dispW2(), p->dispY2(), p->dispI2()}) applyLook(l, empty);
        p->picDiff()->setSpan(BarSpan{});
    }
}

bool DetailPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_ && event->type() == QEvent::Resize) placePlates();
    return QWidget::eventFilter(watched, event);
}

}  // namespace zev
