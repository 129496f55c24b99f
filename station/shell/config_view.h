// The configuration view `frmConfig`: one page per subject, built from the
// view registry (shell/view_registry.h). The page order is fixed, because view
// switching opens the page that belongs to the view left.
#pragma once

#include "widgets/view.h"

class QTabWidget;

namespace zev {

struct AppContext;
class MainWindow;

enum ConfigPage {
    kPageLogin = 0,         // user levels and passwords
    kPageLanguage = 1,
    kPageGroups = 2,        // group settings
    kPageTools = 3,         // tool manager (pictures are tool content)
    kPageErrorLog = 4,
    kPagePorts = 5,         // ports, online/offline, bus statistics, command line
    kPageAlarmDb = 6,       // alarm database
    kPageSystem = 7,        // the "off" command
    kPageTrendStyle = 8,
    kPagePlantLink = 9,     // the plant's message broker
    kConfigPageCount = 10
};

class ConfigView final : public View {
    Q_OBJECT
public:
    ConfigView(AppContext& ctx, MainWindow& main, QWidget* parent = nullptr);
    bool entering(int previousTab) override;
    QTabWidget* pages() const { return pages_; }
    // The page that belongs to the view left (-1: the page shown last).
    static int pageForPreviousView(int previousTab);
    // Device changes: the port lists and the drive lists follow.
    void SearchPorts();
    void SearchLogicalDrives();

signals:
    void drivesChanged();

private:
    AppContext& ctx_;
    MainWindow& main_;
    QTabWidget* pages_;
};

}  // namespace zev
