#include "shell/view_factory.h"

#include "alarms/alarm_view.h"
#include "shell/app_context.h"
#include "shell/config_view.h"
#include "shell/main_window.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "parameters/forms/parameter_view.h"
#include "views/overview_view.h"

namespace zev {

namespace {
constexpr int kCaptions[kViewCount] = {TextNo::TabOverview, TextNo::TabPictures,   TextNo::TabTrend,
                                       TextNo::TabAlarms,   TextNo::TabParameters, TextNo::TabGroups,
                                       TextNo::TabDiagnosis, TextNo::TabConfiguration};
constexpr const char* kFormNames[kViewCount] = {"frmOverview",  "frmNewProcess", "frmTrend",
                                                "frmAlarm",     "frmParameter",  "frmGroup",
                                                "frmDiagnose",  "frmConfig"};
}  // namespace

QString viewCaption(AppContext& ctx, int index) { return ctx.texts(kCaptions[index]); }

View* createView(int index, AppContext& ctx, MainWindow& main) {
    switch (index) {
    case kViewConfiguration: return new ConfigView(ctx, main);
    case kViewAlarms: return new AlarmView(ctx);
    case kViewOverview: return new OverviewView(ctx);
    case kViewParameters: return new ParameterView(ctx, &main);
    default: return new EmptyView(QString::fromLatin1(kFormNames[index]));
    }
}

}  // namespace zev
