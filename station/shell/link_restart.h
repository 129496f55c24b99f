// Restarts the controller link after a change of port, mode or tool: polling
// stopped and views unloaded (Stop_Tool), the tool loaded again, online or
// offline mode prepared, the controllers identified, the views rebuilt and the
// controller check posted.
#pragma once

namespace zev {

struct AppContext;
class MainWindow;

// Runs on the link session's restartRequested, which comes after the current
// event: a command of a view must not unload the view it runs in.
void restartLink(AppContext& ctx, MainWindow& main, bool online);

// The tool change (cmdChange_Click after its checks, on the link session's
// toolChangeRequested): Stop_Tool, the splash, LoadActiveTool, the link started
// again with an identification only when the new tool's wiring does not match
// the line, InitForms, and online the controller check (0x407) and the
// process pictures' zones checked against ZoneCount.
void changeTool(AppContext& ctx, MainWindow& main);

}  // namespace zev
