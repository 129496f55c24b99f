// Taking bitmaps into the picture directory (the import dialog's command): the
// picture's name is the file name up to its first "."; a picture of that name
// is overwritten only when the operator says so, otherwise the bitmap becomes a
// new picture with the first free number and a layout file that holds its name,
// so that the next import gets the next number and every imported picture is
// listed. Only a file that reads as a bitmap is taken; each file is written
// anew and renamed into place, so nothing half-copied stays behind.
#pragma once

#include <QByteArray>
#include <QString>

namespace zev {

struct AppContext;
class PictureDir;

// Larger files are no picture of a screen.
constexpr qint64 kMaxBitmapBytes = 64 * 1024 * 1024;

// Empty when bytes are a bitmap a reader can show; else why not (technical, English).
QString bitmapFault(const QByteArray& bytes);

// "Form.1.BMP" -> "Form".
QString pictureNameOf(const QString& fileName);

struct ImportResult {
    enum Kind { Added, Replaced, Skipped, Failed };
    Kind kind = Failed;
    int number = -1;
    QString message;  // Failed: the operator's message
};

// Imports one bitmap; asks before it overwrites (texts 1187..1190).
ImportResult importPicture(AppContext& ctx, PictureDir& dir, const QString& source);

}  // namespace zev
