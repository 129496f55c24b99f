// What the group editor changes on the zones: their group (stored at once),
// their marks, their names (the numbering rule) and how names are shown.
#pragma once

#include <QString>
#include <QStringList>

namespace zev {

struct AppContext;

// Names for `count` zones from one entered text. The first run of digits (at
// most 8 of them) is the start number: each name is the text before it, the
// running number padded with zeros to the width of the last number, and the
// text after it. A text without digits is every zone's name.
QStringList numberedNames(const QString& text, int count);

class ZoneEditing {
public:
    explicit ZoneEditing(AppContext& ctx) : ctx_(ctx) {}

    // The zone's group becomes `group` and is stored in SETTINGS.INI; true when
    // the assignment changed.
    bool assignGroup(int zone, int group);
    // Renames the marked zones (level 3); only changed names are stored; posts 0x408.
    bool renameMarkedZones();
    // Names from SETTINGS.INI (true) or "Zone nnn" in memory only (false); posts 0x408.
    void showNames(bool names);
    int markedCount() const;

private:
    AppContext& ctx_;
};

}  // namespace zev
