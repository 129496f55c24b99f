#include "alarms/forms/top_ten_panel.h"

#include "base/app_context.h"
#include "widgets/touch_style.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>

namespace zev {

namespace {
QColor fromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}
}  // namespace

TopTenBar::TopTenBar(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(36);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TopTenBar::setBar(double twips, const QColor& colour) {
    if (twips == twips_ && colour == colour_) return;
    twips_ = twips;
    colour_ = colour;
    update();
}

void TopTenBar::paintEvent(QPaintEvent*) {
    if (twips_ <= 0.0) return;
    QPainter p(this);
    const int w = static_cast<int>(width() * std::min(twips_, kTopTenBarTwips) / kTopTenBarTwips + 0.5);
    const QRect r(0, 4, std::max(w, 2), height() - 8);
    p.fillRect(r, colour_);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

TopTenPanel::TopTenPanel(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("topTen"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    for (int r = 0; r < kTopTenRows; ++r) {
        auto* rank = new QLabel(QStringLiteral("%1.").arg(r + 1), this);
        rank->setFont(touch::captionFont());
        auto* text = new QLabel(this);
        text->setObjectName(QStringLiteral("lblTopTen%1").arg(r));
        text->setFont(touch::captionFont());
        text->setMinimumWidth(320);
        auto* bar = new TopTenBar(this);
        bar->setObjectName(QStringLiteral("barTopTen%1").arg(r));
        grid->addWidget(rank, r, 0, Qt::AlignRight);
        grid->addWidget(text, r, 1);
        grid->addWidget(bar, r, 2);
        texts_[static_cast<std::size_t>(r)] = text;
        bars_[static_cast<std::size_t>(r)] = bar;
    }
    grid->setColumnStretch(2, 1);
}

void TopTenPanel::clearRows() {
    for (int r = 0; r < kTopTenRows; ++r) {
        texts_[static_cast<std::size_t>(r)]->clear();
        bars_[static_cast<std::size_t>(r)]->setBar(0.0, QColor());
    }
}

void TopTenPanel::RefreshTopTen() {
    const std::vector<TopTenRow> rows = topTenRows(ctx_.plant);
    // Rows without an entry (fewer zones than rows) keep what they show.
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const TopTenRow& row = rows[r];
        if (texts_[r]->text() != row.text) texts_[r]->setText(row.text);
        QColor colour;
        if (row.zone > 0) {
            const int group = ctx_.plant.zone(row.zone).Group;
            colour = fromBgr(ctx_.tool.Groups[static_cast<std::size_t>(group <= kGroupCount ? group : 0)].Color);
        }
        bars_[r]->setBar(row.barTwips, colour);
    }
}

}  // namespace zev
