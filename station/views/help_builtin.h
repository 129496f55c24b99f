// The help tab's own page, shown when no maintenance page is configured (or the
// configured one cannot be shown): what the short codes and colours of the
// overview mean and what to do, in German or English. One HTML page per
// language, written here rather than in the text tables because it is one
// document.
#pragma once

#include <QString>

namespace zev {

// The page in language lngId (1 German, 2 English).
QString builtinHelpPage(int lngId);

}  // namespace zev
