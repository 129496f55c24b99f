// frmOverview: opening tab, the "-" rule, the Total view's tab strips, the
// Detail view's paging, refreshing, notifications and clicks.
#include "overview_fixture.h"

#include "base/notification_hub.h"
#include "views/detail_panel.h"
#include "views/deviation_bar.h"
#include "widgets/display_rules.h"
#include "views/face_plate.h"
#include "widgets/group_look.h"
#include "views/help_panel.h"
#include "views/overview_view.h"
#include "views/total_panel.h"
#include "views/zone_tile.h"
#include "base/navigation.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTabBar>
#include <memory>

namespace zev::test {
namespace {

class Overview : public OverviewFixture {
protected:
    OverviewView& open(int zones) {
        fillZones(zones);
        view = std::make_unique<OverviewView>(ctx);
        view->resize(1024, 640);
        view->show();  // laid out as on the panel
        return *view;
    }
    TotalPanel& total() { return *view->totalPanel(); }
    DetailPanel& detail() { return *view->detailPanel(); }
    void choose(int tab) { view->tabOverview()->setCurrentIndex(tab); }
    static void click(QWidget* w) {
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }
    std::unique_ptr<OverviewView> view;
};

TEST_F(Overview, OpensOnTotalBelowSeventySixZones) {
    EXPECT_EQ(open(75).tabOverview()->currentIndex(), OverviewView::kTabTotal);
    EXPECT_EQ(view->shownPanel(), view->totalPanel());
    EXPECT_EQ(open(76).tabOverview()->currentIndex(), OverviewView::kTabDetail);
    EXPECT_EQ(view->shownPanel(), view->detailPanel());
    EXPECT_EQ(open(0).tabOverview()->currentIndex(), OverviewView::kTabTotal);
    EXPECT_EQ(total().tileCount(), 0);
}

TEST_F(Overview, CaptionsAndLoadingTexts) {
    open(24);
    QTabBar* tabs = view->tabOverview();
    EXPECT_EQ(tabs->tabText(0), "   Hilfe");
    EXPECT_EQ(tabs->tabText(1), "-");
    EXPECT_EQ(tabs->tabText(2), "  Total");
    EXPECT_EQ(tabs->tabText(3), " Detail");
    EXPECT_EQ(tabs->tabText(4), "-");
    EXPECT_TRUE(tc.progress.history.contains("Lade Totalansicht..."));
    EXPECT_TRUE(tc.progress.history.contains("Lade Detailansicht..."));
    EXPECT_EQ(view->helpPanel()->SSTab2()->tabText(0), "Wartungsanweisung");
}

TEST_F(Overview, SpacerTabsCannotBeChosen) {
    open(24);
    choose(OverviewView::kTabSpareDetail);
    EXPECT_EQ(view->tabOverview()->currentIndex(), OverviewView::kTabTotal);
    EXPECT_EQ(view->shownPanel(), view->totalPanel());
    choose(OverviewView::kTabDetail);
    choose(OverviewView::kTabSpareTotal);
    EXPECT_EQ(view->tabOverview()->currentIndex(), OverviewView::kTabDetail);
    EXPECT_EQ(view->shownPanel(), view->detailPanel());
    choose(OverviewView::kTabHelp);
    EXPECT_EQ(view->shownPanel(), view->helpPanel());
}

TEST_F(Overview, EnteringOrChangingTabRefreshesAndANewZoneCountLaysOutAgain) {
    open(24);
    EXPECT_TRUE(view->entering(kViewTrend));
    EXPECT_EQ(total().tile(0)->dispX1()->text(), "198 °C");
    choose(OverviewView::kTabDetail);
    EXPECT_EQ(detail().plate(0)->dispX2()->text(), "198 °C");
    zone(1).ActualValue = 150;
    choose(OverviewView::kTabTotal);
    EXPECT_EQ(total().tile(0)->dispX1()->text(), "150 °C");
    fillZones(40);
    view->RefreshValues();
    EXPECT_EQ(total().tileCount(), 40);
    EXPECT_EQ(total().tile(39)->dispX1()->text(), "198 °C");
}

TEST_F(Overview, UpToOneHundredFiftyZonesTwoValuesPerTile) {
    open(150);
    ASSERT_EQ(total().tileCount(), 150);
    EXPECT_FALSE(total().singleValue());
    EXPECT_EQ(total().SSTab1(1)->count(), 3);
    EXPECT_EQ(total().SSTab1(1)->tabText(1), "Temperaturdifferenzen [ °C ]");
    choose(OverviewView::kTabTotal);
    ZoneTile* t = total().tile(149);
    EXPECT_EQ(t->Label1()->text(), "150");
    EXPECT_EQ(t->dispX1()->text(), "198 °C");
    EXPECT_EQ(t->dispW1()->text(), "200 °C");
    EXPECT_EQ(currentLook(t->dispW1()).back, look::yellow());
    total().SSTab1(1)->setCurrentIndex(TotalPanel::kPairDifference);
    EXPECT_EQ(t->dispX1()->text(), "-2 °C");
    EXPECT_EQ(currentLook(t->dispW1()).back, look::white());
    total().SSTab1(1)->setCurrentIndex(TotalPanel::kPairPowerCurrent);
    EXPECT_EQ(t->dispX1()->text(), "35 %");
    EXPECT_EQ(t->dispW1()->text(), "2.5 A");
}

TEST_F(Overview, AboveOneHundredFiftyZonesOneValuePerTile) {
    open(151);
    choose(OverviewView::kTabTotal);
    EXPECT_TRUE(total().singleValue());
    QTabBar* tabs = total().SSTab1(0);
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(0), "Strom [A]");
    EXPECT_EQ(tabs->tabText(4), "Istwerte [°C]");
    ZoneTile* t = total().tile(150);
    EXPECT_TRUE(t->dispW1()->isHidden());
    const char* expected[] = {"2.5 A", "35 %", "-2 °C", "200 °C", "198 °C"};
    for (int i = 0; i < 5; ++i) {
        tabs->setCurrentIndex(i);
        EXPECT_EQ(t->dispX1()->text(), expected[i]) << i;
    }
}

TEST_F(Overview, DetailPagesMoveInStepsOfFifteen) {
    open(20);
    choose(OverviewView::kTabDetail);
    QScrollBar* scr = detail().scrBereich();
    EXPECT_EQ(scr->maximum(), 1);
    EXPECT_EQ(detail().plate(0)->zone(), 1);
    scr->setValue(1);
    EXPECT_EQ(detail().firstZone(), 15);
    EXPECT_EQ(detail().plate(0)->zone(), 16);
    EXPECT_EQ(detail().plate(0)->caption()->text(), "ZONE 016");
    EXPECT_EQ(detail().plate(4)->zone(), 20);
    EXPECT_EQ(detail().plate(4)->dispX2()->text(), "198 °C");  // refreshed at once
    for (int i = 5; i < DetailPanel::kPlates; ++i) EXPECT_TRUE(detail().plate(i)->isHidden()) << i;
    scr->setValue(0);
    EXPECT_FALSE(detail().plate(14)->isHidden());

    open(270);
    EXPECT_EQ(detail().scrBereich()->maximum(), 17);
    detail().scrBereich()->setValue(17);
    EXPECT_EQ(detail().plate(14)->zone(), 270);
}

TEST_F(Overview, NothingIsReadOfflineAndOldValuesGo) {
    open(24);
    view->RefreshValues();
    EXPECT_EQ(total().tile(0)->dispX1()->text(), "198 °C");
    ctx.link->goOffline();
    zone(1).ActualValue = 150;
    view->RefreshValues();
    // Neither the new value (not read offline) nor the old one (not current).
    EXPECT_EQ(total().tile(0)->dispX1()->text(), "");
    EXPECT_EQ(currentLook(total().tile(0)->dispX1()), blankLook());
    total().SSTab1(1)->setCurrentIndex(TotalPanel::kPairPowerCurrent);
    choose(OverviewView::kTabDetail);
    detail().scrBereich()->setValue(1);
    EXPECT_EQ(total().tile(0)->dispW1()->text(), "");
    EXPECT_EQ(detail().plate(0)->dispX2()->text(), "");
    EXPECT_EQ(detail().plate(0)->zone(), 16);  // the plates still follow the page
}

TEST_F(Overview, UnchangedRefreshRepaintsNothing) {
    open(60);
    view->RefreshValues();
    QApplication::processEvents();
    EventCounter counter;
    for (int i = 0; i < total().tileCount(); ++i) {
        counter.watch(total().tile(i)->dispX1());
        counter.watch(total().tile(i)->dispW1());
    }
    view->RefreshValues();
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    EXPECT_TRUE(total().updatesEnabled());
    // One changed value: the view is repainted (in one step), and repainting is
    // enabled again afterwards.
    zone(7).ActualValue = 150;
    view->RefreshValues();
    EXPECT_TRUE(total().findChild<QWidget*>("tileArea")->updatesEnabled());
    QApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(total().tile(6)->dispX1()->text(), "150 °C");
}

TEST_F(Overview, GroupNotificationsRecolour) {
    open(24);
    choose(OverviewView::kTabDetail);
    // Zone 2 is in group 1.
    ZoneTile* tile = total().tile(1);
    FacePlate* plate = detail().plate(1);
    EXPECT_EQ(tile->Label1()->palette().color(QPalette::Window), groupColour(ctx, 1));
    EXPECT_EQ(plate->lblGrpColor()->text(), "Gruppe 1");

    ctx.tool.Groups[1].Color = 0x0000FF;
    ctx.hub.send(Msg::GroupColoursChanged);
    EXPECT_EQ(tile->Label1()->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(plate->lblGrpColor()->palette().color(QPalette::Window), QColor(255, 0, 0));

    ctx.tool.Groups[1].Use = false;
    ctx.hub.post(Msg::GroupUseChanged);  // queued: nothing yet
    EXPECT_EQ(plate->lblGrpColor()->text(), "Gruppe 1");
    QApplication::processEvents();
    EXPECT_EQ(plate->lblGrpColor()->text(), "Gruppenlos");
    EXPECT_EQ(plate->group(), 0);

    zone(2).Group = 2;
    ctx.tool.Groups[1].Use = true;
    ctx.hub.send(Msg::GroupAssignmentChanged);
    EXPECT_EQ(plate->lblGrpColor()->text(), "Gruppe 2");
    EXPECT_EQ(tile->Label1()->palette().color(QPalette::Window), groupColour(ctx, 2));
}

TEST_F(Overview, NameAndUnitNotifications) {
    open(24);
    zone(1).Name = QStringLiteral("Düse links");
    ctx.hub.send(Msg::ZoneNamesChanged);
    EXPECT_EQ(detail().plate(0)->caption()->text(), "Düse links");

    EXPECT_EQ(detail().plate(0)->lblX2()->text(), "X[°C]");
    ctx.plant.TemperatureUnit = QStringLiteral("°F");
    ctx.hub.send(Msg::UnitChecked);
    EXPECT_EQ(detail().plate(0)->lblX2()->text(), "X[°F]");
    EXPECT_EQ(detail().plate(0)->lblW2()->text(), "W[°F]");
    EXPECT_EQ(total().SSTab1(0)->tabText(2), "Differenz [°F]");
    EXPECT_EQ(total().SSTab1(1)->tabText(2), "Sollwerte und Istwerte  [°F]");
}

TEST_F(Overview, ClicksAskTheNavigationForTheirZoneOrGroup) {
    open(24);
    click(total().tile(4));  // nobody listens yet: nothing happens
    QList<int> zones, groups;
    QObject::connect(&ctx.navigation, &Navigation::zoneRequested, [&](int z) { zones << z; });
    QObject::connect(&ctx.navigation, &Navigation::groupRequested, [&](int g) { groups << g; });
    click(total().tile(4));
    click(total().tile(5)->dispX1());  // a value passes the click on to its tile
    choose(OverviewView::kTabDetail);
    click(detail().plate(2)->picDiff());
    click(detail().plate(3)->lblGrpColor());
    EXPECT_EQ(zones, (QList<int>{5, 6, 3}));
    EXPECT_EQ(groups, (QList<int>{3}));
}

}  // namespace
}  // namespace zev::test
