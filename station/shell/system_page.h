// Configuration page with the "off" command `cmdAus_Click`: end the station, and
// when it runs as the kiosk session's shell at level 4, switch the machine off.
#pragma once

#include <QWidget>

namespace zev {

struct AppContext;

// True when the station runs as the kiosk session's shell.
bool runsAsShell(AppContext& ctx);
void cmdAus_Click(AppContext& ctx);

class SystemPage final : public QWidget {
    Q_OBJECT
public:
    explicit SystemPage(AppContext& ctx, QWidget* parent = nullptr);
};

}  // namespace zev
