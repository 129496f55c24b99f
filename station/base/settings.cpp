#include "base/settings.h"

#include "base/profile_cache.h"

#include <QDir>
#include <stdexcept>

namespace zev {

using profile::ProfileFile;

namespace {

const QString kTilde = QStringLiteral("~~");
const QString kCrLf = QStringLiteral("\r\n");

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString trimBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

void checkNames(const QString& section, const QString& key) {
    if (!ProfileFile::isValidSectionName(section))
        throw std::invalid_argument("settings: unusable section name \"" + section.toStdString() + '"');
    if (!ProfileFile::isValidKeyName(key))
        throw std::invalid_argument("settings: unusable key name \"" + key.toStdString() + "\" in section \"" +
                                    section.toStdString() + '"');
}

}  // namespace

Settings::Settings(QString programDir)
    : programDir_(std::move(programDir)), cache_(std::make_unique<profile::ProfileCache>()) {}

Settings::~Settings() = default;

QString Settings::resolve(const QString& file) const {
    return file == u"*" ? programDir_ + QStringLiteral("/zev.ini") : file;
}

QString Settings::path(const QString& file) const {
    const QString resolved = resolve(file);
    return QDir::cleanPath(QDir::isAbsolutePath(resolved) ? resolved : QDir::current().absoluteFilePath(resolved));
}

QString Settings::GetIni(const QString& section, const QString& key, const QString& def, const QString& file) {
    checkNames(section, key);
    const std::optional<QString> stored = cache_->file(path(file)).value(section, key, kMaxValueLength);
    if (stored && !stored->isEmpty()) {
        QString value = *stored;
        return value.replace(kTilde, kCrLf);
    }
    const QString trimmed = trimBlanks(def);
    if (!trimmed.isEmpty())
        SetIni(section, key, trimmed, file);
    return trimmed;
}

bool Settings::SetIni(const QString& section, const QString& key, QString& value, const QString& file) {
    checkNames(section, key);
    value.replace(kCrLf, kTilde).replace(u'\r', kTilde).replace(u'\n', kTilde);
    const qsizetype nul = value.indexOf(QChar(0));
    const QString stored = trimBlanks(nul < 0 ? value : value.left(nul));
    return cache_->change(path(file), [&](ProfileFile& f) { f.setValue(section, key, stored); });
}

bool Settings::SetIni(const QString& section, const QString& key, const QString& value, const QString& file) {
    QString copy = value;
    return SetIni(section, key, copy, file);
}

void Settings::setWriteFailureHandler(std::function<void(const QString&, const QString&)> h) {
    cache_->setFailureHandler(std::move(h));
}

QStringList Settings::sections(const QString& file) {
    return cache_->file(path(file)).sections();
}

bool Settings::removeFile(const QString& file) {
    return cache_->remove(path(file));
}

Settings::Batch::Batch(Settings& settings) : settings_(&settings) {
    settings_->cache_->beginBatch();
}

Settings::Batch::~Batch() {
    finish();
}

bool Settings::Batch::finish() {
    if (!settings_)
        return true;
    Settings* s = std::exchange(settings_, nullptr);
    return s->cache_->endBatch();
}

}  // namespace zev
