#include "support/password_store.h"

#include "base/settings.h"

namespace zev {

namespace {
const QString kSection = QStringLiteral("INFO");
// Format marker: it also keeps an empty password from reading as a missing key,
// which would bring the default back.
const QChar kMarker = QLatin1Char('Z');
constexpr unsigned char kKey[] = {0x5A, 0x45, 0x56, 0x33, 0x2D, 0x50, 0x57, 0x21};

QString key(int level) { return QStringLiteral("PL%1").arg(level); }
}  // namespace

QString PasswordStore::defaultPassword(int level) {
    switch (level) {
    case 2:
    case 3: return QStringLiteral("58");
    case 4: return QStringLiteral("harbour");
    default: return QString();
    }
}

// A reversible scrambling (not a secret cipher): UTF-8 bytes XOR a running key,
// written as hex so that the profile file stays plain text.
QString PasswordStore::encipher(const QString& clear) {
    const QByteArray bytes = clear.toUtf8();
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto k = static_cast<unsigned char>(kKey[i % sizeof kKey] + 7 * i);
        out.append(static_cast<char>(static_cast<unsigned char>(bytes[i]) ^ k));
    }
    return kMarker + QString::fromLatin1(out.toHex().toUpper());
}

std::optional<QString> PasswordStore::decipher(const QString& stored) {
    if (stored.isEmpty() || stored[0] != kMarker) return std::nullopt;
    const QString hex = stored.mid(1);
    if (hex.size() % 2 != 0) return std::nullopt;
    for (QChar c : hex)
        if (!c.isDigit() && !(c >= QLatin1Char('A') && c <= QLatin1Char('F'))) return std::nullopt;
    const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
    QByteArray clear;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto k = static_cast<unsigned char>(kKey[i % sizeof kKey] + 7 * i);
        clear.append(static_cast<char>(static_cast<unsigned char>(bytes[i]) ^ k));
    }
    return QString::fromUtf8(clear);
}

PasswordStore::Loaded PasswordStore::load() {
    Loaded result;
    for (int level = 1; level <= 4; ++level) {
        const QString stored =
            settings_.GetIni(kSection, key(level), encipher(defaultPassword(level)), file_);
        if (const auto clear = decipher(stored)) {
            result.passwords[static_cast<std::size_t>(level)] = *clear;
        } else {
            // Unreadable entry: keep the file as it is and run with the default.
            result.passwords[static_cast<std::size_t>(level)] = defaultPassword(level);
            result.damaged = true;
        }
    }
    return result;
}

void PasswordStore::store(int level, const QString& password) {
    settings_.SetIni(kSection, key(level), encipher(password), file_);
}

}  // namespace zev
