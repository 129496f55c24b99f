// The operator's messages of the process pictures: text numbers of our own and
// the message for each failure, in the operator's language.
#pragma once

#include "pictures/picture_dir.h"
#include "pictures/picture_layout.h"

#include <QString>

namespace zev {

class Texts;

constexpr int kTextViewNotFound = 884;
constexpr int kTextTemporaryExists = 885;
constexpr int kTextCannotRename = 886;
constexpr int kTextCannotDelete = 887;
constexpr int kTextCannotRead = 888;
constexpr int kTextNoBitmap = 889;
constexpr int kTextNothingChanged = 890;
constexpr int kTextBackgroundNotLoaded = 891;
constexpr int kTextNoFreeNumber = 892;
constexpr int kTextSave = 893;
constexpr int kTextTarget = 894;
constexpr int kTextDeleteElement = 895;
constexpr int kTextNoViews = 896;
constexpr int kTextDirectory = 897;
constexpr int kTextLayoutNotSaved = 898;

// The message of a failed change of the picture directory.
QString pictureFailureText(Texts& texts, const PictureFailure& failure);
// The message of a layout that was read only in part or not at all (damaged,
// too large, unreadable); empty when it was read whole or does not exist.
QString layoutReadText(Texts& texts, const QString& path, const LayoutRead& read);

}  // namespace zev
