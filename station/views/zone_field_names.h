// What assistive tools (screen readers, GUI automation) call a zone's tile,
// face plate and value fields: the zone and the value a field shows, in the
// operator's language ("Zone 3 Istwert").
#pragma once

#include <QString>
#include <array>

namespace zev {

class Texts;

class ZoneFieldNames {
public:
    enum Kind { Actual, Setpoint, Output, Current, Difference, kKindCount };

    explicit ZoneFieldNames(Texts& texts);
    QString zone(int zone) const;
    QString field(int zone, Kind kind) const;

private:
    QString zone_;
    std::array<QString, kKindCount> kinds_;
};

}  // namespace zev
