#include "alarms/alarm_filter.h"

#include <QLocale>
#include <QStringList>

namespace zev {

namespace {
const QString kNothing = QStringLiteral("Kommt IS NULL");  // no record lacks its Kommt

// The type condition of the table of type boxes; z empty when no zone
// condition applies.
QString typeCondition(const AlarmFilter& f, const QString& z) {
    const bool e = f.what[0], m = f.what[1], a = f.what[2];
    const bool hasZ = !z.isEmpty();
    if (e && m && a) return hasZ ? QStringLiteral("(Typ = 0 OR ") + z + QStringLiteral(")") : QStringLiteral("TRUE");
    if (e && m) return hasZ ? QStringLiteral("(Typ = 0 OR Typ = 1 AND ") + z + QStringLiteral(")") : QStringLiteral("Typ <> 2");
    if (e && a) return hasZ ? QStringLiteral("(Typ = 0 OR Typ = 2 AND ") + z + QStringLiteral(")") : QStringLiteral("Typ <> 1");
    if (e) return QStringLiteral("Typ = 0");
    if (m && a) return hasZ ? QStringLiteral("Typ <> 0 AND ") + z : QStringLiteral("Typ <> 0");
    if (m) return hasZ ? QStringLiteral("Typ = 1 AND ") + z : QStringLiteral("Typ = 1");
    if (a) return hasZ ? QStringLiteral("Typ = 2 AND ") + z : QStringLiteral("Typ = 2");
    return kNothing;
}
}  // namespace

QString convert(double serial) {
    // The C locale writes a dot whatever the panel's number format.
    return QLocale::c().toString(serial, 'g', 17);
}

QString get_zone_querystring(const std::vector<bool>& selected, int zoneCount) {
    QString in, notIn;
    int a = 0, b = 0;
    for (int z = 1; z <= zoneCount; ++z) {
        const bool on = static_cast<std::size_t>(z) < selected.size() && selected[static_cast<std::size_t>(z)];
        QString& list = on ? in : notIn;
        list += QLatin1Char('\'') + QString::number(z) + QStringLiteral("', ");
        ++(on ? a : b);
    }
    if (a == 0) return QStringLiteral("Adresse = '-1'");
    if (b == 0) return QStringLiteral("TRUE");  // every zone: no condition (sqlfilter never asks for it)
    if (a > b) {
        notIn.chop(2);
        return QStringLiteral("Adresse NOT IN (") + notIn + QStringLiteral(" )");
    }
    in.chop(2);
    return QStringLiteral("Adresse IN (") + in + QStringLiteral(" )");
}

QString sqlfilter(const AlarmFilter& filter, int n, int zoneCount, const QString& zoneCondition,
                  const QString& startStamp) {
    if (!filter.what[0] && n == 0) return QStringLiteral("WHERE ") + kNothing;
    QString clause = QStringLiteral("WHERE ");
    if (!filter.acknowledged) clause += QStringLiteral("Quittiert IS NULL AND ");
    if (filter.newOnly) clause += QStringLiteral("Kommt > ") + startStamp + QStringLiteral(" AND Geht IS NULL AND ");
    clause += typeCondition(filter, n < zoneCount ? zoneCondition : QString());
    return clause;
}

QString listQuery(const AlarmFilter& filter, int n, int zoneCount, const QString& zoneCondition,
                  const QString& startStamp) {
    // The same meaning as sqlfilter's table: events are never restricted by
    // zone, messages and alarms by the zone condition when not every zone is
    // selected (none when no zone is); nothing at all without events and without a zone.
    const QString select = QStringLiteral("SELECT *, rowid AS Nr FROM LOG WHERE ");
    QStringList arms;
    if (filter.what[0] || n > 0) {
        for (int typ = 0; typ < 3; ++typ) {
            if (!filter.what[typ]) continue;
            QString arm = select + QStringLiteral("Typ = ") + QString::number(typ);
            if (!filter.acknowledged) arm += QStringLiteral(" AND Quittiert IS NULL");
            if (filter.newOnly) arm += QStringLiteral(" AND Kommt > ") + startStamp + QStringLiteral(" AND Geht IS NULL");
            // Without a selected zone, messages and alarms match nothing: no arm to walk.
            if (typ != 0 && n == 0) continue;
            if (typ != 0 && n < zoneCount) arm += QStringLiteral(" AND ") + zoneCondition;
            arms << arm;
        }
    }
    if (arms.isEmpty()) arms << select + kNothing;
    return arms.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(" ORDER BY Kommt DESC, Nr DESC");
}

}  // namespace zev
