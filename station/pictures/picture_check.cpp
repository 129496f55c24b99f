#include "pictures/picture_check.h"

#include "base/app_context.h"
#include "pictures/picture_dir.h"
#include "pictures/picture_layout.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"

namespace zev {

bool CheckBiggerIniZone(AppContext& ctx, int highestZone) {
    const PictureDir dir(ctx.tool.PicsDir);
    for (const PictureEntry& e : dir.list()) {
        const LayoutRead read = readLayout(e.iniPath);
        int k = 0;
        for (const PictureValue& v : read.layout.values) {
            if (++k > kMaxZones || v.zone == 0) break;
            if (v.zone > highestZone) {
                ctx.op.notice(ctx.texts(1418), ctx.texts(TextNo::Ok), QString(), QString(), kNoticePlain);
                return true;
            }
        }
    }
    return false;
}

}  // namespace zev
