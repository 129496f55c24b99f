#include "link/identification.h"
#include "support/notices.h"

#include "link/bus_link.h"
#include "link/driver_loader.h"
#include "link/link_session.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "base/app_context.h"
#include "base/ini_values.h"
#include "base/lifecycle.h"
#include "base/notification_hub.h"
#include "base/progress_line.h"
#include "base/settings.h"
#include "base/event_pump.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"

#include <cmath>

namespace zev {

namespace {
constexpr int kProgressEvery = 65;  // zones between two progress dots
const QString kStar = QStringLiteral("*");

QString address2(int a) { return twoDigits(a); }
QString zoneSection(int z) { return QStringLiteral("ZONE_") + threeDigits(z); }

// "integer of the numeric value" of a reply: "?" and other text count 0.
int replyInt(const QString& reply) { return static_cast<int>(std::floor(numericValue(reply))); }

enum class SearchResult { Done, Repeat, Offline, EndProgram };

// Steps 2 to 5: the search on the line.
SearchResult search(AppContext& ctx, bool* changed) {
    PlantData& plant = ctx.plant;
    Texts& t = ctx.texts;
    ctx.progress.setAction(t(TextNo::SearchingUnits));
    const int maxAddress = std::clamp(
        boundedInt(ctx.settings.GetIni(QStringLiteral("SERIAL"), QStringLiteral("MAXGER"), QStringLiteral("28"), kStar),
                   0, 255),
        0, 255);
    int master = 1;
    int z = 0;
    *changed = false;
    int a = 1;
    for (; a <= maxAddress; ++a) {
        const int k = std::max(0, replyInt(ctx.bus.Ask(QStringLiteral("G") + address2(a) + QStringLiteral("?KAN="))));
        if (z + k > kMaxZones || k == 0) break;
        ctx.progress.setAction(t(TextNo::IdentifyUnit) + QString::number(a));
        if (static_cast<int>(plant.Controllers.size()) <= a) plant.Controllers.resize(static_cast<std::size_t>(2 * a + 1));
        ControllerRecord& controller = plant.Controllers[static_cast<std::size_t>(a)];
        controller.Channels = static_cast<std::uint8_t>(k);
        ctx.bus.Set_AnzKan(a, k);
        for (int c = 1; c <= k; ++c) {
            ++z;
            ZoneRecord& zone = plant.zone(z);
            const QString section = zoneSection(z);
            zone.BusAddress = static_cast<std::uint8_t>(
                boundedInt(ctx.settings.GetIni(section, QStringLiteral("485ADR"), QStringLiteral("0"), ctx.tool.ToolIni), 0, 255));
            zone.Channel = static_cast<std::uint8_t>(
                boundedInt(ctx.settings.GetIni(section, QStringLiteral("485ZON"), QStringLiteral("0"), ctx.tool.ToolIni), 0, 255));
            if (zone.BusAddress != a || zone.Channel != c) {
                zone.BusAddress = static_cast<std::uint8_t>(a);
                zone.Channel = static_cast<std::uint8_t>(c);
                *changed = true;
            }
            zone.Setpoint = kNoValue;
            zone.ActualValue = kNoValue;
            zone.OutputRate = kNoValue;
        }
        controller.AZ = static_cast<std::int16_t>(
            std::clamp(replyInt(ctx.bus.Ask(QStringLiteral("G") + address2(a) + QStringLiteral("?AZ#="))), -32768, 32767));
        ctx.progress.appendAction(QStringLiteral(" ."));
        if (ctx.bus.Ask(QStringLiteral("G") + address2(a) + QStringLiteral("?DTP=")) != QLatin1String("0002")) master = a;
        controller.MasterAddress = static_cast<std::uint8_t>(master);
        ctx.bus.Set_Master(a, master);
        ctx.progress.appendAction(QStringLiteral(" ."));
        controller.DeviceType =
            ctx.bus.Ask(QStringLiteral("G") + address2(a) + QStringLiteral("?TYP=")).leftJustified(9, QLatin1Char(' '), true);
        ctx.progress.appendAction(QStringLiteral(" ."));
        ctx.pump.yield();
        if (ctx.lifecycle.exitRequested()) return SearchResult::EndProgram;
    }
    plant.ZoneCount = z;
    plant.ControllerCount = a - 1;
    if (static_cast<int>(plant.Controllers.size()) > a + 1) plant.Controllers.resize(static_cast<std::size_t>(a + 1));

    if (plant.ZoneCount == 0) {
        switch (ctx.op.notice(t(TextNo::NoUnitFound), t(TextNo::NoSearchAgain), t(TextNo::YesStartOffline),
                              t(TextNo::YesEndProgram), kNoticeQuestion)) {
        case 1: return SearchResult::Repeat;
        case 2: return SearchResult::Offline;
        default: return SearchResult::EndProgram;
        }
    }
    return SearchResult::Done;
}

// Step 7: zones above the ones found that the tool still wires count as a change.
bool storedBeyondZoneCount(AppContext& ctx) {
    for (int z = ctx.plant.ZoneCount + 1; z <= kMaxZones; ++z) {
        if (z % kProgressEvery == 0) ctx.progress.appendAction(QStringLiteral("."));
        else ctx.pump.yield();
        const QString section = zoneSection(z);
        if (boundedInt(ctx.settings.GetIni(section, QStringLiteral("485ADR"), QStringLiteral("0"), ctx.tool.ToolIni), 0, 255) != 0)
            return true;
        if (boundedInt(ctx.settings.GetIni(section, QStringLiteral("485ZON"), QStringLiteral("0"), ctx.tool.ToolIni), 0, 255) != 0)
            return true;
    }
    return false;
}

// Step 9, "Ja, weiter": the wiring of every zone into the tool's settings.
void storeWiring(AppContext& ctx) {
    ctx.progress.setAction(ctx.texts(TextNo::StoringWiring));
    Settings::Batch batch(ctx.settings);
    for (int z = 1; z <= kMaxZones; ++z) {
        if (z % kProgressEvery == 0) ctx.progress.appendAction(QStringLiteral("."));
        const ZoneRecord& zone = ctx.plant.zone(z);
        const QString section = zoneSection(z);
        const QString adr = QString::number(zone.BusAddress);
        const QString chn = QString::number(zone.Channel);
        if (ctx.settings.GetIni(section, QStringLiteral("485ADR"), QStringLiteral("0"), ctx.tool.ToolIni) != adr)
            ctx.settings.SetIni(section, QStringLiteral("485ADR"), adr, ctx.tool.ToolIni);
        if (ctx.settings.GetIni(section, QStringLiteral("485ZON"), QStringLiteral("0"), ctx.tool.ToolIni) != chn)
            ctx.settings.SetIni(section, QStringLiteral("485ZON"), chn, ctx.tool.ToolIni);
    }
}
}  // namespace

void IdentifyZEV(AppContext& ctx) {
    LinkSession& link = *ctx.link;
    link.stopPolling();
    if (!link.Online()) return;

    bool changed = false;
    for (;;) {
        switch (search(ctx, &changed)) {
        case SearchResult::Repeat: continue;
        case SearchResult::Offline:
            // Offline means no polling: the scan stays off.
            link.SetOnlineBetrieb(false);
            return;
        case SearchResult::EndProgram: ctx.lifecycle.requestExit(0); return;
        case SearchResult::Done: break;
        }
        if (link.Online()) CheckDriver(ctx);
        if (ctx.lifecycle.exitRequested()) return;
        ctx.progress.setAction(ctx.texts(TextNo::CheckingWiring));
        if (!changed) changed = storedBeyondZoneCount(ctx);
        for (int z = ctx.plant.ZoneCount + 1; z <= kMaxZones; ++z) {
            ctx.plant.zone(z).BusAddress = 0;
            ctx.plant.zone(z).Channel = 0;
        }
        if (!changed) break;
        const int answer = ctx.op.notice(
            ctx.texts(TextNo::FoundUnitWith) + QString::number(ctx.plant.ZoneCount) + ctx.texts(TextNo::ZonesIsThatCorrect),
            ctx.texts(TextNo::NoSearchAgain), ctx.texts(TextNo::YesContinue), ctx.texts(TextNo::NoEndProgram),
            kNoticeQuestion);
        if (answer == 1) continue;
        if (answer != 2) {
            ctx.lifecycle.requestExit(0);
            return;
        }
        storeWiring(ctx);
        break;
    }
    // The process pictures check their zone numbers against ZoneCount here once
    // the picture view exists (it has nothing to check before).
    link.startPolling();
}

bool WiringMatchesLine(AppContext& ctx) {
    const PlantData& plant = ctx.plant;
    if (plant.ControllerCount <= 0 || plant.ZoneCount <= 0) return false;
    // The line as it answers now: each controller still there with its channels, none behind the last.
    int z = 0;
    for (int a = 1; a <= plant.ControllerCount; ++a) {
        if (a >= static_cast<int>(plant.Controllers.size())) return false;
        const int k = plant.Controllers[static_cast<std::size_t>(a)].Channels;
        if (k <= 0 || replyInt(ctx.bus.Ask(QStringLiteral("G") + address2(a) + QStringLiteral("?KAN="))) != k) return false;
        for (int c = 1; c <= k; ++c) {
            const ZoneRecord& zone = plant.zone(++z);
            if (z > kMaxZones || zone.BusAddress != a || zone.Channel != c) return false;
        }
    }
    if (z != plant.ZoneCount) return false;
    for (int rest = z + 1; rest <= kMaxZones; ++rest)
        if (plant.zone(rest).BusAddress != 0 || plant.zone(rest).Channel != 0) return false;
    const int maxAddress = boundedInt(
        ctx.settings.GetIni(QStringLiteral("SERIAL"), QStringLiteral("MAXGER"), QStringLiteral("28"), kStar), 0, 255);
    const int next = plant.ControllerCount + 1;
    return next > maxAddress || z >= kMaxZones ||
           replyInt(ctx.bus.Ask(QStringLiteral("G") + address2(next) + QStringLiteral("?KAN="))) <= 0;
}

void ZEV_ReliabilityCheck(AppContext& ctx) {
    bool& busy = ctx.linkFlags.reliabilityCheckBusy;
    if (busy) return;
    busy = true;
    struct Clear {
        bool& b;
        ~Clear() { b = false; }
    } clear{busy};
    Texts& t = ctx.texts;
    PlantData& plant = ctx.plant;
    for (;;) {
        ctx.progress.setAction(t(TextNo::CheckingUnits));
        const QString unit = ctx.bus.Ask(QStringLiteral("G01?UNT="));
        plant.TemperatureUnit = unit == QLatin1String("0000")   ? QStringLiteral("°C")
                                : unit == QLatin1String("0001") ? QStringLiteral("°F")
                                                                : QStringLiteral("°?");
        bool equal = true;
        for (int a = 2; a <= plant.ControllerCount && equal; ++a)
            equal = ctx.bus.Ask(QStringLiteral("G") + address2(a) + QStringLiteral("?UNT=")) == unit;
        if (equal) break;
        if (ctx.op.notice(t(TextNo::UnitsDiffer), t(TextNo::CheckAgain), t(TextNo::EndOfProgram), QString(),
                          kNoticeAlarm) != 1) {
            ctx.lifecycle.requestExit(0);
            return;
        }
    }
    ctx.hub.post(Msg::UnitChecked);
    ctx.progress.setAction(t(TextNo::CheckingAzNumbers));
    for (int a = 2; a <= plant.ControllerCount; ++a) {
        if (plant.Controllers[static_cast<std::size_t>(a)].AZ != plant.Controllers[1].AZ) {
            tellOperator(ctx.op, t, t(TextNo::AzNumbersDiffer));
            break;
        }
    }
}

}  // namespace zev
