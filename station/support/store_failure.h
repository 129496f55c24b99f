// Why a file could not be stored, in the operator's language: one line for
// every message that reports a failed write (settings, picture layouts).
#pragma once

#include "base/profile_disk.h"

#include <QString>

namespace zev {

class Texts;

QString storeFailureReason(Texts& texts, const profile::StoreFailure& why);

}  // namespace zev
