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
constexpr double kNameWidthMm = 60.0;
constexpr double kValueWidthMm = 20.0;  // "[Zone 100]" on one line; 60 + 6 x 20 fills the 180 mm of an A4 page
constexpr int kColumnsPerTable = 6;  // value columns beside the names that fit across an A4 page

QString valueText(int v) { return v == kNoValue ? QString() : QString::number(v); }

// The header lines on the first page, then one table per group of value
// columns (each repeats the parameter names), page numbers at the foot.
Report tables(AppContext& ctx, QStringList header, const QStringList& columnTitles, const QStringList& rowNames,
              const std::vector<QStringList>& values, int pageText) {
    Report report;
    report.printTitle = false;
    report.title = header.value(0);
    report.headerLines = std::move(header);
    report.pageLabel = ctx.texts(pageText);
    for (int first = 0; first == 0 || first < columnTitles.size(); first += kColumnsPerTable) {
        const int last = std::min<int>(first + kColumnsPerTable, static_cast<int>(columnTitles.size()));
        QList<double> widths{kNameWidthMm};
        QStringList head{QString()};
        for (int c = first; c < last; ++c) {
            widths << kValueWidthMm;
            head << columnTitles[c];
        }
        QList<QStringList> rows;
        for (int r = 0; r < rowNames.size(); ++r) {
            QStringList row{rowNames[r]};
            for (int c = first; c < last; ++c) row << values[static_cast<std::size_t>(r)][c];
            rows << row;
        }
        report.addTable(widths, head, rows);
        if (columnTitles.isEmpty()) break;
    }
    return report;
}

QStringList header(AppContext& ctx, int tool, int date, int unit, const QString& recipe) {
    return {ctx.texts(tool) + ctx.tool.ToolName,
            ctx.texts(date) + ctx.clock.now().toString(QStringLiteral("dd.MM.yyyy HH:mm")),
            ctx.texts(unit) + ctx.plant.TemperatureUnit,
            recipe.isEmpty() ? ctx.texts(ParamText::NoRecipe) : ctx.texts(ParamText::RecipeIs) + recipe};
}
}  // namespace

Report globalParameterPrintout(AppContext& ctx, const QString& recipe, const std::vector<std::vector<int>>& columns) {
    QStringList titles, names;
    const std::vector<int> masters = masterControllers(ctx);
    for (int d : masters) titles << ctx.texts(ParamText::Cabinet) + QString::number(d);
    std::vector<QStringList> values;
    for (std::size_t r = 0; r < ctx.driver.GlobalParameters.size(); ++r) {
        const GlobalParameter& g = ctx.driver.GlobalParameters[r];
        names << g.Name;
        QStringList row;
        for (std::size_t i = 0; i < masters.size(); ++i)
            row << valueText(i < columns.size() && r < columns[i].size() ? columns[i][r] : g.Value);
        values.push_back(row);
    }
    return tables(ctx, header(ctx, ParamText::PrintTool, ParamText::PrintDate, ParamText::PrintUnit, recipe), titles, names,
                    values, ParamText::PrintPage);
}

Report zoneParameterPrintout(AppContext& ctx, const std::vector<bool>& sel, const QString& recipe) {
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
    return tables(ctx, header(ctx, ParamText::PrintTool2, ParamText::PrintDate2, ParamText::PrintUnit2, recipe), titles, names,
                    values, ParamText::PrintPage2);
}

}  // namespace zev
