#include "views/zone_field_names.h"

#include "support/texts.h"

namespace zev {

// The value names of the process pictures' value kinds; the difference is
// actual value minus setpoint.
ZoneFieldNames::ZoneFieldNames(Texts& texts)
    : zone_(texts(757)),
      kinds_{texts(849), texts(850), texts(881), texts(882), texts(849) + QStringLiteral(" - ") + texts(850)} {}

QString ZoneFieldNames::zone(int zone) const { return zone_ + QString::number(zone); }

QString ZoneFieldNames::field(int zone, Kind kind) const {
    return this->zone(zone) + QLatin1Char(' ') + kinds_[static_cast<std::size_t>(kind)];
}

}  // namespace zev
