// The layout file of a process picture ("BILDnnn.INI"): its name, whether zone
// names go with the values, the value fields (VALUE_001, ...) and the go-to
// buttons (TOUCH_001, ...), each with its place on the picture in pixels.
//
// Reading stops at the first value section without "ZONE" and the first go-to
// section without "BILD", whatever follows. A key that is missing or no number
// takes its default (place 0, 0, size 37 x 26; kind 0; zone 0). Every entry
// read is kept, also one whose zone the present zone table has not (the view
// skips it, see shownZone), so that saving never drops what a larger plant
// still needs.
//
// Writing builds the whole file anew and replaces the old one atomically
// (temporary file, flush, rename): a power cut leaves the old or the new
// layout, never a part.
#pragma once

#include "base/profile_disk.h"

#include <QRect>
#include <QString>
#include <vector>

namespace zev {

constexpr int kDefaultElementWidth = 37;
constexpr int kDefaultElementHeight = 26;
// Places and sizes beyond this are no picture of a screen: read as the default.
constexpr int kMaxCoordinate = 10000;

struct PictureValue {
    int zone = 0;
    int what = 0;  // 0 actual value, 1 setpoint, 2 output rate, 3 heater current
    QRect rect{0, 0, kDefaultElementWidth, kDefaultElementHeight};
    bool operator==(const PictureValue&) const = default;
};

struct PictureTouch {
    QString target;  // the name ("ANSICHT") of the picture it leads to
    QRect rect{0, 0, kDefaultElementWidth, kDefaultElementHeight};
    bool operator==(const PictureTouch&) const = default;
};

struct PictureLayout {
    QString name;
    bool showTitle = false;
    std::vector<PictureValue> values;
    std::vector<PictureTouch> touches;
    bool operator==(const PictureLayout&) const = default;
};

struct LayoutRead {
    enum Status { Ok, Missing, Damaged, TooLarge, Unreadable };
    Status status = Missing;
    PictureLayout layout;             // what could be read; defaults for the rest
    std::vector<int> damagedLines;    // Damaged: 1-based lines
    QString error;                    // Unreadable: the system's message
};

// Larger layout files are not read (the defaults apply) and never written.
constexpr qint64 kMaxLayoutBytes = 4 * 1024 * 1024;

LayoutRead readLayout(const QString& path);
// The file's bytes (Windows-1252, CR LF): INFO, then the values, then the go-to buttons.
QByteArray layoutBytes(const PictureLayout& layout);
profile::WriteResult writeLayout(const QString& path, const PictureLayout& layout);

// A picture or target name as one line (line breaks become blanks), trimmed.
QString layoutName(const QString& name);

// A value field shows a zone only when it lies in 1..270 and in the present zone table.
bool shownZone(int zone, int zoneCount);

}  // namespace zev
