#include "shell/view_registry.h"

#include "alarms/forms/alarm_db_page.h"
#include "alarms/forms/alarm_view.h"
#include "diagnosis/forms/diagnosis_view.h"
#include "base/app_context.h"
#include "link/forms/bus_statistics_panel.h"
#include "link/forms/ports_page.h"
#include "parameters/forms/parameter_view.h"
#include "pictures/forms/picture_view.h"
#include "plantlink/forms/plant_link_page.h"
#include "shell/config_view.h"
#include "shell/main_window.h"
#include "shell/system_page.h"
#include "shell/error_log_page.h"
#include "shell/language_page.h"
#include "shell/login_page.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "tools/forms/group_editor.h"
#include "tools/forms/group_settings_page.h"
#include "tools/forms/tool_manager_page.h"
#include "trend/forms/trend_style_page.h"
#include "trend/forms/trend_view.h"
#include "views/overview_view.h"

#include <QVBoxLayout>
#include <algorithm>

namespace zev {

namespace {
QWidget* portsPage(AppContext& ctx, MainWindow&, QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("pagePorts"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);  // the two parts have their own frames
    auto* ports = new PortsPage(ctx, page);
    layout->addWidget(ports);
    layout->addWidget(new BusStatisticsPanel(ctx, page), 1);
    return page;
}

// Pages that belong to no single view.
const std::vector<ConfigPageEntry>& generalPages() {
    static const std::vector<ConfigPageEntry> pages = {
        {kPageLogin, TextNo::PageLogin, [](AppContext& c, MainWindow&, QWidget* p) { return new LoginPage(c, p); }},
        {kPageLanguage, TextNo::LanguageCaption,
         [](AppContext& c, MainWindow& m, QWidget* p) { return new LanguagePage(c, &m, p); }},
        {kPageTools, TextNo::PageTools,
         [](AppContext& c, MainWindow&, QWidget* p) {
             // The stand-in for a stick of unattended runs is the trend export's.
             DriveSources sources;
             sources.standInRemovable = qEnvironmentVariable("ZEV_EXPORT_DRIVE");
             return new ToolManagerPage(c, sources, p);
         }},
        {kPageErrorLog, TextNo::PageErrorLog,
         [](AppContext& c, MainWindow&, QWidget* p) { return new ErrorLogPage(c, p); }},
        {kPagePorts, TextNo::PagePorts, portsPage},
        {kPageSystem, TextNo::PageSystem, [](AppContext& c, MainWindow&, QWidget* p) { return new SystemPage(c, p); }},
        {kPagePlantLink, TextNo::PagePlantLink,
         [](AppContext& c, MainWindow&, QWidget* p) { return new PlantLinkPage(c, c.plantLink, p); }},
    };
    return pages;
}
}  // namespace

const std::vector<ViewEntry>& viewRegistry() {
    static const std::vector<ViewEntry> views = {
        {kViewConfiguration, TextNo::TabConfiguration, "frmConfig",
         [](AppContext& c, MainWindow& m) { return new ConfigView(c, m); }, false, -1, std::nullopt},
        {kViewAlarms, TextNo::TabAlarms, "frmAlarm", [](AppContext& c, MainWindow&) { return new AlarmView(c); },
         false, kPageAlarmDb,
         ConfigPageEntry{kPageAlarmDb, TextNo::PageAlarmDb,
                         [](AppContext& c, MainWindow&, QWidget* p) { return new AlarmDbPage(c, p); }}},
        {kViewOverview, TextNo::TabOverview, "frmOverview",
         [](AppContext& c, MainWindow&) { return new OverviewView(c); }, true, kPagePorts, std::nullopt},
        {kViewGroups, TextNo::TabGroups, "frmGroup", [](AppContext& c, MainWindow&) { return new GroupEditor(c); },
         false, kPageGroups,
         ConfigPageEntry{kPageGroups, TextNo::PageGroups,
                         [](AppContext& c, MainWindow&, QWidget* p) { return new GroupSettingsPage(c, p); }}},
        {kViewTrend, TextNo::TabTrend, "frmTrend", [](AppContext& c, MainWindow&) { return new TrendView(c); }, false, kPageTrendStyle,
         ConfigPageEntry{kPageTrendStyle, TextNo::PageTrendStyle,
                         [](AppContext& c, MainWindow&, QWidget* p) { return new TrendStylePage(c, p); }}},
        {kViewPictures, TextNo::TabPictures, "frmNewProcess",
         [](AppContext& c, MainWindow&) { return new PictureView(c); }, true, kPageTools, std::nullopt},
        {kViewDiagnosis, TextNo::TabDiagnosis, "frmDiagnose", [](AppContext& c, MainWindow&) { return new DiagnosisView(c); },
         false, kPageGroups, std::nullopt},
        {kViewParameters, TextNo::TabParameters, "frmParameter",
         [](AppContext& c, MainWindow& m) { return new ParameterView(c, [&m] { m.selectTab(kViewParameters); }); }, false, kPagePorts, std::nullopt},
    };
    return views;
}

const ViewEntry* viewEntry(int tab) {
    for (const ViewEntry& e : viewRegistry())
        if (e.tab == tab) return &e;
    return nullptr;
}

std::vector<ConfigPageEntry> configPageRegistry() {
    std::vector<ConfigPageEntry> pages = generalPages();
    for (const ViewEntry& e : viewRegistry())
        if (e.ownPage) pages.push_back(*e.ownPage);
    std::sort(pages.begin(), pages.end(), [](const ConfigPageEntry& a, const ConfigPageEntry& b) { return a.page < b.page; });
    return pages;
}

View* createView(int tab, AppContext& ctx, MainWindow& main) {
    const ViewEntry* e = viewEntry(tab);
    if (e && e->create) return e->create(ctx, main);
    return new EmptyView(QString::fromLatin1(e ? e->formName : ""));
}

QString viewCaption(AppContext& ctx, int tab) {
    const ViewEntry* e = viewEntry(tab);
    return e ? ctx.texts(e->caption) : QString();
}

}  // namespace zev
