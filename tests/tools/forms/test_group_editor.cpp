// The group editor and the group settings page: press-and-drag assignment with
// synthetic mouse events (touch reaches the widgets as these), marking, the
// change flag and 0x401 on leaving, the settings table's cells. The screenshot
// tests write PNG files when ZEV_SCREENSHOT_DIR names a directory:
//   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb ZEV_SCREENSHOT_DIR=docs/screenshots
//     build/bin/test_tools_forms --gtest_filter='GroupScreens.*'
#include "screenshots.h"
#include "test_context.h"

#include "base/settings.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "shell/config_view.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "tools/active_tool.h"
#include "tools/forms/group_editor.h"
#include "tools/forms/group_settings_page.h"
#include "tools/forms/zone_tile_board.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace zev::test {
namespace {

const QString kIni = QStringLiteral("TOOLS/STANDARD/SETTINGS.INI");

class GroupForms : public ::testing::Test {
protected:
    void SetUp() override {
        {
            Settings::Batch batch(*tc.settings);
            LoadActiveTool(*tc.ctx);
        }
        tc.ctx->plant.ZoneCount = 270;
        tc.users->loadLevelNames();
        tc.users->loadPasswords();
        tc.answer({QStringLiteral("harbour")});
        ASSERT_TRUE(tc.users->TryChangeUserLevel(4));
    }
    QByteArray ini() { return tc.home.read(kIni); }
    int group(int z) { return tc.ctx->plant.zone(z).Group; }
    TestContext tc;
};

// Synthetic pointer events, as Qt delivers a finger on the panel.
void pointer(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void press(QWidget* w, QPoint at) { pointer(w, QEvent::MouseButtonPress, at, Qt::LeftButton); }
void release(QWidget* w, QPoint at) { pointer(w, QEvent::MouseButtonRelease, at, Qt::NoButton); }

// A drag from the first zone's tile across the others, ending with the release
// on the last; the pointer also passes the gaps between tiles.
void drag(ZoneTileBoard* board, std::initializer_list<int> zones) {
    bool first = true;
    QPoint last;
    for (int z : zones) {
        const QPoint at = board->tileRect(z).center();
        if (first) {
            press(board, at);
        } else {
            pointer(board, QEvent::MouseMove, (last + at) / 2, Qt::LeftButton);
            pointer(board, QEvent::MouseMove, at, Qt::LeftButton);
        }
        last = at;
        first = false;
    }
    release(board, last);
}

TEST_F(GroupForms, PressAndDragAssignsEveryTileReachedAndStoresAtOnce) {
    GroupEditor editor(*tc.ctx);
    editor.resize(1024, 700);
    editor.show();
    ZoneTileBoard* board = editor.board();
    editor.groupOption(3)->click();
    ASSERT_EQ(editor.option(), 3);
    // Zones 1, 2, 3 in a row, then down to 23 (rows of twenty at 270 zones).
    drag(board, {1, 2, 3, 23});
    pointer(board, QEvent::MouseMove, board->tileRect(24).center(), Qt::NoButton);  // after the release: nothing
    for (int z : {1, 2, 3, 23}) EXPECT_EQ(group(z), 3) << z;
    for (int z : {4, 22, 24}) EXPECT_EQ(group(z), 0) << z;
    const QByteArray file = ini();
    for (const char* s : {"[ZONE_001]\r\nNAME=ZONE 001\r\nGROUP=3\r\n", "[ZONE_023]\r\nNAME=ZONE 023\r\nGROUP=3\r\n",
                          "[ZONE_024]\r\nNAME=ZONE 024\r\nGROUP=0\r\n"})
        EXPECT_TRUE(file.contains(s)) << s;
    EXPECT_TRUE(editor.changed());

    // Leaving tells the views once, synchronously; leaving again without changes does not.
    int told = 0;
    QObject owner;
    tc.hub.subscribe(0x401, &owner, [&] { ++told; });
    editor.leaving();
    EXPECT_EQ(told, 1);
    editor.leaving();
    EXPECT_EQ(told, 1);
}

TEST_F(GroupForms, SelectionDragGivesEveryTileTheStateOfTheFirst) {
    GroupEditor editor(*tc.ctx);
    editor.resize(1024, 700);
    editor.show();
    ZoneTileBoard* board = editor.board();
    ASSERT_EQ(editor.option(), GroupEditor::kSelectionOption);  // the editor opens on marking
    tc.ctx->plant.zone(12).Selected = true;
    drag(board, {10, 11, 12});
    for (int z : {10, 11, 12}) EXPECT_TRUE(tc.ctx->plant.zone(z).Selected) << z;
    drag(board, {11, 12, 13});  // begins on a marked zone: unmarks
    EXPECT_TRUE(tc.ctx->plant.zone(10).Selected);
    for (int z : {11, 12, 13}) EXPECT_FALSE(tc.ctx->plant.zone(z).Selected) << z;
    EXPECT_FALSE(editor.changed());  // marks are no assignment
    for (int z : {10, 11}) EXPECT_EQ(group(z), 0);
}

TEST_F(GroupForms, AGroupNotInUseCannotBeChosenAndItsZonesShowAsWithoutGroup) {
    tc.ctx->tool.Groups[4].Use = false;
    GroupEditor editor(*tc.ctx);
    EXPECT_FALSE(editor.groupOption(4)->isEnabled());
    EXPECT_TRUE(editor.groupOption(5)->isEnabled());
    EXPECT_EQ(editor.groupOption(0)->text(), QStringLiteral("Gruppenlos"));
    EXPECT_EQ(editor.groupOption(1)->text(), QStringLiteral("Gruppe 1"));
    tc.ctx->plant.zone(9).Group = 4;
    editor.leaving();
    EXPECT_EQ(group(9), 0);
}

TEST_F(GroupForms, RenameFromTheEditorAndTheNumbersView) {
    GroupEditor editor(*tc.ctx);
    for (int z : {30, 31, 32}) tc.ctx->plant.zone(z).Selected = true;
    tc.answer({QStringLiteral("Heißkanal 8")});
    editor.renameButton()->click();
    EXPECT_EQ(tc.ctx->plant.zone(32).Name, QStringLiteral("Heißkanal 10"));
    editor.optZoneNameView_Click(false);
    EXPECT_FALSE(editor.renameButton()->isEnabled());
    EXPECT_EQ(tc.ctx->plant.zone(32).Name, QStringLiteral("Zone 032"));
    editor.optZoneNameView_Click(true);
    EXPECT_TRUE(editor.renameButton()->isEnabled());
    EXPECT_EQ(tc.ctx->plant.zone(30).Name, QStringLiteral("Heißkanal 08"));
}

TEST_F(GroupForms, SettingsTableCellsToggleAndEditTheirGroup) {
    GroupSettingsPage page(*tc.ctx);
    QTableWidget* t = page.table();
    EXPECT_EQ(t->item(2, GroupSettingsPage::kColUse)->text(), QStringLiteral("ja"));
    page.MSFlexGrid1_Click(2, GroupSettingsPage::kColUse);
    page.MSFlexGrid1_Click(2, GroupSettingsPage::kColLock);
    tc.answer({QStringLiteral("77")});
    page.MSFlexGrid1_Click(2, GroupSettingsPage::kColDiagPower);
    EXPECT_EQ(t->item(2, GroupSettingsPage::kColUse)->text(), QStringLiteral("nein"));
    EXPECT_EQ(t->item(2, GroupSettingsPage::kColLock)->text(), QStringLiteral("geschützt"));
    EXPECT_EQ(t->item(2, GroupSettingsPage::kColDiagPower)->text(), QStringLiteral("77 %"));
    EXPECT_TRUE(ini().contains("[GROUP_003]\r\nNAME=Gruppe 3\r\nCOLOR=8454016\r\nUSE=False\r\nLOCK_W=True\r\n"));
    EXPECT_TRUE(ini().contains("DIAGPOWER=77\r\n"));
    EXPECT_FALSE(tc.ctx->tool.Groups[3].Use);
    EXPECT_TRUE(tc.ctx->tool.Groups[2].Use);  // the neighbours stay
    EXPECT_TRUE(tc.ctx->tool.Groups[4].Use);
    tc.answer({QStringLiteral("Anguss")});
    t->selectRow(5);
    page.cmdChangeName_Click();
    EXPECT_EQ(t->item(5, GroupSettingsPage::kColName)->text(), QStringLiteral("Anguss"));
    EXPECT_EQ(tc.ctx->tool.Groups[6].Name, QStringLiteral("Anguss"));
}

// The editor with 270 zones and the settings page in the main window.
using GroupScreens = GroupForms;

TEST_F(GroupScreens, EditorWith270ZonesAndTheSettingsPage) {
    for (int z = 1; z <= 270; ++z) tc.ctx->plant.zone(z).Group = static_cast<std::uint8_t>((z - 1) / 34 + 1 > 8 ? 0 : (z - 1) / 34 + 1);
    for (int z = 41; z <= 47; ++z) tc.ctx->plant.zone(z).Selected = true;
    tc.ctx->tool.Groups[6].Use = false;
    SplashWindow splash;
    MainWindow main(*tc.ctx, splash);
    main.InitForms();
    main.setGeometry(0, 0, 1024, 768);
    main.show();
    main.selectTab(kViewGroups);
    auto* editor = dynamic_cast<GroupEditor*>(main.view(kViewGroups));
    ASSERT_NE(editor, nullptr);
    QApplication::processEvents();
    // Every tile lies inside the board, the last one too.
    EXPECT_TRUE(editor->board()->rect().contains(editor->board()->tileRect(270)));
    EXPECT_GE(editor->board()->tileRect(270).height(), 30);
    saveMainWindowShot(main, QStringLiteral("group-editor.png"));

    main.selectTab(kViewConfiguration);
    auto* config = dynamic_cast<ConfigView*>(main.view(kViewConfiguration));
    ASSERT_NE(config, nullptr);
    config->pages()->setCurrentIndex(kPageGroups);
    auto* page = config->pages()->currentWidget()->findChild<GroupSettingsPage*>();
    if (!page) page = qobject_cast<GroupSettingsPage*>(config->pages()->currentWidget());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->table()->item(5, GroupSettingsPage::kColUse)->text(), QStringLiteral("nein"));
    saveMainWindowShot(main, QStringLiteral("group-settings.png"));
    main.unloadViews();
}

}  // namespace
}  // namespace zev::test
