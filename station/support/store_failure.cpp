#include "support/store_failure.h"

#include "support/text_numbers.h"
#include "support/texts.h"

namespace zev {

QString storeFailureReason(Texts& texts, const profile::StoreFailure& why) {
    using profile::FailureKind;
    switch (why.kind) {
    case FailureKind::Unreadable: return texts(557);
    case FailureKind::TooLarge: return texts(558);
    case FailureKind::NoDirectory: return texts(559);
    case FailureKind::WriteProtected: return texts(560);
    case FailureKind::ReadOnlyDirectory: return texts(TextNo::DirectoryReadOnly);
    case FailureKind::DiskFull: return texts(TextNo::DiskFull);
    case FailureKind::Io: break;
    }
    return texts(561) + QString::number(why.systemError);
}

}  // namespace zev
