#include "shell/link_restart.h"

#include "link/identification.h"
#include "shell/app_context.h"
#include "shell/lifecycle.h"
#include "shell/main_window.h"
#include "shell/notification_hub.h"
#include "shell/settings.h"
#include "shell/splash_window.h"
#include "support/procedure.h"
#include "tools/active_tool.h"

#include <QTimer>

namespace zev {

void restartLink(AppContext& ctx, MainWindow& main, bool online) {
    main.Stop_Tool();
    main.splash().show();
    Procedure p(ctx.errors, QStringLiteral("frmComPorts"), QStringLiteral("restartLink"));
    p.step([&] {
        Settings::Batch batch(ctx.settings);
        LoadActiveTool(ctx);
    });
    p.step([&] { SetOnlineBetrieb(ctx, online); });
    p.step([&] {
        if (ctx.plant.Online) IdentifyZEV(ctx);
    });
    if (ctx.lifecycle.exitRequested()) return;
    p.step([&] { main.InitForms(); });
    p.step([&] {
        if (ctx.plant.Online) ctx.hub.post(Msg::ReliabilityCheck);
    });
    main.splash().hide();
}

void restartLinkLater(AppContext& ctx, MainWindow& main, bool online) {
    // Boost ends (its setpoints restored) before the link stops; refused while
    // a transfer or a diagnosis runs.
    if (ctx.mayStopPlant && !ctx.mayStopPlant()) return;
    QTimer::singleShot(0, &main, [&ctx, &main, online] { restartLink(ctx, main, online); });
}

}  // namespace zev
