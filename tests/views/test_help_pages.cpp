// The help tab's start pages and what the browser shows of them.
#include "overview_fixture.h"

#include "base/settings.h"
#include "views/help_pages.h"
#include "views/help_panel.h"
#include "plant/tool_data.h"

#include <QTabBar>
#include <QTextBrowser>

namespace zev::test {
namespace {

class HelpPages_ : public OverviewFixture {
protected:
    void SetUp() override {
        ctx.tool.ToolDir = tc.home.file("TOOLS/FORM1/");
        ctx.tool.ToolIni = tc.home.file("TOOLS/FORM1/SETTINGS.INI");
        tc.home.write("zev.ini", "[HTML]\r\n1PAGE=index.htm\r\n3PAGE=anlage.htm\r\n");
        tc.home.write("TOOLS/FORM1/SETTINGS.INI", "[HTML]\r\n2PAGE=wartung.htm\r\n");
    }
};

TEST_F(HelpPages_, PagesNeedTheirDirectories) {
    HelpPages p = readHelpPages(ctx);
    EXPECT_EQ(p[1], "about:blank");  // no ServiceCD directory
    EXPECT_EQ(p[2], "about:blank");  // no Wartung directory
    EXPECT_EQ(p[3], "anlage.htm");
    EXPECT_EQ(pageForTab(p, kHelpMaintenance), 3);
    EXPECT_EQ(pageForTab(p, kHelpServiceCd), 1);

    tc.home.write("ServiceCD/index.htm", "<h1>Service</h1>");
    tc.home.write("TOOLS/FORM1/Wartung/wartung.htm", "<p>Düsen reinigen</p>");
    p = readHelpPages(ctx);
    EXPECT_EQ(p[1], "index.htm");
    EXPECT_EQ(p[2], "wartung.htm");
    EXPECT_EQ(pageForTab(p, kHelpMaintenance), 2);
    EXPECT_EQ(localPage(p[2], p.base(2)).toLocalFile(), tc.home.file("TOOLS/FORM1/Wartung/wartung.htm"));
}

TEST_F(HelpPages_, OnlyExistingLocalFilesAreShown) {
    tc.home.write("ServiceCD/sub/a.htm", "x");
    const QString base = tc.home.file("ServiceCD");
    EXPECT_TRUE(localPage("about:blank", base).isEmpty());
    EXPECT_TRUE(localPage("ABOUT:BLANK", base).isEmpty());
    EXPECT_TRUE(localPage("", base).isEmpty());
    EXPECT_TRUE(localPage("missing.htm", base).isEmpty());
    EXPECT_TRUE(localPage("http://example.invalid/a.htm", base).isEmpty());
    EXPECT_FALSE(localPage("sub\\a.htm", base).isEmpty());  // written on the old system
    EXPECT_EQ(localPage("sub/a.htm#teil2", base).fragment(), "teil2");
    EXPECT_FALSE(localPage(tc.home.file("ServiceCD/sub/a.htm"), QString()).isEmpty());
    EXPECT_TRUE(localPage(tc.home.file("ServiceCD/sub"), QString()).isEmpty());  // a directory
}

TEST_F(HelpPages_, PanelShowsThePageOfTheChosenTab) {
    tc.home.write("ServiceCD/index.htm", "<h1>Service</h1>");
    tc.home.write("anlage.htm", "<p>Anlage 7</p>");
    HelpPanel panel(ctx);
    panel.loadPages();
    EXPECT_TRUE(panel.browser()->toPlainText().contains("Anlage 7"));
    panel.SSTab2()->setCurrentIndex(kHelpServiceCd);
    EXPECT_TRUE(panel.browser()->toPlainText().contains("Service"));
    // A configured page that is gone leaves an empty page, not the old one.
    tc.home.write("zev.ini", "[HTML]\r\n3PAGE=weg.htm\r\n");
    panel.SSTab2()->setCurrentIndex(kHelpMaintenance);
    panel.loadPages();
    EXPECT_TRUE(panel.browser()->toPlainText().isEmpty());
}

}  // namespace
}  // namespace zev::test
