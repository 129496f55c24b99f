#include "shell/settings_failure.h"

#include "support/store_failure.h"
#include "support/text_numbers.h"
#include "support/texts.h"

#include <QDir>

namespace zev {

QString settingsNotStoredText(Texts& texts, const QString& path, const profile::StoreFailure& why) {
    return texts(TextNo::SettingsNotStored) + QDir::toNativeSeparators(path) + QStringLiteral("\r\n") +
           storeFailureReason(texts, why);
}

}  // namespace zev
