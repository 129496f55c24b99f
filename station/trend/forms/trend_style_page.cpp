#include "trend/forms/trend_style_page.h"

#include "base/app_context.h"
#include "base/settings.h"
#include "support/texts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>

namespace zev {

namespace {
const QString kSection = QStringLiteral("Trend");
const QString kZevIni = QStringLiteral("*");
}  // namespace

TrendStylePage::TrendStylePage(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("pageTrendStyle"));
    auto* grid = new QGridLayout(this);
    width_ = slider("sldLineWidth", "LineWidth", 1311, 1, 5, 1, 0);
    zoom_ = slider("sldLupeZoomFkt", "LupeZoomFkt", 1312, 2, 6, 2, 1);
    minutes_ = slider("sldEnergyBarMinuten", "EnergyBarMinuten", 1313, 1, 720, 60, 2);
    stairs_ = new QRadioButton(ctx.texts(535), this);
    stairs_->setObjectName(QStringLiteral("optTrendDrawStyle0"));
    smooth_ = new QRadioButton(ctx.texts(536), this);
    smooth_->setObjectName(QStringLiteral("optTrendDrawStyle1"));
    auto* group = new QButtonGroup(this);
    group->addButton(stairs_, 0);
    group->addButton(smooth_, 1);
    const bool smoothed = ctx.settings.GetIni(kSection, QStringLiteral("DrawStyle"), QStringLiteral("0"), kZevIni) == "1";
    (smoothed ? smooth_ : stairs_)->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, [this](int id) {
        ctx_.settings.SetIni(kSection, QStringLiteral("DrawStyle"), QString::number(id), kZevIni);
    });
    grid->addWidget(stairs_, 3, 0, 1, 3);
    grid->addWidget(smooth_, 4, 0, 1, 3);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(1, 1);
}

QSlider* TrendStylePage::slider(const char* name, const char* key, int text, int lo, int hi, int def, int row) {
    auto* grid = static_cast<QGridLayout*>(layout());
    auto* caption = new QLabel(ctx_.texts(text), this);
    auto* s = new QSlider(Qt::Horizontal, this);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(lo, hi);
    s->setMinimumHeight(40);
    caption->setBuddy(s);
    s->setAccessibleName(caption->text());
    auto* value = new QLabel(this);
    value->setMinimumWidth(40);
    const QString k = QString::fromLatin1(key);
    bool ok = false;
    const int stored = ctx_.settings.GetIni(kSection, k, QString::number(def), kZevIni).toInt(&ok);
    s->setValue(ok ? std::clamp(stored, lo, hi) : def);
    value->setNum(s->value());
    connect(s, &QSlider::valueChanged, value, qOverload<int>(&QLabel::setNum));
    // Stored when the operator lets go, not at every step of a drag.
    auto store = [this, s, k] { ctx_.settings.SetIni(kSection, k, QString::number(s->value()), kZevIni); };
    connect(s, &QSlider::valueChanged, this, [s, store] {
        if (!s->isSliderDown()) store();
    });
    connect(s, &QSlider::sliderReleased, this, store);
    grid->addWidget(caption, row, 0);
    grid->addWidget(s, row, 1);
    grid->addWidget(value, row, 2);
    return s;
}

}  // namespace zev
