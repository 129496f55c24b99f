// The separate updater program in the program directory ("updater", a new
// version arrives as "updater.tmp") and the font check of start-up.
#pragma once

#include <QString>

class QWidget;

namespace zev {

struct AppContext;

QString updaterPath(const QString& programDir);
// Puts a delivered "updater.tmp" in place of the updater.
void CheckforNewUpdater(AppContext& ctx);
// Offers the update and starts the updater; true when it was started.
bool DoUpdate(AppContext& ctx, QWidget* mainWindow);
// Starts the updater so that it restarts the station (after a language change).
bool RestartThroughUpdater(AppContext& ctx, QWidget* mainWindow);

// The bundled font of the program directory, added when its face is not installed.
struct FontEntry {
    const char* file;
    const char* face;
};
extern const FontEntry kBundledFont;
bool FontExist(AppContext& ctx, const QString& face);
void CheckFonts(AppContext& ctx);

}  // namespace zev
