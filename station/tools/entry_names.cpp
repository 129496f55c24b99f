#include "tools/entry_names.h"

#include <QDir>
#include <QFileInfo>

namespace zev {

std::optional<QString> cleanEntryName(const QString& typed) {
    QString name = typed.trimmed();
    for (QChar c : {QLatin1Char(':'), QLatin1Char('\\'), QLatin1Char('/'), QLatin1Char('?')})
        name.replace(c, QLatin1Char('_'));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return std::nullopt;
    for (QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return std::nullopt;
    return name;
}

bool staysInside(const QString& dir, const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    const QString base = QFileInfo(dir).canonicalFilePath();
    if (base.isEmpty()) return false;
    const QFileInfo entry(QDir(dir).filePath(name));
    if (!entry.isSymLink() && !entry.exists()) return true;  // a new entry of a plain name
    const QString target = entry.canonicalFilePath();
    // A dangling link is refused too: it would be created wherever it points.
    return !target.isEmpty() && QFileInfo(target).absolutePath() == base;
}

std::optional<QString> entryNameIn(const QString& dir, const QString& typed, const QString& extension) {
    auto name = cleanEntryName(typed);
    if (name && !name->endsWith(extension, Qt::CaseInsensitive)) *name += extension;
    if (!name || name->startsWith(QLatin1Char('.')) || !staysInside(dir, *name)) return std::nullopt;
    return name;
}

}  // namespace zev
