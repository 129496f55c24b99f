// The alarm view: its captions in both languages, the list on the newest
// record, the filter controls, the lock, acknowledge and reset at level 2, and
// the configuration page of the database.
#include "alarm_fixture.h"
#include "link/link_session.h"

#include "alarms/forms/alarm_db_page.h"
#include "alarms/forms/alarm_list_model.h"
#include "alarms/forms/alarm_view.h"
#include "alarms/forms/top_ten_panel.h"
#include "widgets/zone_selection_panel.h"
#include "support/user_levels.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>

namespace zev::test {
namespace {

class AlarmViewTest : public AlarmTest {
protected:
    explicit AlarmViewTest(int language = 1) : AlarmTest(language) {
        ctx().plant.ZoneCount = 4;
        for (int z = 1; z <= 4; ++z) ctx().plant.zone(z).Name = QStringLiteral("Düse %1").arg(z);
        ctx().plant.zone(3).Group = 1;
        ctx().tool.Groups[1].Name = QStringLiteral("Verteiler");
        ctx().tool.Groups[1].Use = true;
        t.users->loadLevelNames();
        t.users->loadPasswords();
    }
    // The view shows the log the program opens before the views (the link
    // session's; here the fixture's).
    void load() {
        if (!ctx().alarmLog) open();
        view = std::make_unique<AlarmView>(ctx());
    }
    int rows() const { return view->model()->rowCount(); }
    QString cell(int row, int column) const {
        return view->model()->data(view->model()->index(row, column)).toString();
    }
    std::unique_ptr<AlarmView> view;
};

TEST_F(AlarmViewTest, ShowsTheLinkSessionsLogWhichOutlivesTheView) {
    t.link->start(false);
    load();
    EXPECT_EQ(view->log(), ctx().alarmLog);
    EXPECT_TRUE(QFileInfo::exists(dbPath()));
    view.reset();
    ASSERT_NE(ctx().alarmLog, nullptr);
    ctx().alarmLog->ErrLog(1, QStringLiteral("USER"), 0, QStringLiteral("Nach der Ansicht."));
    ASSERT_FALSE(records().empty());
    EXPECT_EQ(records().back().meldung, QStringLiteral("Nach der Ansicht."));
}

TEST_F(AlarmViewTest, TheListShowsTheNewestRecordFirstAndStandsOnIt) {
    load();
    {
        AlarmLog::Batch pass(*view->log());
        for (int i = 1; i <= 300; ++i) {
            t.clock.advance(1);
            view->log()->ErrLog(1, QStringLiteral("Düse 1"), 1, QStringLiteral("Nr. %1").arg(i));
        }
        pass.commit();
    }
    view->RefreshData(false);
    EXPECT_EQ(cell(0, LogColumn::Meldung), "Nr. 300");
    EXPECT_EQ(cell(0, LogColumn::Typ), "Meldungen");
    EXPECT_EQ(cell(0, LogColumn::Kommt), t.clock.now().toString("dd.MM.yy HH:mm:ss"));
    EXPECT_EQ(view->list()->currentIndex().row(), 0);
    EXPECT_EQ(view->model()->headerData(LogColumn::Quelle, Qt::Horizontal).toString(), "Quelle");
    EXPECT_EQ(view->model()->headerData(LogColumn::Quittiert, Qt::Horizontal).toString(), "Quittiert");
}

TEST_F(AlarmViewTest, FilterControlsRebuildTheQuery) {
    load();
    view->log()->ErrLog(0, QStringLiteral("SYSTEM"), 0, QStringLiteral("e"));
    view->log()->ErrLog(2, QStringLiteral("Düse 3"), 3, QStringLiteral("Fühlerbruch"));
    view->log()->ErrLog(2, QStringLiteral("Düse 1"), 1, QStringLiteral("Temperatur L"));
    view->RefreshData(false);
    EXPECT_EQ(view->filterClause(), "WHERE TRUE");
    EXPECT_EQ(rows(), 3);
    view->chkWhat(0)->setChecked(false);
    EXPECT_EQ(view->filterClause(), "WHERE Typ <> 0");
    EXPECT_EQ(rows(), 2);
    view->selection()->groupBox(0)->setChecked(false);  // only group 1 (zone 3) stays
    EXPECT_EQ(view->filterClause(), "WHERE Typ <> 0 AND Adresse IN ('3' )");
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, LogColumn::Quelle), "Düse 3");
    view->selection()->groupBox(1)->setChecked(false);
    EXPECT_EQ(view->filterClause(), "WHERE Kommt IS NULL");
    EXPECT_EQ(rows(), 0);
    view->selection()->setSingleZone(1);
    view->selection()->singleZoneBox()->setChecked(true);
    EXPECT_EQ(view->filterClause(), "WHERE Typ <> 0 AND Adresse IN ('1' )");
    view->chkAcknowledged()->setChecked(false);
    view->chkNewOnly()->setChecked(true);
    EXPECT_EQ(view->filterClause(), "WHERE Quittiert IS NULL AND Kommt > " + view->log()->startStamp() +
                                        " AND Geht IS NULL AND Typ <> 0 AND Adresse IN ('1' )");
}

