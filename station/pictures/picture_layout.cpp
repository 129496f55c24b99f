#include "pictures/picture_layout.h"

#include "base/profile_damage.h"
#include "base/profile_file.h"
#include "plant/zone_table.h"

#include <cmath>
#include <optional>

namespace zev {

namespace {
constexpr qsizetype kMaxValue = 1023;

QString section(const char* prefix, int k) {
    return QString::fromLatin1(prefix) + QStringLiteral("%1").arg(k, 3, 10, QLatin1Char('0'));
}

// "12", " 12 ", "12.6" (older files wrote decimals) -> 12, 12, 13; anything else nothing.
std::optional<int> number(const std::optional<QString>& text) {
    if (!text) return std::nullopt;
    bool ok = false;
    const int i = text->toInt(&ok);
    if (ok) return i;
    const double d = text->toDouble(&ok);
    if (ok && std::isfinite(d) && std::fabs(d) < 1e9) return static_cast<int>(std::lround(d));
    return std::nullopt;
}

int coordinate(const profile::ProfileFile& f, const QString& sec, const char* key, int def, int min) {
    const auto n = number(f.value(sec, QString::fromLatin1(key), kMaxValue));
    return n && *n >= min && *n <= kMaxCoordinate ? *n : def;
}

QRect place(const profile::ProfileFile& f, const QString& sec) {
    return QRect(coordinate(f, sec, "X", 0, -kMaxCoordinate), coordinate(f, sec, "Y", 0, -kMaxCoordinate),
                 coordinate(f, sec, "W", kDefaultElementWidth, 1), coordinate(f, sec, "H", kDefaultElementHeight, 1));
}

void setPlace(profile::ProfileFile& f, const QString& sec, const QRect& r) {
    f.setValue(sec, u"X", QString::number(r.x()));
    f.setValue(sec, u"Y", QString::number(r.y()));
    f.setValue(sec, u"W", QString::number(r.width()));
    f.setValue(sec, u"H", QString::number(r.height()));
}

}  // namespace

// A name must stay one line to read back as itself.
QString layoutName(const QString& name) {
    QString t = name;
    t.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return t.trimmed();
}

LayoutRead readLayout(const QString& path) {
    LayoutRead r;
    const profile::ReadResult file = profile::readFile(path, kMaxLayoutBytes);
    if (file.kind == profile::FileKind::Missing) return r;
    if (file.kind == profile::FileKind::Unusable) {
        r.status = LayoutRead::Unreadable;
        r.error = file.error;
        return r;
    }
    if (file.truncated) {
        r.status = LayoutRead::TooLarge;
        return r;
    }
    r.status = LayoutRead::Ok;
    if (const auto damage = profile::inspectSettingsFile(file.bytes)) {
        r.status = LayoutRead::Damaged;
        r.damagedLines = damage->lines;
    }
    const profile::ProfileFile f = profile::ProfileFile::parse(file.bytes);
    PictureLayout& l = r.layout;
    l.name = f.value(u"INFO", u"ANSICHT", kMaxValue).value_or(QString());
    l.showTitle = number(f.value(u"INFO", u"SHOWTITLE", kMaxValue)).value_or(0) == 1;
    for (int k = 1; k <= 999; ++k) {
        const QString sec = section("VALUE_", k);
        const auto zone = f.value(sec, u"ZONE", kMaxValue);
        if (!zone) break;
        PictureValue v;
        v.zone = number(zone).value_or(0);
        v.what = number(f.value(sec, u"WHAT", kMaxValue)).value_or(0);
        v.rect = place(f, sec);
        l.values.push_back(v);
    }
    for (int k = 1; k <= 999; ++k) {
        const QString sec = section("TOUCH_", k);
        const auto target = f.value(sec, u"BILD", kMaxValue);
        if (!target) break;
        l.touches.push_back({*target, place(f, sec)});
    }
    return r;
}

QByteArray layoutBytes(const PictureLayout& layout) {
    profile::ProfileFile f;
    f.setValue(u"INFO", u"ANSICHT", layoutName(layout.name));
    f.setValue(u"INFO", u"SHOWTITLE", layout.showTitle ? u"1" : u"0");
    int k = 0;
    for (const PictureValue& v : layout.values) {
        const QString sec = section("VALUE_", ++k);
        f.setValue(sec, u"ZONE", QString::number(v.zone));
        setPlace(f, sec, v.rect);
        f.setValue(sec, u"WHAT", QString::number(v.what));
    }
    k = 0;
    for (const PictureTouch& t : layout.touches) {
        const QString sec = section("TOUCH_", ++k);
        f.setValue(sec, u"BILD", layoutName(t.target));
        setPlace(f, sec, t.rect);
    }
    return f.serialize();
}

profile::WriteResult writeLayout(const QString& path, const PictureLayout& layout) {
    return profile::replaceFile(path, layoutBytes(layout));
}

bool shownZone(int zone, int zoneCount) { return zone >= 1 && zone <= kMaxZones && zone <= zoneCount; }

}  // namespace zev
