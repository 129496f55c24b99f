// The conditions of the alarm list: which record types, which zones, only the
// unacknowledged or only the present alarms. Pure functions, so that the exact
// SQL text is tested apart from the form.
//
// The clauses follow the database's meaning of "empty": a test for an empty
// date is written "IS NULL" (a comparison "= NULL" would never be true in
// SQLite), so "Kommt IS NULL" still matches nothing, because every record has
// its Kommt.
#pragma once

#include <QString>
#include <vector>

namespace zev {

struct AlarmFilter {
    bool what[3] = {true, true, true};  // chkWhat(0..2): events, messages, alarms
    bool acknowledged = true;           // chkAcknowledged: acknowledged records too
    bool newOnly = false;               // chkNewOnly: only alarms present since the start
};

// A date serial as an SQL number: written with a dot, exact enough to give the
// same double back.
QString convert(double serial);

// The zone condition for the selection (index 1..zoneCount of selected; element
// 0 unused): "Adresse = '-1'" when nothing is selected, otherwise the shorter of
// "Adresse IN (...)" over the selected zones and "Adresse NOT IN (...)" over the
// others.
QString get_zone_querystring(const std::vector<bool>& selected, int zoneCount);

// The whole clause "WHERE ...". n: selected zones, zoneCount: zones in all,
// zoneCondition: get_zone_querystring's result (used only when n < zoneCount),
// startStamp: convert() of the moment the log was opened.
QString sqlfilter(const AlarmFilter& filter, int n, int zoneCount, const QString& zoneCondition,
                  const QString& startStamp);

// The list's query, newest first: the records the clause of sqlfilter selects
// (records of the three known types), asked type by type, each with its own
// conditions, so that the file's indexes by type and by zone serve every
// combination instead of a walk through every record. Its columns are those of
// "SELECT * FROM LOG" and then the rowid.
QString listQuery(const AlarmFilter& filter, int n, int zoneCount, const QString& zoneCondition,
                  const QString& startStamp);

}  // namespace zev