TEST_F(AlarmViewTest, TheLockHoldsTheListUntilReleased) {
    load();
    view->log()->ErrLog(1, QStringLiteral("Düse 1"), 1, QStringLiteral("first"));
    view->RefreshData(false);
    view->chkLock()->setChecked(true);
    view->log()->ErrLog(1, QStringLiteral("Düse 1"), 1, QStringLiteral("second"));
    view->RefreshData(false);
    EXPECT_EQ(rows(), 1);
    view->chkLock()->setChecked(false);  // re-reads once
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(cell(0, LogColumn::Meldung), "second");
    // The list is read only while its tab is shown; choosing the tab reads it.
    view->tabs()->setCurrentIndex(AlarmView::kTabStatistics);
    view->log()->ErrLog(1, QStringLiteral("Düse 1"), 1, QStringLiteral("third"));
    view->RefreshData(false);
    EXPECT_EQ(rows(), 2);
    view->tabs()->setCurrentIndex(AlarmView::kTabList);
    EXPECT_EQ(rows(), 3);
}

TEST_F(AlarmViewTest, AcknowledgeStampsTheWholeListAtLevelTwo) {
    load();
    view->log()->ErrLog(2, QStringLiteral("Düse 1"), 1, QStringLiteral("Fühlerbruch"));
    view->log()->ErrLog(2, QStringLiteral("Düse 3"), 3, QStringLiteral("Fühlerbruch"));
    view->selection()->groupBox(1)->setChecked(false);  // zone 3 is not listed
    t.answer({QStringLiteral("1")});                    // "Abbruch" at the level prompt
    view->cmdAcknowledge_Click();
    EXPECT_TRUE(records(QStringLiteral("WHERE Quittiert IS NOT NULL")).empty());
    t.clock.advance(5);
    t.answer({QStringLiteral("2"), QStringLiteral("58")});  // Login with the level-2 password
    view->cmdAcknowledge_Click();
    const auto done = records(QStringLiteral("WHERE Quittiert IS NOT NULL"));
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].adresse, "1");
    EXPECT_NEAR(done[0].quittiert.toDouble(), serial(), 1e-9);
    EXPECT_EQ(t.users->UserLevel(), 3);  // "58" is level 3's password too, and the higher level wins
}

TEST_F(AlarmViewTest, ResetClearsTheFaultTimesAtLevelTwo) {
    load();
    ctx().plant.zone(2).AlarmSeconds = 3661;
    view->RefreshTopTen();
    EXPECT_EQ(view->topTen()->rowText(0)->text(), "Düse 2  [ 01:01:01 ] ");
    t.answer({QStringLiteral("1")});
    view->cmdReset_Click();
    EXPECT_EQ(ctx().plant.zone(2).AlarmSeconds, 3661);
    t.answer({QStringLiteral("2"), QStringLiteral("58")});
    view->cmdReset_Click();
    EXPECT_EQ(ctx().plant.zone(2).AlarmSeconds, 0);
    EXPECT_TRUE(view->topTen()->rowText(0)->text().isEmpty());
}

TEST_F(AlarmViewTest, TheConfigurationPageShowsSizeAndDateAndCompacts) {
    load();
    AlarmDbPage page(ctx());
    EXPECT_TRUE(page.sizeLabel()->text().startsWith("Größe: "));
    EXPECT_TRUE(page.sizeLabel()->text().endsWith(" KB"));
    EXPECT_EQ(page.dateLabel()->text(), "Letzte Komprimierung: ??.??.??");
    page.cmdDBCompact_Click();
    EXPECT_EQ(page.dateLabel()->text(), "Letzte Komprimierung: " + t.clock.now().toString("dd.MM.yy HH:mm"));
    EXPECT_EQ(records().back().meldung, "Datenbank erfolgreich komprimiert.");
    // The view's list survived the compaction's closing of the file.
    view->RefreshData(false);
    EXPECT_EQ(cell(0, LogColumn::Meldung), "Datenbank erfolgreich komprimiert.");
}

class AlarmViewEnglish : public AlarmViewTest {
protected:
    AlarmViewEnglish() : AlarmViewTest(2) {}
};

TEST_F(AlarmViewEnglish, CaptionsAreEnglish) {
    load();
    const QStringList expected = {"", "occurs", "pass off", "receipted", "source", "#", "message"};
    for (int c = 0; c < LogColumn::Count; ++c)
        EXPECT_EQ(view->model()->headerData(c, Qt::Horizontal).toString(), expected[c]);
    EXPECT_EQ(view->tabs()->tabText(AlarmView::kTabStatistics), "Fault statistics");
    EXPECT_EQ(view->tabs()->tabText(AlarmView::kTabList), "System messages");
    EXPECT_EQ(view->chkWhat(2)->text(), "Alarms");
    EXPECT_EQ(view->chkNewOnly()->text(), "only actual");
    EXPECT_EQ(view->selection()->groupBox(0)->text(), "Without group");
    EXPECT_EQ(view->selection()->groupBox(1)->text(), "Verteiler");
    EXPECT_TRUE(view->selection()->groupBox(1)->isVisibleTo(view.get()));
    EXPECT_FALSE(view->selection()->groupBox(2)->isVisibleTo(view.get())) << "group 2 is not in use";
}

}  // namespace
}  // namespace zev::test
