#include "pictures/picture_messages.h"

#include "support/store_failure.h"
#include "support/text_numbers.h"
#include "support/texts.h"

#include <QDir>

namespace zev {

namespace {
const QString kBreak = QStringLiteral("\r\n");
}

QString pictureFailureText(Texts& t, const PictureFailure& f) {
    const QString file = QDir::toNativeSeparators(f.file);
    QString text;
    switch (f.kind) {
    case PictureFailure::None: return {};
    case PictureFailure::NotFound: text = t(kTextViewNotFound) + file; break;
    case PictureFailure::TemporaryExists: text = t(kTextTemporaryExists) + file; break;
    case PictureFailure::RenameFailed: text = t(kTextCannotRename) + file + kBreak + f.detail; break;
    case PictureFailure::DeleteFailed: text = t(kTextCannotDelete) + file + kBreak + f.detail; break;
    case PictureFailure::ReadFailed: text = t(kTextCannotRead) + file + kBreak + f.detail; break;
    case PictureFailure::WriteFailed:
        text = t(TextNo::FileWriteFailed) + file + kBreak + storeFailureReason(t, f.why);
        break;
    }
    return text + kBreak + t(kTextNothingChanged);
}

QString layoutReadText(Texts& t, const QString& path, const LayoutRead& read) {
    const QString file = QDir::toNativeSeparators(path);
    switch (read.status) {
    case LayoutRead::Ok:
    case LayoutRead::Missing: return {};
    case LayoutRead::TooLarge: return t(TextNo::FileTooLarge) + file + kBreak + t(TextNo::DefaultsFileUnchanged);
    case LayoutRead::Unreadable: return t(kTextCannotRead) + file + kBreak + read.error;
    case LayoutRead::Damaged: break;
    }
    QStringList lines;
    for (int n : read.damagedLines) lines << QString::number(n);
    return t(TextNo::DriverFileDamaged) + file + kBreak + t(TextNo::DamagedLines) + lines.join(QStringLiteral(", ")) +
           kBreak + t(TextNo::DefaultsForUnreadable);
}

}  // namespace zev
