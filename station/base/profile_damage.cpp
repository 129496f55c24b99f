#include "base/profile_damage.h"

#include <algorithm>

namespace zev::profile {

namespace {

constexpr char kEndOfFileMark = 0x1A;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool hasControlCharacter(QByteArrayView line) {
    for (char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t' && c != '\r') return true;
    }
    return false;
}

enum class LineKind { Blank, Comment, Section, Key, Invalid };

LineKind kindOf(QByteArrayView line) {
    qsizetype b = 0, e = line.size();
    while (b < e && isBlank(line[b])) ++b;
    while (e > b && isBlank(line[e - 1])) --e;
    if (b == e) return LineKind::Blank;
    const QByteArrayView t = line.sliced(b, e - b);
    if (t.front() == ';') return LineKind::Comment;
    if (t.front() == '[') return t.indexOf(']') > 1 ? LineKind::Section : LineKind::Invalid;
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0) return LineKind::Invalid;
    qsizetype k = eq;
    while (k > 0 && isBlank(t[k - 1])) --k;
    return k > 0 ? LineKind::Key : LineKind::Invalid;  // "= value" names no key
}

}  // namespace

std::optional<FileDamage> inspectSettingsFile(const QByteArray& bytes) {
    QByteArrayView text(bytes);
    while (!text.isEmpty() && text.back() == kEndOfFileMark) text.chop(1);
    FileDamage damage;
    std::vector<int> binary, invalid, keysOutside;
    int content = 0, sections = 0, number = 0;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype lf = text.indexOf('\n', pos);
        if (lf < 0) lf = text.size();
        const QByteArrayView line = text.sliced(pos, lf - pos);
        pos = lf + 1;
        ++number;
        if (hasControlCharacter(line)) {
            binary.push_back(number);
            ++content;
            continue;
        }
        switch (kindOf(line)) {
        case LineKind::Blank:
        case LineKind::Comment: break;
        case LineKind::Section: ++sections, ++content; break;
        case LineKind::Key:
            ++content;
            if (sections == 0) keysOutside.push_back(number);  // never read
            break;
        case LineKind::Invalid:
            ++content;
            invalid.push_back(number);
            break;
        }
    }
    invalid.insert(invalid.end(), keysOutside.begin(), keysOutside.end());
    const int bad = static_cast<int>(invalid.size());
    const bool damaged = !binary.empty() || (content > 0 && sections == 0) || (bad >= 3 && bad * 4 >= content);
    if (!damaged) return std::nullopt;
    damage.lines = binary;
    damage.lines.insert(damage.lines.end(), invalid.begin(), invalid.end());
    std::sort(damage.lines.begin(), damage.lines.end());
    return damage;
}

}  // namespace zev::profile
