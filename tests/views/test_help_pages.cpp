// The help tab's start pages and what the browser shows of them.
#include "overview_fixture.h"

#include "base/settings.h"
#include "views/help_pages.h"
#include "views/help_panel.h"
#include "plant/tool_data.h"

#include <QTabBar>
#include <QTextBrowser>
#include <vector>

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
    // A configured page that is gone shows the program's own page, not the old one.
    tc.home.write("zev.ini", "[HTML]\r\n3PAGE=weg.htm\r\n");
    panel.SSTab2()->setCurrentIndex(kHelpMaintenance);
    panel.loadPages();
    EXPECT_FALSE(panel.browser()->toPlainText().contains("Anlage 7"));
    EXPECT_TRUE(panel.browser()->toPlainText().contains(QString::fromUtf8("Fühlerbruch")));
}

// Without any page the operator still learns what the overview shows: every
// short code with its meaning, the colours and what to do, in his language.
TEST(HelpBuiltin, EveryShortCodeAndColourIsExplainedInBothLanguages) {
    struct Expected {
        int language;
        std::vector<const char*> words;
    };
    const Expected cases[] = {
        {1, {"Fühlerbruch", "Fühlerschluss", "Stromalarm", "SSR-Schluss", "Leckstrom", "Temperatur H", "Handbetrieb",
             "ausgeschaltet", "Gelb", "Türkis", "Rot", "Gruppenfarbe", "Was tun"}},
        {2, {"Broken sensor", "Shorted sensor", "Current alarm", "Shorted SSR", "Leakage current", "Temperature H",
             "Manual mode", "switched off", "Yellow", "Cyan", "Red", "Group colour", "What to do"}},
    };
    for (const Expected& c : cases) {
        TestContext tc(c.language);
        tc.ctx->tool.ToolDir = tc.home.file("TOOLS/STANDARD/");
        HelpPanel panel(*tc.ctx);
        panel.loadPages();  // nothing configured
        const QString shown = panel.browser()->toPlainText();
        for (const char* code : {"-E-", "-S-", "CURR", "SSR", "-LC-", "-HI-", "-P-", "---"})
            EXPECT_TRUE(shown.contains(QString::fromLatin1(code))) << c.language << " " << code;
        for (const char* word : c.words) EXPECT_TRUE(shown.contains(QString::fromUtf8(word))) << c.language << " " << word;
        // Each code is followed by its meaning in the same row.
        const QString rowE = shown.mid(shown.indexOf(QStringLiteral("-E-")), 60);
        EXPECT_TRUE(rowE.contains(QString::fromUtf8(c.words[0]))) << rowE.toStdString();
        panel.SSTab2()->setCurrentIndex(kHelpServiceCd);
        EXPECT_EQ(panel.browser()->toPlainText(), shown) << "the service tab without its page, too";
    }
}

}  // namespace
}  // namespace zev::test
