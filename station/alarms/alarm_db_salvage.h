// Reading what is left of a damaged alarm database: every row of LOG that the
// engine can still read, with the indexes bypassed, row by row in rowid order,
// stepping past pages that cannot be read.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace zev {

// Copies every readable row of table LOG in the database file `damaged` (opened
// read-only) into table LOG of `into`, in one transaction. Texts longer than
// their column are cut to it, an empty Adresse becomes "0"; a row without a
// type or a time is no record and is left. Returns the rows copied (0 when the
// file cannot be opened at all); -1 when `into` could not take them.
qint64 salvageRows(const QString& damaged, QSqlDatabase into);

}  // namespace zev
