#include "diagnosis/running_protocol.h"

#include "base/profile_codepage.h"

namespace zev {

int RunningProtocol::append(const QString& time, const QString& message, LineKind kind) {
    lines_.append({time + QLatin1Char('\t') + message, kind});
    return static_cast<int>(lines_.size()) - 1;
}

int RunningProtocol::rewrite(int index, const QString& time, const QString& message, LineKind kind) {
    if (index < 0 || index >= lines_.size()) return append(time, message, kind);
    lines_[index] = {time + QLatin1Char('\t') + message, kind};
    return index;
}

ProtocolState RunningProtocol::GetState(const QList<ProtocolLine>& lines) {
    ProtocolState s;
    for (const ProtocolLine& l : lines) {
        if (l.kind == LineKind::Fault) ++s.faults;
        if (l.kind == LineKind::Abort) s.aborted = true;
    }
    return s;
}

QByteArray RunningProtocol::encode(const QList<ProtocolLine>& lines) {
    QByteArray out;
    for (const ProtocolLine& l : lines) {
        out += profile::toWindows1252(l.text);
        out += static_cast<char>('0' + static_cast<int>(l.kind));
        out += "\r\n";
    }
    return out;
}

QList<ProtocolLine> RunningProtocol::decode(const QByteArray& text) {
    QList<ProtocolLine> out;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty()) continue;
        LineKind kind = LineKind::Information;
        const char last = line.back();
        if (last >= '0' && last <= '3') {
            kind = static_cast<LineKind>(last - '0');
            line.chop(1);
        }
        out.append({profile::fromWindows1252(line), kind});
    }
    return out;
}

}  // namespace zev
