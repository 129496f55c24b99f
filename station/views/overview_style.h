// The overview's touch-sized controls: its own tab strip, the tab strips of its
// panels (lighter, so that the two levels are told apart at a glance), and a
// scroll bar with arrow buttons a finger can hit.
#pragma once

#include <Qt>

class QScrollBar;
class QTabBar;
class QToolButton;

namespace zev::overview_style {

constexpr int kScrollWidth = 56;

void mainTabs(QTabBar* bar);
void subTabs(QTabBar* bar);
void pageScrollBar(QScrollBar* bar);
// The arrow buttons above and below the page scroll bar.
void pageButton(QToolButton* button, Qt::ArrowType arrow);

}  // namespace zev::overview_style
