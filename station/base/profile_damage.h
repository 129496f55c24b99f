// When a settings file counts as damaged. The rules are cautious, so that a
// file edited by hand with a stray line is not called damaged; a file is
// damaged when
// - a line holds a NUL byte or another control character (other than tab, a
//   stray CR, or the end-of-file mark 0x1A of old editors at the very end):
//   text files never do, a file filled with zeros by a power cut does;
// - it has content (any line that is not blank or a comment) but no section at
//   all: nothing of it can be read;
// - at least three lines are neither blank, comment, section header ("[name]")
//   nor key=value inside a section, and they make up at least a quarter of the
//   lines with content.
#pragma once

#include <QByteArray>
#include <optional>
#include <vector>

namespace zev::profile {

struct FileDamage {
    enum Kind {
        Damaged,   // read as far as possible: the readable keys count, the others take their defaults
        TooLarge,  // not read at all and never written
    };
    Kind kind = Damaged;
    std::vector<int> lines;  // 1-based lines found damaged (Damaged only)
};

// The damage of a settings file's bytes, or nothing when it reads as a settings file.
std::optional<FileDamage> inspectSettingsFile(const QByteArray& bytes);

}  // namespace zev::profile
