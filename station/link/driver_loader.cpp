#include "link/driver_loader.h"
#include "support/notices.h"

#include "link/bus_link.h"
#include "link/driver_file.h"
#include "base/app_context.h"
#include "base/ini_values.h"
#include "base/progress_line.h"
#include "base/settings.h"
#include "base/event_pump.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "plant/tool_data.h"
#include "plant/driver.h"

#include <QDir>
#include <QFile>
#include <cmath>

namespace zev {

namespace {
constexpr qint64 kMaxDriverFile = 4 * 1024 * 1024;  // a driver file is a few kilobytes

void resetDriver(DriverData& d) {
    for (ZoneParameter& p : d.ZoneParameters) {
        p.Name.clear();
        p.Min = p.Max = 0;
        p.Writable = false;
    }
    d.GlobalParameters.clear();
    d.DriverInfos.clear();
    d.DriverLoaded = false;
    d.MonitorZoneParam = 0;
    d.file.clear();
}
}  // namespace

QString driverDir(const AppContext& ctx) { return QDir(ctx.programDir).filePath(QStringLiteral("DRIVER")); }

QString findDriverFile(const AppContext& ctx, const QString& name) {
    const QDir dir(driverDir(ctx));
    if (QFile::exists(dir.filePath(name))) return dir.filePath(name);
    // Driver files come from other systems with any spelling of their case.
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(e);
    return {};
}

QString UserSelect(AppContext& ctx) {
    const QDir dir(driverDir(ctx));
    const QStringList filters[] = {{QStringLiteral("*_d.DRV")}, {QStringLiteral("*_e.DRV")}, {QStringLiteral("*.DRV")}};
    QStringList languages{ctx.texts(TextNo::German), ctx.texts(TextNo::English), ctx.texts(TextNo::AllLanguages)};
    const auto chosen = ctx.op.chooseFiltered(
        ctx.texts(TextNo::DriverSelection), ctx.texts(TextNo::LanguageCaption), languages,
        [&](int filter) {
            QDir d(dir);
            d.setNameFilters(filters[std::clamp(filter, 0, 2)]);
            d.setFilter(QDir::Files);
            return d.entryList();
        },
        std::clamp(ctx.texts.LngId() - 1, 0, 2));
    return chosen.value_or(QString());
}

bool loadDriverFile(AppContext& ctx, const QString& path) {
    DriverData& d = ctx.driver;
    resetDriver(d);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxDriverFile) return false;
    const QByteArray bytes = f.read(kMaxDriverFile);
    f.close();

    // The INI view: the parameter that marks monitor zones (no default is written).
    d.MonitorZoneParam = boundedInt(ctx.settings.GetIni(QStringLiteral("ZEVCtrl"), QStringLiteral("MC_param"), QString(), path), 0,
                                    kZoneParameterCount);

    const ParsedDriver parsed = parseDriverFields(bytes, [&](int field) {
        if (field % 2 == 0) ctx.progress.appendAction(QStringLiteral(" ."));
        else ctx.pump.yield();
    });
    for (std::size_t i = 0; i < parsed.zoneParameters.size(); ++i) {
        ZoneParameter& p = d.ZoneParameters[i + 1];
        const DriverParameterRecord& r = parsed.zoneParameters[i];
        p.Name = r.name;
        p.Min = static_cast<std::int16_t>(r.min);
        p.Max = static_cast<std::int16_t>(r.max);
        p.Writable = p.Min != p.Max;
    }
    for (const DriverParameterRecord& r : parsed.globalParameters) {
        GlobalParameter g;
        g.Name = r.name;
        g.Min = static_cast<std::int16_t>(r.min);
        g.Max = static_cast<std::int16_t>(r.max);
        g.Code = r.code;
        g.Writable = g.Min != g.Max;
        g.Level = static_cast<std::uint8_t>(
            boundedInt(ctx.settings.GetIni(r.code, QStringLiteral("Level"), QStringLiteral("0"), ctx.tool.CmdIni), 0, 4));
        d.GlobalParameters.push_back(g);
        d.DriverLoaded = true;
    }
    for (const auto& [caption, text] : parsed.infos) d.DriverInfos.push_back({caption, text});
    d.NoBoost = parsed.noBoost;
    d.file = path;
    if (!parsed.warnings.empty()) {
        QStringList lines;
        for (const DriverFileWarning& w : parsed.warnings) lines << QString::number(w.line);
        lines.removeDuplicates();
        tellOperator(ctx.op, ctx.texts, ctx.texts(TextNo::DriverFileDamaged) + QDir::toNativeSeparators(path) + QStringLiteral("\r\n") + ctx.texts(TextNo::DamagedLines) + lines.mid(0, 12).join(QStringLiteral(", ")));
    }
    return true;
}

void CheckDriver(AppContext& ctx) {
    DriverData& d = ctx.driver;
    if (ctx.linkFlags.checkDriverBusy) return;
    ctx.linkFlags.checkDriverBusy = true;
    struct Clear {
        bool& b;
        ~Clear() { b = false; }
    } clear{ctx.linkFlags.checkDriverBusy};
    Texts& t = ctx.texts;
    d.NoBoost = false;
    ctx.progress.setAction(t(TextNo::LoadingDriver));
    for (;;) {
        const int az = static_cast<int>(std::floor(numericValue(ctx.bus.Ask(QStringLiteral("G01?AZ#=")))));
        if (az == 0) {
            if (ctx.op.notice(t(TextNo::NoAzNumber), t(TextNo::TryAgain), t(TextNo::ContinueWithoutDriver), QString(),
                              kNoticeQuestion) == 1)
                continue;
            resetDriver(d);
            return;
        }
        const QString stem = QStringLiteral("AZ") + QString::number(az);
        QString file = findDriverFile(ctx, stem + (t.LngId() == 1 ? QStringLiteral("_d.DRV") : QStringLiteral("_e.DRV")));
        if (file.isEmpty()) file = findDriverFile(ctx, stem + QStringLiteral(".DRV"));
        if (file.isEmpty()) {
            const int answer = ctx.op.notice(t(TextNo::NoDriverFor) + QString::number(az) + t(TextNo::NoDriverFound),
                                             t(TextNo::TryAgain), t(TextNo::ContinueWithoutDriver),
                                             t(TextNo::SelectDriverManually), kNoticeQuestion);
            if (answer == 1) continue;
            if (answer != 3) {
                resetDriver(d);
                return;
            }
            const QString chosen = UserSelect(ctx);
            file = chosen.isEmpty() ? QString() : findDriverFile(ctx, chosen);
            if (file.isEmpty()) {
                resetDriver(d);
                return;
            }
        }
        if (!loadDriverFile(ctx, file)) {
            tellOperator(ctx.op, t, t(TextNo::DriverFileDamaged) + QDir::toNativeSeparators(file));
        }
        return;
    }
}

}  // namespace zev
