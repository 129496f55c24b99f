// Every control an operator can touch in the real main window has a name that
// assistive tools (screen readers, GUI automation through the accessibility
// bridge) can read: its caption, or for the zones the zone and its value.
#include "recording_bus.h"
#include "test_context.h"

#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "shell/startup.h"
#include "views/detail_panel.h"
#include "views/deviation_bar.h"
#include "views/face_plate.h"
#include "views/overview_view.h"
#include "views/total_panel.h"
#include "views/zone_tile.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <gtest/gtest.h>

using namespace zev;

namespace {

QString accessibleName(QObject* object) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(object);
    return a ? a->text(QAccessible::Name) : QString();
}

// Hidden on purpose (not merely a page that is not shown now).
bool leftOut(const QWidget* w, const QWidget* top) {
    for (; w && w != top; w = w->parentWidget())
        if (w->isHidden() && !qobject_cast<const QStackedWidget*>(w->parentWidget())) return true;
    return false;
}

// The scroll bars of a list, table or text and a table's corner button belong
// to it: assistive tools announce them as its parts.
bool partOfAnArea(const QWidget* w) {
    const QWidget* container = w->parentWidget();
    if (qobject_cast<const QAbstractItemView*>(container) && qobject_cast<const QAbstractButton*>(w)) return true;
    return container && qobject_cast<const QAbstractScrollArea*>(container->parentWidget()) &&
           container->objectName().startsWith(QLatin1String("qt_scrollarea_"));
}

bool touchable(QWidget* w, MainWindow& main) {
    if (partOfAnArea(w)) return false;
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QAbstractSlider*>(w) || qobject_cast<ClickLabel*>(w) ||
           qobject_cast<ZoneTile*>(w) || qobject_cast<FacePlate*>(w) || qobject_cast<ZoneTile*>(w->parentWidget()) ||
           qobject_cast<FacePlate*>(w->parentWidget()) || w == main.lblStatusbar(0);
}

class Accessibility : public ::testing::Test {
protected:
    Accessibility() {
        tc.home.write(QStringLiteral("zev.ini"), "[SERIAL]\r\nONLINE=0\r\n");
        Form_Load(*tc.ctx, main, splash);
        main.resize(1024, 768);
        main.show();
        main.TmrDate_Timer();  // the clock shows the time
    }
    ~Accessibility() override { main.unloadViews(); }
    OverviewView* overview() { return static_cast<OverviewView*>(main.view(kViewOverview)); }

    test::RecordingBus bus;
    test::TestContext tc{1, &bus};
    SplashWindow splash;
    MainWindow main{*tc.ctx, splash};
};

TEST_F(Accessibility, EveryTouchableControlOfTheMainWindowHasAName) {
    QStringList unnamed;
    int checked = 0;
    for (QWidget* w : main.findChildren<QWidget*>()) {
        if (leftOut(w, &main)) continue;
        if (auto* bar = qobject_cast<QTabBar*>(w)) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(bar);
            for (int i = 0; a && i < a->childCount(); ++i, ++checked)
                if (a->child(i)->text(QAccessible::Name).trimmed().isEmpty())
                    unnamed << bar->objectName() + QStringLiteral(" tab %1").arg(i);
            continue;
        }
        if (!touchable(w, main)) continue;
        ++checked;
        if (accessibleName(w).trimmed().isEmpty())
            unnamed << QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName() + QStringLiteral(" in ") +
                           (w->parentWidget() ? w->parentWidget()->objectName() : QString());
    }
    EXPECT_GT(checked, 300);  // 270 tiles and their fields, the plates, the pages' controls
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QLatin1Char('\n')).toStdString();
}

TEST_F(Accessibility, ZoneFieldsSayTheZoneAndTheValueTheyShow) {
    TotalPanel* total = overview()->totalPanel();
    ASSERT_TRUE(total->singleValue());  // offline: 270 zones, one value per tile
    ZoneTile* tile = total->tile(2);
    EXPECT_EQ(accessibleName(tile), QStringLiteral("Zone 3"));
    EXPECT_EQ(accessibleName(tile->dispX1()), QStringLiteral("Zone 3 Istwert"));
    total->SSTab1(0)->setCurrentIndex(TotalPanel::kSingleDifference);
    EXPECT_EQ(accessibleName(tile->dispX1()), QStringLiteral("Zone 3 Istwert - Sollwert"));
    total->SSTab1(0)->setCurrentIndex(TotalPanel::kSingleCurrent);
    EXPECT_EQ(accessibleName(tile->dispX1()), QStringLiteral("Zone 3 Heizstrom"));

    DetailPanel* detail = overview()->detailPanel();
    detail->scrBereich()->setValue(1);  // the second page: zones 16 to 30
    FacePlate* plate = detail->plate(0);
    EXPECT_EQ(accessibleName(plate), QStringLiteral("Zone 16"));
    EXPECT_EQ(accessibleName(plate->dispW2()), QStringLiteral("Zone 16 Sollwert"));
    EXPECT_EQ(accessibleName(plate->dispY2()), QStringLiteral("Zone 16 Stellgrad"));
    EXPECT_EQ(accessibleName(plate->picDiff()), QStringLiteral("Zone 16 Istwert - Sollwert"));
}

}  // namespace
