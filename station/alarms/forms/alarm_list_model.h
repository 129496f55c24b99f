// The alarm list's rows: the records of LOG the filter selects, newest first.
// A query model, so that only the rows in sight are fetched from the file; it
// shows the type as its filter caption, the date serials as date and time,
// and colours a present alarm.
#pragma once

#include <QSqlQueryModel>

namespace zev {

class Texts;

// Columns of "SELECT * FROM LOG".
namespace LogColumn {
constexpr int Typ = 0, Kommt = 1, Geht = 2, Quittiert = 3, Quelle = 4, Adresse = 5, Meldung = 6;
constexpr int Count = 7;
}  // namespace LogColumn

class AlarmListModel final : public QSqlQueryModel {
    Q_OBJECT
public:
    AlarmListModel(Texts& texts, QObject* parent = nullptr);
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // A date serial as the list shows it ("" for an empty date).
    static QString dateText(const QVariant& serial);

private:
    Texts& texts_;
};

}  // namespace zev
