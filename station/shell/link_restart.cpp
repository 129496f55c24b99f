#include "shell/link_restart.h"

#include "link/identification.h"
#include "base/app_context.h"
#include "base/lifecycle.h"
#include "shell/main_window.h"
#include "base/notification_hub.h"
#include "base/settings.h"
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
    QTimer::singleShot(0, &main, [&ctx, &main, online] { restartLink(ctx, main, online); });
}

}  // namespace zev
