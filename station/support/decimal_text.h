// Numbers with decimals as the operator reads them: the language's decimal mark
// ("," in German, "." in English) and no grouping of thousands.
#pragma once

#include <QString>

namespace zev {

QString decimalText(double value, int decimals, int language);

}  // namespace zev
