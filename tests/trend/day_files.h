// Writes day files for the trend tests with its own byte arithmetic (no code
// of the station): presence byte s-1, record s at 86400 + (s-1)*3240, zone z
// at (z-1)*12: setpoint, actual, status (4 bytes), output, current.
#pragma once

#include <QDate>
#include <QFile>
#include <QString>
#include <cstdint>
#include <functional>

namespace zev::test {

struct TestEntry {
    int setpoint = -10024, actual = -10024, status = -10024, output = -10024, current = -10024;
};

// Writes seconds first..last of `day` into dir; entry(second, zone) gives the
// values of zones 1..zones, the other zones get no value.
inline void writeDayFile(const QString& dir, const QDate& day, int first, int last, int zones,
                         const std::function<TestEntry(int second, int zone)>& entry) {
    QFile f(dir + day.toString("yyyyMMdd") + ".CDB");
    f.open(QIODevice::ReadWrite);
    auto le = [](QByteArray& b, std::int64_t v, int n) {
        for (int i = 0; i < n; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    for (int s = first; s <= last; ++s) {
        QByteArray rec;
        for (int z = 1; z <= 270; ++z) {
            const TestEntry e = z <= zones ? entry(s, z) : TestEntry{};
            le(rec, e.setpoint, 2);
            le(rec, e.actual, 2);
            le(rec, e.status, 4);
            le(rec, e.output, 2);
            le(rec, e.current, 2);
        }
        f.seek(86400 + std::int64_t(s - 1) * 3240);
        f.write(rec);
        f.seek(s - 1);
        f.write("\1", 1);
    }
}

}  // namespace zev::test
