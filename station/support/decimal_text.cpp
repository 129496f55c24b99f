#include "support/decimal_text.h"

#include "support/texts.h"

#include <QLocale>

namespace zev {

QString decimalText(double value, int decimals, int language) {
    QLocale locale(language == Texts::kGerman ? QLocale::German : QLocale::English);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

}  // namespace zev
