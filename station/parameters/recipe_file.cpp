#include "parameters/recipe_file.h"

#include "base/profile_codepage.h"
#include "base/profile_disk.h"
#include "base/profile_file.h"

#include <QDir>
#include <cmath>
#include <set>

namespace zev {

namespace {
const QString kExtension = QStringLiteral(".RZP");
constexpr qsizetype kMaxValueChars = 4096;

QString sectionOf(int zone) { return QStringLiteral("Z%1").arg(zone, 3, 10, QLatin1Char('0')); }

// A 16-bit whole number (rounded as the old readers did); nullopt otherwise.
std::optional<int> number16(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    const long r = std::lround(v);
    if (r < -32768 || r > 32767) return std::nullopt;
    return static_cast<int>(r);
}

int wish(int v) { return v < -10023 ? kNoValue : v; }
}  // namespace

std::optional<QString> recipeName(const QString& entered) {
    QString name = entered.trimmed().toUpper();
    for (QChar c : {QLatin1Char(':'), QLatin1Char('\\'), QLatin1Char('/'), QLatin1Char('?')}) name.replace(c, QLatin1Char('_'));
    // A NUL or a line break would cut the name on disk or in the settings file.
    for (QChar& c : name)
        if (c.unicode() < 0x20) c = QLatin1Char('_');
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return std::nullopt;
    return name;
}

QStringList recipeNames(const QString& directory) {
    std::set<QString> names;
    const QStringList files = QDir(directory).entryList({QStringLiteral("*.rzp")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& f : files) {
        if (!f.endsWith(kExtension, Qt::CaseInsensitive)) continue;
        names.insert(f.left(f.size() - 4).toUpper());
    }
    return QStringList(names.begin(), names.end());
}

QString existingRecipeFile(const QString& directory, const QString& name) {
    const QString exact = recipeFilePath(directory, name);
    if (QFileInfo(exact).isFile()) return exact;
    const QStringList files = QDir(directory).entryList({QStringLiteral("*.rzp")}, QDir::Files);
    for (const QString& f : files)
        if (f.compare(name + kExtension, Qt::CaseInsensitive) == 0) return QDir(directory).filePath(f);
    return {};
}

QString recipeFilePath(const QString& directory, const QString& name) { return QDir(directory).filePath(name + kExtension); }

int parseParamText(const QString& text, std::array<int, 28>& out, std::vector<int>* bad) {
    int count = 0;
    qsizetype pos = 0;
    for (int p = 0; p < 28; ++p) {
        const qsizetype end = text.indexOf(QLatin1Char(';'), pos);
        if (end < 0) break;
        const QString field = text.mid(pos, end - pos).trimmed();
        if (field.isEmpty()) {
            out[static_cast<std::size_t>(p)] = 0;
        } else if (const auto v = number16(field)) {
            out[static_cast<std::size_t>(p)] = wish(*v);
        } else {
            out[static_cast<std::size_t>(p)] = kNoValue;
            if (bad) bad->push_back(p + 1);
        }
        ++count;
        pos = end + 1;
    }
    return count;
}

RecipeRead readRecipeFile(const QString& path, const QStringList& globalCodes) {
    RecipeRead result;
    if (path.isEmpty()) return result;
    const profile::ReadResult file = profile::readFile(path, kMaxRecipeBytes);
    if (file.kind == profile::FileKind::Missing) return result;
    if (file.kind == profile::FileKind::Unusable) {
        result.status = RecipeReadStatus::Unreadable;
        result.error = file.error;
        return result;
    }
    if (file.truncated) {
        result.status = RecipeReadStatus::TooLarge;
        return result;
    }
    const profile::ProfileFile ini = profile::ProfileFile::parse(file.bytes);
    RecipeData& data = result.data;
    bool global = false;
    for (const QString& s : ini.sections()) {
        if (s.compare(QLatin1String("GLOBAL"), Qt::CaseInsensitive) == 0) global = true;
        if (s.size() != 4 || s[0].toUpper() != QLatin1Char('Z')) continue;
        bool ok = false;
        const int zone = s.mid(1).toInt(&ok);
        if (!ok || zone < 1 || zone > kMaxZones || s.compare(sectionOf(zone), Qt::CaseInsensitive) != 0) continue;
        RecipeZone& z = data.zones[static_cast<std::size_t>(zone)];
        z.present = true;
        ++data.zoneSections;
        z.params.fill(kNoValue);
        std::vector<int> bad;
        z.paramCount = parseParamText(ini.value(s, u"PARAM", kMaxValueChars).value_or(QString()), z.params, &bad);
        for (int p : bad) data.damaged << s + QStringLiteral(" PARAM ") + QString::number(p);
        const std::optional<QString> mode = ini.value(s, u"MODE", kMaxValueChars);
        const std::optional<int> m = mode ? number16(*mode) : std::nullopt;
        // Only a mode the controllers know is a wish; anything else wants nothing.
        z.mode = m && *m >= 0 && *m <= 2 ? *m : kNoValue;
        if (mode && !m) data.damaged << s + QStringLiteral(" MODE");
    }
    for (const QString& code : globalCodes) {
        const std::optional<QString> v = global ? ini.value(u"GLOBAL", code, kMaxValueChars) : std::nullopt;
        if (!v || v->isEmpty()) continue;  // no key: the recipe wants nothing
        const std::optional<int> n = number16(*v);
        data.globals[code.toUpper()] = n ? wish(*n) : kNoValue;
        if (!n) data.damaged << QStringLiteral("GLOBAL ") + code;
    }
    if (data.zoneSections == 0 && !global) {
        result.status = RecipeReadStatus::NotARecipe;
        return result;
    }
    result.status = RecipeReadStatus::Ok;
    return result;
}

QByteArray recipeText(const RecipeContent& content) {
    QString text;
    text.reserve(static_cast<qsizetype>(content.params.size()) * 200 + 64);
    auto value = [](int v) { return QString::number(v < -10023 ? kNoValue : v); };
    for (std::size_t zone = 1; zone < content.params.size(); ++zone) {
        text += QLatin1Char('[') + sectionOf(static_cast<int>(zone)) + QStringLiteral("]\r\nPARAM=");
        for (int v : content.params[zone]) text += value(v) + QLatin1Char(';');
        const int mode = zone < content.modes.size() ? content.modes[zone] : kNoValue;
        text += QStringLiteral("\r\nMODE=") + value(mode) + QStringLiteral("\r\n");
    }
    text += QStringLiteral("[GLOBAL]\r\n");
    for (const auto& [code, v] : content.globals) text += code + QLatin1Char('=') + value(v) + QStringLiteral("\r\n");
    return profile::toWindows1252(text);
}

}  // namespace zev
