// One profile file in memory: parsing, lookup, change and serialising, without
// any file access.
//
// Every line of the file is kept as its bytes, so that a rewrite changes only
// the lines that were set: comments, blank lines, unknown lines, duplicate
// sections and keys, garbage and the original line ends all come back byte for
// byte. Lines written by this class end in CR LF.
//
// Reading rules: a line whose first non-blank character is "[" starts a section
// named by the text up to "]" (or up to the line end when "]" is missing); ";"
// starts a comment; any other line with "=" is key=value; everything else is
// carried along and never matches. Names and values are trimmed of blanks
// (space, tab, stray CR). Sections and keys are compared without regard to case,
// and the first matching section and the first matching key in it win.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

namespace zev::profile {

class ProfileFile {
public:
    ProfileFile();

    // Never fails: whatever the bytes are, the result serialises back to them.
    static ProfileFile parse(const QByteArray& bytes);
    QByteArray serialize() const;

    // The value of the first key named key in the first section named section,
    // trimmed, cut at a NUL byte (the old C-string reader ended there) and after
    // maxChars characters; nullopt when there is no such key.
    std::optional<QString> value(QStringView section, QStringView key, qsizetype maxChars) const;

    // Replaces the value of the first matching key (keeping the "key = " part as
    // written), or adds "key=value" after the last non-blank, non-comment line of
    // the section, or adds the section at the end of the file. value must be one
    // line; characters outside Windows-1252 are stored as "?".
    void setValue(QStringView section, QStringView key, QStringView value);

    // Section names as written, in file order; of equal names only the first,
    // since later ones are never read.
    QStringList sections() const;

    // Names that read back as themselves: not empty, no surrounding blanks, no
    // line break or NUL, only Windows-1252 characters; a section name without
    // "]", a key without "=" and not starting with "[" or ";".
    static bool isValidSectionName(QStringView name);
    static bool isValidKeyName(QStringView name);

private:
    enum class LineEnd : quint8 { None, Lf, CrLf };
    struct Line {
        QByteArray text;  // without the line end
        LineEnd end = LineEnd::CrLf;
        bool isKey = false;
        qsizetype valueStart = 0;  // after the "=", when isKey
        QString key;               // case-folded, when isKey
    };
    struct Block {
        QString name;    // as written; empty for the lines before the first section
        QString folded;  // case-folded name
        std::vector<Line> lines;  // lines[0] is the header, except in the first block
    };

    void addLine(Line line);
    const Line* findKey(QStringView section, QStringView key) const;
    static Line keyLine(QStringView key, const QByteArray& value);

    std::vector<Block> blocks_;          // blocks_[0]: lines before the first section
    QHash<QString, int> firstBlock_;     // folded section name -> first block of that name
};

}  // namespace zev::profile
