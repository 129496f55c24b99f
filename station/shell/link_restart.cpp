#include "shell/link_restart.h"

#include "link/link_session.h"
#include "base/app_context.h"
#include "base/lifecycle.h"
#include "shell/main_window.h"
#include "base/notification_hub.h"
#include "base/settings.h"
#include "shell/splash_window.h"
#include "support/procedure.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "tools/active_tool.h"
#include "tools/tool_texts.h"
#include "base/event_pump.h"
#include "base/progress_line.h"
#include "plant/zone_table.h"

namespace zev {

void restartLink(AppContext& ctx, MainWindow& main, bool online) {
    // A wiring test drives zones by hand: the line stays as it is until it has ended and restored them.
    if (ctx.link->DiagnosisRunning()) {
        ctx.op.notice(ctx.texts(TextNo::DiagnosisRunning), ctx.texts(TextNo::Ok), {}, {}, kNoticePlain);
        return;
    }
    main.Stop_Tool();
    main.splash().show();
    Procedure p(ctx.errors, QStringLiteral("frmComPorts"), QStringLiteral("restartLink"));
    p.step([&] {
        Settings::Batch batch(ctx.settings);
        LoadActiveTool(ctx);
    });
    p.step([&] { ctx.link->start(online); });
    if (ctx.lifecycle.exitRequested()) return;
    p.step([&] { main.InitForms(); });
    p.step([&] {
        if (ctx.link->Online()) ctx.hub.post(Msg::ReliabilityCheck);
    });
    main.splash().hide();
}

void changeTool(AppContext& ctx, MainWindow& main) {
    if (ctx.link->DiagnosisRunning()) {
        ctx.op.notice(ctx.texts(TextNo::DiagnosisRunning), ctx.texts(TextNo::Ok), {}, {}, kNoticePlain);
        return;
    }
    const bool online = ctx.link->Online();
    main.Stop_Tool();
    main.splash().show();
    ctx.progress.setAction(ctx.texts(ToolText::ChangeSplash));
    ctx.pump.yield();
    Procedure p(ctx.errors, QStringLiteral("frmConfig"), QStringLiteral("cmdChange_Click"));
    p.step([&] {
        Settings::Batch batch(ctx.settings);
        LoadActiveTool(ctx);
    });
    p.step([&] { ctx.link->startAfterToolChange(online); });
    if (ctx.lifecycle.exitRequested()) return;
    p.step([&] { main.InitForms(); });
    p.step([&] {
        if (!ctx.link->Online()) return;
        // The pictures are checked against the zones where every rebuilt zone table is.
        ctx.hub.post(Msg::ReliabilityCheck);
    });
    main.splash().hide();
}

}  // namespace zev
