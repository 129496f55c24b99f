#include "tools/active_tool.h"

#include "trend/old_day_files.h"

#include "link/bus_link.h"
#include "base/app_context.h"
#include "base/ini_values.h"
#include "base/progress_line.h"
#include "base/settings.h"
#include "support/texts.h"
#include "tools/groups.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QDir>

namespace zev {

namespace {
const QString kStandardTool = QStringLiteral("STANDARD");

QString withSlash(QString dir) {
    dir.replace(QLatin1Char('\\'), QLatin1Char('/'));  // paths carried over from older installations
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

void loadZones(AppContext& ctx) {
    Settings& s = ctx.settings;
    const QString& ini = ctx.tool.ToolIni;
    for (int z = 1; z <= kMaxZones; ++z) {
        ZoneRecord& zone = ctx.plant.zone(z);
        const QString section = QStringLiteral("ZONE_") + threeDigits(z);
        zone.Name = s.GetIni(section, QStringLiteral("NAME"), QStringLiteral("ZONE ") + threeDigits(z), ini);
        // A group that is no number or not 0..8 (a damaged or hand-edited file) loads as "none".
        const auto group = strictNumber(s.GetIni(section, QStringLiteral("GROUP"), QStringLiteral("0"), ini));
        zone.Group = static_cast<std::uint8_t>(group && *group >= 0 && *group <= kGroupCount ? *group : 0);
        zone.BusAddress = static_cast<std::uint8_t>(
            boundedInt(s.GetIni(section, QStringLiteral("485ADR"), QStringLiteral("0"), ini), 0, 255));
        zone.Channel = static_cast<std::uint8_t>(
            boundedInt(s.GetIni(section, QStringLiteral("485ZON"), QStringLiteral("0"), ini), 0, 255));
        zone.StatusWord = kNoValue;
    }
}
}  // namespace

bool isValidToolName(const QString& name) {
    const QString t = name.trimmed();
    return !t.isEmpty() && t != QLatin1String(".") && t != QLatin1String("..") &&
           !t.contains(QLatin1Char('/')) && !t.contains(QLatin1Char('\\')) && !t.contains(QChar(0));
}

void LoadActiveTool(AppContext& ctx) {
    Settings& s = ctx.settings;
    ToolData& tool = ctx.tool;
    tool.ToolName = s.GetIni(QStringLiteral("TOOL"), QStringLiteral("TOOLNAME"), kStandardTool, QStringLiteral("*"));
    // A name that would leave the tools directory is not followed.
    if (!isValidToolName(tool.ToolName)) tool.ToolName = kStandardTool;
    ctx.progress.setAction(ctx.texts(1362) + tool.ToolName + ctx.texts(1384));
    tool.CmdIni = QDir(ctx.programDir).filePath(QStringLiteral("cmd.ini"));

    tool.ToolsDir = withSlash(s.GetIni(QStringLiteral("TOOL"), QStringLiteral("TOOLPATH"),
                                       withSlash(ctx.programDir) + QStringLiteral("TOOLS/"), QStringLiteral("*")));
    tool.ToolDir = tool.ToolsDir + tool.ToolName + QLatin1Char('/');
    tool.LogFileDir = tool.ToolDir + QStringLiteral("LOGFILES/");
    tool.RecipeDir = tool.ToolDir + QStringLiteral("parameter/");
    tool.PicsDir = tool.ToolDir + QStringLiteral("PICS");
    tool.ToolIni = tool.ToolDir + QStringLiteral("SETTINGS.INI");
    for (const QString& dir : {tool.ToolsDir, tool.ToolDir, tool.LogFileDir, tool.RecipeDir, tool.PicsDir})
        QDir().mkpath(dir);

    ctx.bus.SetLogFileDir(tool.LogFileDir);
    ctx.bus.FileLogging(true);

    ConvertOldHistoryFiles(ctx);

    LoadGroups(ctx);
    loadZones(ctx);
    releaseUnusedGroups(ctx);
}

}  // namespace zev
