#include "link/zone_values.h"

#include "link/bus_link.h"
#include "base/app_context.h"
#include "plant/zone_table.h"
#include "base/ini_values.h"
#include "support/texts.h"
#include "support/zev_error.h"

#include <QString>
#include <cmath>

namespace zev {

namespace {
struct StatusRow {
    std::int32_t bit;
    const char* shortText;
    std::uint8_t code;
    int text;  // text number of the description
};

// Tested in this order: the first bit set decides the displayed status.
constexpr StatusRow kStatusRows[] = {
    {0x10000, "SSR", 250, 1401},   {0x10, "-S-", 249, 1395},     {0x8, "-E-", 247, 1394},
    {0x1000, "CURR", 246, 1393},   {0x20000, "-IH-", 240, 1402}, {0x40000, "-IL-", 239, 1403},
    {0x80000, "+CUR", 236, 1406},  {0x100000, "-CUR", 235, 1407}, {0x200000, "-LC-", 234, 1404},
    {0x400000, "-HH-", 230, 1408}, {0x2, "-LO-", 128, 1396},     {0x4, "-HI-", 127, 1397},
    {0x1000000, "dY", 122, 1410},  {0x200, "-DEV", 120, 1398},   {0x400, "+DEV", 119, 1399},
    {0x80, "TERR", 115, 1400},
};
constexpr std::int32_t kNoFaultBit = 0x1;
constexpr std::int32_t kModeBits = 0x60;
constexpr std::int32_t kMonitorMask = 0x610018;  // what a monitor zone can still report

void clearStatus(ZoneRecord& z) {
    z.StatusShort.clear();
    z.StatusText.clear();
    z.StatusCode = 0;
}

ZoneRecord& zoneAt(AppContext& ctx, int zone) {
    if (zone < 1 || zone > kMaxZones)
        throw ZevError(ErrNo::OutOfRange, QStringLiteral("zone %1 outside 1..270").arg(zone));
    return ctx.plant.zone(zone);
}
}  // namespace

void decodeStatus(ZoneRecord& z, std::int32_t s, Texts& texts) {
    if (s < 0) {
        z.StatusWord = kNoValue;
        z.StatusShort = QStringLiteral("COM");
        z.StatusCode = 255;
        z.StatusText = texts(1535);
        z.Mode = 0;
        z.TuneState = 0;
        return;
    }
    z.StatusWord = s;
    if (z.ModeFlag) {
        if (s & kModeBits) {
            z.Mode = 3;
            z.StatusWord = s & kMonitorMask;
        } else {
            z.Mode = 0;
        }
    } else {
        z.Mode = static_cast<std::uint8_t>((s & kModeBits) >> 5);
    }
    z.TuneState = (s & 0x100) ? 1 : (s & 0x80) ? 2 : 0;
    for (const StatusRow& row : kStatusRows) {
        if (z.StatusWord & row.bit) {
            z.StatusShort = QString::fromLatin1(row.shortText);
            z.StatusCode = row.code;
            z.StatusText = texts(row.text);
            return;
        }
    }
    if ((z.StatusWord & kNoFaultBit) || z.StatusWord == 0x40 || z.StatusWord == 0) {
        clearStatus(z);
        z.StatusWord = 0;
        return;
    }
    z.StatusShort = QStringLiteral("Err.");
    z.StatusCode = 1;
    z.StatusText = texts(1405) + QString::number(z.StatusWord, 16).toUpper();
}

std::int32_t myGetValue(AppContext& ctx, int zone, int code) {
    ZoneRecord& z = zoneAt(ctx, zone);
    auto get = [&](int kind) { return ctx.bus.GetVal(z.BusAddress, z.Channel, kind); };
    switch (code) {
    case ValueCode::Setpoint: return get(1);
    case ValueCode::ActualValue: return get(2);
    case ValueCode::StatusWord:
        decodeStatus(z, get(3), ctx.texts);
        return z.StatusWord;
    case ValueCode::OutputRate: return get(4);
    case ValueCode::Current: return get(5);
    default: break;
    }
    if (code >= 1 && code <= 99) {
        const QString reply = ctx.bus.Ask(QStringLiteral("G") + twoDigits(z.BusAddress) + QStringLiteral("K") +
                                          twoDigits(z.Channel) + QStringLiteral("P") + twoDigits(code) +
                                          QStringLiteral("="));
        bool ok = false;
        const double v = reply.trimmed().toDouble(&ok);
        return ok && std::isfinite(v) ? static_cast<std::int32_t>(std::nearbyint(v)) : kNoValue;
    }
    return 0;
}

}  // namespace zev
