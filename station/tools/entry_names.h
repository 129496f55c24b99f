// Names the operator types for tools and tool content: they stay inside their
// directory whatever is typed.
#pragma once

#include <QString>
#include <optional>

namespace zev {

// Trimmed, with ":", "\", "/" and "?" replaced by "_"; nullopt for an empty
// name, "." and ".." and a name with a control character.
std::optional<QString> cleanEntryName(const QString& typed);

// True when dir/name names an entry directly inside dir, also after symbolic
// links are followed (an existing link that leads out of dir is refused).
bool staysInside(const QString& dir, const QString& name);

// The name a new entry of dir gets from what was typed: cleaned, with
// `extension` added when it lacks it; nullopt when it would leave dir or begin
// with "." (such an entry would be hidden from every list).
std::optional<QString> entryNameIn(const QString& dir, const QString& typed, const QString& extension = {});

}  // namespace zev
