// The pictures of a tool's picture directory: picture nnn (000..999) is the
// files "BILDnnn.*", above all "BILDnnn.INI" (its layout) and "BILDnnn.BMP"
// (its background). Names are matched without regard to case, so that a
// directory filled on another system (".bmp", "bild003.ini") reads the same.
// Pictures are listed in the order of their file names ("directory order").
//
// Every change that renames files never overwrites one: a rename whose target
// exists fails, and the exchange of the main picture checks its targets first
// and undoes its steps when one fails.
#pragma once

#include "base/profile_disk.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace zev {

struct PictureEntry {
    int number = 0;
    QString iniPath;   // the layout file as it is named on disk
    QString bmpPath;   // the background as named on disk; empty when there is none
    QString name;      // "INFO"/"ANSICHT"
};

// What went wrong, for the operator's message.
struct PictureFailure {
    enum Kind { None, NotFound, TemporaryExists, RenameFailed, DeleteFailed, WriteFailed, ReadFailed };
    Kind kind = None;
    QString file;     // the file concerned
    QString detail;   // the system's message
    profile::StoreFailure why;  // WriteFailed: why the file was not stored
    explicit operator bool() const { return kind != None; }
};

class PictureDir {
public:
    explicit PictureDir(QString dir);
    const QString& dir() const { return dir_; }

    // The number of "BILDnnn.<ext>" (any case, three digits), else -1; ext gets the extension.
    static int numberOf(const QString& fileName, QString* ext = nullptr);
    // "BILD" + nnn + "." + ext.
    static QString fileName(int number, const QString& ext);

    // Every picture that has a layout file, in file-name order, with its name.
    std::vector<PictureEntry> list() const;
    // The layout or background file of a picture as named on disk, or the
    // name a new one gets ("BILDnnn.INI", "BILDnnn.BMP").
    QString iniPath(int number) const;
    QString bmpPath(int number) const;
    // Every file of a picture (any extension), as named on disk.
    QStringList filesOf(int number) const;
    // The first picture in file-name order whose name is `name`.
    std::optional<int> findByName(const QString& name) const;
    // The first number from 000 up that no file uses yet; -1 when all are taken.
    int freeNumber() const;

    // Makes picture `number` the main picture 000 and 000 picture `number`,
    // through the temporary names "BILD---.*". Picture 000 needs no change.
    PictureFailure exchangeWithMain(int number);
    // Writes a new name into the picture's layout, keeping the rest of the file.
    PictureFailure rename(int number, const QString& name);
    // Deletes every file of the picture.
    PictureFailure remove(int number);

private:
    QStringList entries() const;
    QString dir_;
};

// Renames from to to unless to exists (any case on a case-sensitive system
// counts only the exact name); false with the system's message otherwise.
bool renameNoReplace(const QString& from, const QString& to, QString* error);

}  // namespace zev
