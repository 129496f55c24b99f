#include "views/overview_style.h"

#include "widgets/touch_style.h"

#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>

namespace zev::overview_style {

void mainTabs(QTabBar* bar) {
    bar->setFont(touch::captionFont());
    bar->setDrawBase(false);
    bar->setExpanding(false);
    bar->setStyleSheet(QStringLiteral(
        "QTabBar::tab { min-height: 40px; padding: 2px 34px; margin-right: 3px;"
        " background: #DDE1E6; border: 1px solid #9AA3AD; border-bottom: none; }"
        "QTabBar::tab:selected { background: #2F3B4A; color: white; }"));
}

void subTabs(QTabBar* bar) {
    bar->setFont(touch::captionFont());
    bar->setDrawBase(false);
    bar->setExpanding(true);
    bar->setStyleSheet(QStringLiteral(
        "QTabBar::tab { min-height: 36px; padding: 2px 8px; background: #EEF0F2;"
        " border: 1px solid #C4CAD0; border-bottom: 4px solid #EEF0F2; }"
        "QTabBar::tab:selected { background: white; border-bottom: 4px solid #2F3B4A; }"));
}

void pageScrollBar(QScrollBar* bar) {
    bar->setFixedWidth(kScrollWidth);
    // The arrows are separate buttons (pageButton): the bar keeps groove and handle.
    bar->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { width: %1px; background: #E4E7EA; margin: 0; }"
        "QScrollBar::handle:vertical { background: #7F8B97; min-height: 48px; margin: 3px; border-radius: 4px; }"
        "QScrollBar::handle:vertical:disabled { background: #C8CDD2; }"
        "QScrollBar::sub-line:vertical, QScrollBar::add-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
                           .arg(kScrollWidth));
}

void pageButton(QToolButton* button, Qt::ArrowType arrow) {
    // Drawn as a symbol: the style's arrow indicators stay tiny at any button size.
    button->setText(QString(QChar(arrow == Qt::UpArrow ? 0x25B2 : 0x25BC)));
    QFont f = button->font();
    f.setPixelSize(kScrollWidth * 2 / 5);
    button->setFont(f);
    button->setFixedSize(kScrollWidth, kScrollWidth);
    button->setAutoRepeat(true);
}

}  // namespace zev::overview_style
