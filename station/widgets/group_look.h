// How the overview shows a zone's group: the colours and name of the group the
// zone belongs to, or those of "without group" when its group is not in use.
#pragma once

#include <QColor>
#include <QString>

namespace zev {

struct AppContext;

// The group shown for a zone: its group when that is 1..8 and in use, else 0.
int shownGroup(const AppContext& ctx, int zone);
QColor groupColour(const AppContext& ctx, int group);
QColor groupTextColour(const AppContext& ctx, int group);
// The group's name; group 0 is "Gruppenlos".
QString groupCaption(AppContext& ctx, int group);

}  // namespace zev
