// The running protocol of a wiring test: one line per message with its time
// and its kind, some lines rewritten while the test waits (a countdown, the
// temperature a zone has reached). A rewritten line is named by the index the
// protocol gave it when it was added, never by its distance from the end, so
// that a fault line written in between is never overwritten.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace zev {

// Kinds of a protocol line; the digit stored after each line in a protocol file.
enum class LineKind { Information = 0, Passed = 1, Fault = 2, Abort = 3 };

struct ProtocolLine {
    QString text;  // "HH:mm:ss" + tab + message
    LineKind kind = LineKind::Information;
};

// What a protocol says as a whole (`GetState`).
struct ProtocolState {
    int faults = 0;       // lines of kind 2
    bool aborted = false; // a line of kind 3
    bool clean() const { return faults == 0 && !aborted; }
};

class RunningProtocol {
public:
    void clear() { lines_.clear(); }
    // AddMsg(text, -1, kind): appends "time<TAB>message"; returns its index.
    int append(const QString& time, const QString& message, LineKind kind);
    // Rewrites the line of that index (an index out of range appends instead).
    int rewrite(int index, const QString& time, const QString& message, LineKind kind);

    const QList<ProtocolLine>& lines() const { return lines_; }
    void setLines(QList<ProtocolLine> lines) { lines_ = std::move(lines); }
    ProtocolState state() const { return GetState(lines_); }

    static ProtocolState GetState(const QList<ProtocolLine>& lines);
    // The stored form: each line's text (Windows-1252), its kind digit, CR LF.
    static QByteArray encode(const QList<ProtocolLine>& lines);
    // The lines of a stored text; a line without a kind digit counts as information.
    static QList<ProtocolLine> decode(const QByteArray& text);

private:
    QList<ProtocolLine> lines_;
};

}  // namespace zev
