#include "base/profile_file.h"

#include "base/profile_codepage.h"

#include <algorithm>

namespace zev::profile {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// [begin, end) of text without surrounding blanks.
void trim(const QByteArray& text, qsizetype& begin, qsizetype& end) {
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
}

QString decodedName(const QByteArray& text, qsizetype begin, qsizetype end) {
    trim(text, begin, end);
    return fromWindows1252(QByteArrayView(text.constData() + begin, end - begin));
}

// A line after which a new key of the section belongs: not blank, not a comment.
bool isContent(const QByteArray& text) {
    qsizetype b = 0, e = text.size();
    trim(text, b, e);
    return b < e && text[b] != ';';
}

bool hasSurroundingBlank(QStringView s) {
    return s.front() == u' ' || s.front() == u'\t' || s.back() == u' ' || s.back() == u'\t';
}

bool hasLineBreakOrNul(QStringView s) {
    return s.contains(u'\r') || s.contains(u'\n') || s.contains(QChar(0));
}

}  // namespace

ProfileFile::ProfileFile() : blocks_(1) {}

ProfileFile ProfileFile::parse(const QByteArray& bytes) {
    ProfileFile file;
    qsizetype pos = 0;
    const qsizetype size = bytes.size();
    while (pos < size) {
        Line line;
        const qsizetype lf = bytes.indexOf('\n', pos);
        if (lf < 0) {
            line.text = bytes.mid(pos);
            line.end = LineEnd::None;
            pos = size;
        } else {
            const bool crlf = lf > pos && bytes[lf - 1] == '\r';
            line.text = bytes.mid(pos, lf - pos - (crlf ? 1 : 0));
            line.end = crlf ? LineEnd::CrLf : LineEnd::Lf;
            pos = lf + 1;
        }
        file.addLine(std::move(line));
    }
    return file;
}

void ProfileFile::addLine(Line line) {
    const QByteArray& t = line.text;
    qsizetype b = 0, e = t.size();
    trim(t, b, e);
    if (b < e && t[b] == '[') {
        const qsizetype close = t.indexOf(']', b + 1);
        Block block;
        block.name = decodedName(t, b + 1, close < 0 ? e : close);
        block.folded = block.name.toCaseFolded();
        block.lines.push_back(std::move(line));
        if (!firstBlock_.contains(block.folded))
            firstBlock_.insert(block.folded, static_cast<int>(blocks_.size()));
        blocks_.push_back(std::move(block));
        return;
    }
    if (b < e && t[b] != ';') {
        const qsizetype eq = t.indexOf('=', b);
        if (eq >= 0) {
            line.isKey = true;
            line.key = decodedName(t, b, eq).toCaseFolded();
            line.valueStart = eq + 1;
        }
    }
    blocks_.back().lines.push_back(std::move(line));
}

QByteArray ProfileFile::serialize() const {
    qsizetype total = 0;
    for (const Block& block : blocks_)
        for (const Line& line : block.lines)
            total += line.text.size() + 2;
    QByteArray out;
    out.reserve(total);
    for (const Block& block : blocks_) {
        for (const Line& line : block.lines) {
            out.append(line.text);
            if (line.end == LineEnd::CrLf)
                out.append("\r\n", 2);
            else if (line.end == LineEnd::Lf)
                out.append('\n');
        }
    }
    return out;
}

const ProfileFile::Line* ProfileFile::findKey(QStringView section, QStringView key) const {
    const auto it = firstBlock_.constFind(section.toString().toCaseFolded());
    if (it == firstBlock_.cend())
        return nullptr;
    const QString folded = key.toString().toCaseFolded();
    for (const Line& line : blocks_[*it].lines)
        if (line.isKey && line.key == folded)
            return &line;
    return nullptr;
}

std::optional<QString> ProfileFile::value(QStringView section, QStringView key, qsizetype maxChars) const {
    const Line* line = findKey(section, key);
    if (!line)
        return std::nullopt;
    const QByteArray& t = line->text;
    qsizetype b = line->valueStart;
    qsizetype e = t.indexOf('\0', b);
    if (e < 0)
        e = t.size();
    trim(t, b, e);
    return fromWindows1252(QByteArrayView(t.constData() + b, std::min(e - b, std::max<qsizetype>(maxChars, 0))));
}

ProfileFile::Line ProfileFile::keyLine(QStringView key, const QByteArray& value) {
    Line line;
    line.text = toWindows1252(key) + '=' + value;
    line.isKey = true;
    line.key = key.toString().toCaseFolded();
    line.valueStart = line.text.size() - value.size();
    return line;
}

void ProfileFile::setValue(QStringView section, QStringView key, QStringView value) {
    const QByteArray bytes = toWindows1252(value);
    const QString foldedSection = section.toString().toCaseFolded();
    const auto it = firstBlock_.constFind(foldedSection);
    if (it == firstBlock_.cend()) {
        // A file without a final line end gets one before the new section.
        for (auto b = blocks_.rbegin(); b != blocks_.rend(); ++b) {
            if (!b->lines.empty()) {
                if (b->lines.back().end == LineEnd::None)
                    b->lines.back().end = LineEnd::CrLf;
                break;
            }
        }
        Block block;
        block.name = section.toString();
        block.folded = foldedSection;
        Line header;
        header.text = '[' + toWindows1252(section) + ']';
        block.lines.push_back(std::move(header));
        block.lines.push_back(keyLine(key, bytes));
        firstBlock_.insert(foldedSection, static_cast<int>(blocks_.size()));
        blocks_.push_back(std::move(block));
        return;
    }

    std::vector<Line>& lines = blocks_[*it].lines;
    const QString foldedKey = key.toString().toCaseFolded();
    for (Line& line : lines) {
        if (line.isKey && line.key == foldedKey) {
            qsizetype keep = line.valueStart;
            while (keep < line.text.size() && (line.text[keep] == ' ' || line.text[keep] == '\t'))
                ++keep;
            line.text = line.text.left(keep) + bytes;
            line.end = LineEnd::CrLf;
            return;
        }
    }
    std::size_t at = lines.size();
    while (at > 1 && !isContent(lines[at - 1].text))
        --at;
    if (lines[at - 1].end == LineEnd::None)  // the last line of the file
        lines[at - 1].end = LineEnd::CrLf;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), keyLine(key, bytes));
}

QStringList ProfileFile::sections() const {
    QStringList names;
    for (std::size_t i = 1; i < blocks_.size(); ++i)
        if (firstBlock_.value(blocks_[i].folded) == static_cast<int>(i))
            names.append(blocks_[i].name);
    return names;
}

bool ProfileFile::isValidSectionName(QStringView name) {
    return !name.isEmpty() && !hasSurroundingBlank(name) && !hasLineBreakOrNul(name) &&
           !name.contains(u']') && representableInWindows1252(name);
}

bool ProfileFile::isValidKeyName(QStringView name) {
    return !name.isEmpty() && !hasSurroundingBlank(name) && !hasLineBreakOrNul(name) &&
           !name.contains(u'=') && name.front() != u'[' && name.front() != u';' &&
           representableInWindows1252(name);
}

}  // namespace zev::profile
