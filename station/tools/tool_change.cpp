#include "tools/tool_change.h"

#include "base/app_context.h"
#include "base/ini_values.h"
#include "base/settings.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/notices.h"
#include "support/texts.h"
#include "tools/groups.h"
#include "tools/tool_texts.h"

#include <QDir>

namespace zev {

bool CheckBiggerIniZone(AppContext& ctx, int highestZone) {
    const QDir pics(ctx.tool.PicsDir);
    for (const QString& name : pics.entryList({QStringLiteral("*.INI")}, QDir::Files, QDir::Name)) {
        const QString file = pics.filePath(name);
        for (int i = 1; i <= kMaxZones; ++i) {
            // No default: reading must not write into the picture layout.
            const auto zone = strictNumber(ctx.settings.GetIni(QStringLiteral("VALUE_") + threeDigits(i),
                                                               QStringLiteral("ZONE"), QString(), file));
            if (!zone || *zone == 0) break;
            if (*zone > highestZone) {
                tellOperator(ctx.op, ctx.texts, ctx.texts(ToolText::MoreZonesInPictures));
                return true;
            }
        }
    }
    return false;
}

}  // namespace zev
