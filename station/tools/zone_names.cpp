#include "tools/zone_names.h"

#include "base/app_context.h"
#include "base/ini_values.h"
#include "base/notification_hub.h"
#include "base/settings.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"

namespace zev {

namespace {
constexpr int kLevelRename = 3;
constexpr int kTextRenamePrompt = 754;
constexpr int kTextMarkFirst = 755;
constexpr int kTextZonePrefix = 757;
constexpr int kMaxNumberDigits = 8;  // a start number fits 32 bits with room for the count

QString section(int zone) { return QStringLiteral("ZONE_") + threeDigits(zone); }
}  // namespace

QStringList numberedNames(const QString& text, int count) {
    QStringList names;
    qsizetype first = 0;
    while (first < text.size() && !(text[first] >= QLatin1Char('0') && text[first] <= QLatin1Char('9'))) ++first;
    if (first == text.size()) {
        for (int i = 0; i < count; ++i) names << text;
        return names;
    }
    qsizetype end = first;
    while (end < text.size() && end - first < kMaxNumberDigits && text[end] >= QLatin1Char('0') &&
           text[end] <= QLatin1Char('9'))
        ++end;
    const qint64 start = text.mid(first, end - first).toLongLong();
    const QString before = text.left(first), after = text.mid(end);
    const int width = static_cast<int>(QString::number(start + std::max(count, 1) - 1).size());
    for (int i = 0; i < count; ++i)
        names << before + QStringLiteral("%1").arg(start + i, width, 10, QLatin1Char('0')) + after;
    return names;
}

bool ZoneEditing::assignGroup(int zone, int group) {
    if (zone < 1 || zone > kMaxZones || group < 0 || group > kGroupCount) return false;
    ZoneRecord& z = ctx_.plant.zone(zone);
    if (z.Group == group) return false;
    z.Group = static_cast<std::uint8_t>(group);
    ctx_.settings.SetIni(section(zone), QStringLiteral("GROUP"), QString::number(group), ctx_.tool.ToolIni);
    return true;
}

int ZoneEditing::markedCount() const {
    int n = 0;
    for (int z = 1; z <= ctx_.plant.ZoneCount; ++z) n += ctx_.plant.zone(z).Selected ? 1 : 0;
    return n;
}

bool ZoneEditing::renameMarkedZones() {
    if (!ctx_.users.CheckLevel(kLevelRename)) return false;
    const int marked = markedCount();
    if (marked == 0) {
        ctx_.op.notice(ctx_.texts(kTextMarkFirst), ctx_.texts(TextNo::Ok), QString(), QString(), kNoticePlain);
        return false;
    }
    const auto text = ctx_.op.enterText(ctx_.texts(kTextRenamePrompt), QString());
    if (!text || text->trimmed().isEmpty()) return false;
    const QStringList names = numberedNames(text->trimmed(), marked);
    int i = 0;
    {
        Settings::Batch batch(ctx_.settings);
        for (int z = 1; z <= ctx_.plant.ZoneCount; ++z) {
            ZoneRecord& zone = ctx_.plant.zone(z);
            if (!zone.Selected) continue;
            QString name = names[i++];
            if (name == zone.Name) continue;
            if (ctx_.settings.SetIni(section(z), QStringLiteral("NAME"), name, ctx_.tool.ToolIni)) zone.Name = name;
        }
    }
    ctx_.hub.post(Msg::ZoneNamesChanged);
    return true;
}

void ZoneEditing::showNames(bool names) {
    if (names) {
        for (int z = 1; z <= ctx_.plant.ZoneCount; ++z)
            ctx_.plant.zone(z).Name = ctx_.settings.GetIni(section(z), QStringLiteral("NAME"),
                                                           QStringLiteral("ZONE ") + threeDigits(z), ctx_.tool.ToolIni);
    } else {
        const QString prefix = ctx_.texts(kTextZonePrefix);
        for (int z = 1; z <= kMaxZones; ++z) ctx_.plant.zone(z).Name = prefix + threeDigits(z);
    }
    ctx_.hub.post(Msg::ZoneNamesChanged);
}

}  // namespace zev
