#include "parameters/parameter_printout.h"

#include "parameters/controller_commands.h"
#include "parameters/parameter_texts.h"
#include "base/app_context.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "base/clock.h"
#include "support/texts.h"

namespace zev {

namespace {
constexpr int kNameWidth = 34;
constexpr int kColumnWidth = 11;
constexpr int kColumnsPerPage = 6;   // value columns beside the names on one page
constexpr int kRowsPerPage = 50;

QString valueText(int v) { return v == kNoValue ? QString() : QString::number(v); }

// Pages of rows with at most kColumnsPerPage value columns, each page with the
// header lines and its number at the foot.
QStringList paginate(AppContext& ctx, const QStringList& header, const QStringList& columnTitles,
                     const QStringList& rowNames, const std::vector<QStringList>& values, int pageText) {
    QStringList out;
    int page = 0;
    for (int first = 0; first == 0 || first < columnTitles.size(); first += kColumnsPerPage) {
        for (int row0 = 0; row0 == 0 || row0 < rowNames.size(); row0 += kRowsPerPage) {
            if (page > 0) out << QStringLiteral("\f");
            out << header << QString();
            QString line = QString().leftJustified(kNameWidth);
            for (int c = first; c < std::min<int>(first + kColumnsPerPage, static_cast<int>(columnTitles.size())); ++c)
                line += columnTitles[c].left(kColumnWidth - 1).rightJustified(kColumnWidth);
            out << line;
            for (int r = row0; r < std::min<int>(row0 + kRowsPerPage, static_cast<int>(rowNames.size())); ++r) {
                line = rowNames[r].left(kNameWidth - 1).leftJustified(kNameWidth);
                for (int c = first; c < std::min<int>(first + kColumnsPerPage, static_cast<int>(columnTitles.size())); ++c)
                    line += values[static_cast<std::size_t>(r)][c].rightJustified(kColumnWidth);
                out << line;
            }
            out << QString() << ctx.texts(pageText) + QString::number(++page);
            if (rowNames.isEmpty()) break;
        }
        if (columnTitles.isEmpty()) break;
    }
    return out;
}

QStringList header(AppContext& ctx, int tool, int date, int unit) {
    return {ctx.texts(tool) + ctx.tool.ToolName,
            ctx.texts(date) + ctx.clock.now().toString(QStringLiteral("dd.MM.yyyy HH:mm")),
            ctx.texts(unit) + ctx.plant.TemperatureUnit};
}
}  // namespace

QStringList globalParameterPrintout(AppContext& ctx) {
    QStringList titles, names;
    const std::vector<int> masters = masterControllers(ctx);
    for (int d : masters) titles << ctx.texts(ParamText::Cabinet) + QString::number(d);
    std::vector<QStringList> values;
    for (const GlobalParameter& g : ctx.driver.GlobalParameters) {
        names << g.Name;
        QStringList row;
        for (std::size_t i = 0; i < masters.size(); ++i) row << valueText(g.Value);
        values.push_back(row);
    }
    return paginate(ctx, header(ctx, ParamText::PrintTool, ParamText::PrintDate, ParamText::PrintUnit), titles, names,
                    values, ParamText::PrintPage);
}

QStringList zoneParameterPrintout(AppContext& ctx, const std::vector<bool>& sel) {
    QStringList titles, names;
    std::vector<int> zones;
    for (std::size_t z = 1; z < sel.size() && static_cast<int>(z) <= ctx.plant.ZoneCount; ++z)
        if (sel[z]) {
            zones.push_back(static_cast<int>(z));
            titles << ctx.texts(ParamText::PrintZone) + QString::number(z) + QLatin1Char(']');
        }
    std::vector<QStringList> values;
    for (int p = 1; p <= kZoneParameterCount; ++p) {
        const ZoneParameter& param = ctx.driver.ZoneParameters[static_cast<std::size_t>(p)];
        if (param.Min == -2 && param.Max == -2) continue;
        names << param.Name;
        QStringList row;
        for (int z : zones) row << valueText(param.Value[static_cast<std::size_t>(z)]);
        values.push_back(row);
    }
    return paginate(ctx, header(ctx, ParamText::PrintTool2, ParamText::PrintDate2, ParamText::PrintUnit2), titles, names,
                    values, ParamText::PrintPage2);
}

}  // namespace zev
