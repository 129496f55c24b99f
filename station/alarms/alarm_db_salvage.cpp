#include "alarms/alarm_db_salvage.h"

#include "alarms/sql_scratch.h"

#include <QSqlQuery>
#include <QVariant>
#include <limits>
#include <optional>

namespace zev {

namespace {
constexpr qint64 kFirstRowid = std::numeric_limits<qint64>::min();
constexpr qint64 kLastRowid = std::numeric_limits<qint64>::max();

const QString kRows = QStringLiteral(
    "SELECT rowid, Typ, Kommt, Geht, Quittiert, Quelle, Adresse, Meldung FROM LOG NOT INDEXED "
    "WHERE rowid >= ? ORDER BY rowid");
const QString kProbe = QStringLiteral("SELECT rowid FROM LOG NOT INDEXED WHERE rowid >= ? ORDER BY rowid LIMIT 1");

QVariant text(const QVariant& v, int size) {
    QString t = v.isNull() ? QStringLiteral("") : v.toString();
    if (t.size() > size) {
        t.truncate(size);
        if (t.back().isHighSurrogate()) t.chop(1);
    }
    return t;
}

QVariant serialOrNull(const QVariant& v) {
    bool ok = false;
    const double d = v.toDouble(&ok);
    return v.isNull() || !ok ? QVariant() : QVariant(d);
}

class Reader {
public:
    explicit Reader(QSqlDatabase db) : rows_(db), probe_(db) {
        rows_.setForwardOnly(true);
        probe_.setForwardOnly(true);
        prepared_ = rows_.prepare(kRows) && probe_.prepare(kProbe);
    }
    bool prepared() const { return prepared_; }

    // Copies the rows from `from` on until the end (returns nothing) or an
    // unreadable page (returns the first rowid not read).
    template <typename Take>
    std::optional<qint64> readFrom(qint64 from, Take take) {
        rows_.addBindValue(from);
        if (!rows_.exec()) return from;
        qint64 next = from;
        while (rows_.next()) {
            const qint64 rowid = rows_.value(0).toLongLong();
            if (rowid < next) continue;  // a broken page out of order: taken already or garbage
            take(rows_);
            if (rowid == kLastRowid) {
                rows_.finish();
                return std::nullopt;
            }
            next = rowid + 1;
        }
        const bool failed = rows_.lastError().isValid();
        rows_.finish();
        if (failed) return next;
        return std::nullopt;
    }

    // The first place after `bad` from which reading works again: probes at
    // growing distances, then halves back to the first readable rowid.
    // Nothing when no place up to the end works.
    std::optional<qint64> skipPast(qint64 bad) {
        qint64 lo = bad;
        qint64 step = 1;
        qint64 hi = 0;
        for (;;) {
            if (lo > kLastRowid - step) return std::nullopt;
            const qint64 at = lo + step;
            if (readable(at)) {
                hi = at;
                break;
            }
            lo = at;
            if (step < kLastRowid / 2) step *= 2;
        }
        while (hi - lo > 1) {
            const qint64 mid = lo + (hi - lo) / 2;
            if (readable(mid)) hi = mid;
            else lo = mid;
        }
        return hi;
    }

private:
    bool readable(qint64 at) {
        probe_.addBindValue(at);
        bool ok = probe_.exec();
        if (ok) {
            probe_.next();
            ok = !probe_.lastError().isValid();
        }
        probe_.finish();
        return ok;
    }

    QSqlQuery rows_, probe_;
    bool prepared_ = false;
};
}  // namespace

qint64 salvageRows(const QString& damaged, QSqlDatabase into) {
    SqlScratch source(damaged, true);
    if (!source.opened()) return 0;
    {
        // Lets the engine read a file shorter than its header says, as far as it goes.
        QSqlQuery tolerant(source.db());
        tolerant.exec(QStringLiteral("PRAGMA writable_schema = ON"));
    }
    Reader reader(source.db());
    if (!reader.prepared()) return 0;  // no table LOG to be found

    if (!into.transaction()) return -1;
    QSqlQuery insert(into);
    if (!insert.prepare(QStringLiteral(
            "INSERT INTO LOG (Typ, Kommt, Geht, Quittiert, Quelle, Adresse, Meldung) VALUES (?, ?, ?, ?, ?, ?, ?)"))) {
        into.rollback();
        return -1;
    }
    qint64 saved = 0;
    auto take = [&](QSqlQuery& row) {
        bool typOk = false, kommtOk = false;
        const int typ = row.value(1).toInt(&typOk);
        const double kommt = row.value(2).toDouble(&kommtOk);
        if (row.value(1).isNull() || row.value(2).isNull() || !typOk || !kommtOk) return;
        QVariant adresse = text(row.value(6), 8);
        if (adresse.toString().isEmpty()) adresse = QStringLiteral("0");
        insert.addBindValue(typ);
        insert.addBindValue(kommt);
        insert.addBindValue(serialOrNull(row.value(3)));
        insert.addBindValue(serialOrNull(row.value(4)));
        insert.addBindValue(text(row.value(5), 64));
        insert.addBindValue(adresse);
        insert.addBindValue(text(row.value(7), 64));
        if (insert.exec()) ++saved;
    };
    std::optional<qint64> from = kFirstRowid;
    while (from) {
        const std::optional<qint64> bad = reader.readFrom(*from, take);
        from = bad ? reader.skipPast(*bad) : std::nullopt;
    }
    if (!into.commit()) {
        into.rollback();
        return -1;
    }
    return saved;
}

}  // namespace zev
