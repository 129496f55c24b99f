// Windows-1252 <-> QString at the boundary of the profile files: the files on
// disk are single-byte ANSI text, everything in memory is Unicode.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zev::profile {

// Every byte maps to one character. The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 control characters of
// the same number, so that they survive a read and a write unchanged.
QString fromWindows1252(QByteArrayView bytes);

// One byte per character. A character that Windows-1252 cannot hold becomes
// "?", the replacement the old profile functions wrote; a surrogate pair counts
// as one character.
QByteArray toWindows1252(QStringView text);

// True when every character of text survives toWindows1252 unchanged.
bool representableInWindows1252(QStringView text);

}  // namespace zev::profile
