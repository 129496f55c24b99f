// The operator's message when settings could not be stored: text 197, the
// file, and on a line of its own why, in the operator's language.
#pragma once

#include "base/profile_disk.h"

#include <QString>

namespace zev {

class Texts;

QString settingsNotStoredText(Texts& texts, const QString& path, const profile::StoreFailure& why);

}  // namespace zev
