#include "alarms/forms/alarm_list_model.h"

#include "alarms/alarm_log.h"
#include "base/clock.h"
#include "support/texts.h"

#include <QBrush>
#include <QColor>

namespace zev {

namespace {
const QColor kPresent(0xFF, 0x80, 0x80);       // alarm still there, not acknowledged
const QColor kPresentSeen(0xFF, 0xC0, 0xC0);   // alarm still there, acknowledged
const QColor kEvent(0xE0, 0xE0, 0xE0);
}  // namespace

AlarmListModel::AlarmListModel(Texts& texts, QObject* parent) : QSqlQueryModel(parent), texts_(texts) {}

QString AlarmListModel::dateText(const QVariant& serial) {
    if (serial.isNull()) return QString();
    bool ok = false;
    const double v = serial.toDouble(&ok);
    if (!ok) return serial.toString();  // never hide what the file holds
    return Clock::fromDateSerial(v).toString(QStringLiteral("dd.MM.yy HH:mm:ss"));
}

QVariant AlarmListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) {
        const QVariant v = QSqlQueryModel::data(index, role);
        switch (index.column()) {
        case LogColumn::Typ:
            switch (v.toInt()) {
            case RecordType::Event: return texts_(209);
            case RecordType::Message: return texts_(210);
            case RecordType::Alarm: return texts_(211);
            default: return v;
            }
        case LogColumn::Kommt:
        case LogColumn::Geht:
        case LogColumn::Quittiert: return dateText(v);
        default: return v;
        }
    }
    if (role == Qt::BackgroundRole) {
        const int typ = QSqlQueryModel::data(this->index(index.row(), LogColumn::Typ)).toInt();
        if (typ == RecordType::Event) return QBrush(kEvent);
        if (typ == RecordType::Alarm && QSqlQueryModel::data(this->index(index.row(), LogColumn::Geht)).isNull()) {
            const bool seen = !QSqlQueryModel::data(this->index(index.row(), LogColumn::Quittiert)).isNull();
            return QBrush(seen ? kPresentSeen : kPresent);
        }
        return {};
    }
    return QSqlQueryModel::data(index, role);
}

QVariant AlarmListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QSqlQueryModel::headerData(section, orientation, role);
    switch (section) {
    case LogColumn::Typ: return QString();
    case LogColumn::Kommt: return texts_(222);
    case LogColumn::Geht: return texts_(223);
    case LogColumn::Quittiert: return texts_(224);
    case LogColumn::Quelle: return texts_(220);
    case LogColumn::Adresse: return QStringLiteral("#");  // the zone number: a symbol, like the units
    case LogColumn::Meldung: return texts_(221);
    default: return QSqlQueryModel::headerData(section, orientation, role);
    }
}

}  // namespace zev
