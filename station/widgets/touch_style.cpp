#include "widgets/touch_style.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTabWidget>

#include <algorithm>

namespace zev::touch {

QFont messageFont() {
    QFont f = QApplication::font();
    f.setPointSize(15);
    return f;
}

QFont captionFont() {
    QFont f = QApplication::font();
    f.setPointSize(13);
    f.setBold(true);
    return f;
}

void makeTouchTabs(QTabWidget* tabs) {
    tabs->setStyleSheet(QStringLiteral("QTabBar::tab { min-height: 44px; padding: 4px 12px; }"));
}

void makeTouchButton(QAbstractButton* button) {
    button->setMinimumHeight(kButtonHeight);
    QFont f = button->font();
    f.setPointSize(13);
    button->setFont(f);
    // Room around the caption: a finger needs a margin, and a caption is never cut.
    button->setMinimumWidth(std::max(kButtonMinWidth, button->sizeHint().width() + 28));
}

QString applicationStyleSheet() {
    return QStringLiteral(
        "QRadioButton::indicator, QCheckBox::indicator { width: 26px; height: 26px; }"
        "QRadioButton, QCheckBox { spacing: 10px; }");
}

int ScrollBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                const QWidget* widget) const {
    // Qt has one extent for both orientations: the width wins, as the vertical
    // bars are the ones operators drag.
    if (metric == PM_ScrollBarExtent && width_ > 0) return width_;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

int ScrollBarStyle::desktopWidth() const {
    return baseStyle()->pixelMetric(PM_ScrollBarExtent);
}

int ScrollBarStyle::desktopHeight() const {
    return baseStyle()->pixelMetric(PM_ScrollBarExtent);
}

}  // namespace zev::touch
