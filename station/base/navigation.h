// Requests to open a zone or a group where its values can be changed: a click
// on a zone or a group label of any view asks here, and the view that edits
// zones (the parameter view) answers by connecting to the signals. Nobody
// answering means the click does nothing visible.
#pragma once

#include <QObject>

namespace zev {

class Navigation final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void requestZone(int zone) { emit zoneRequested(zone); }
    void requestGroup(int group) { emit groupRequested(group); }

signals:
    void zoneRequested(int zone);
    void groupRequested(int group);
};

}  // namespace zev
