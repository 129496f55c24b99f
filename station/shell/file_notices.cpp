#include "shell/file_notices.h"

#include "base/profile_damage.h"
#include "base/settings.h"
#include "support/notices.h"
#include "support/text_numbers.h"
#include "support/texts.h"

#include <QDir>
#include <QTimer>

namespace zev {

namespace {
constexpr std::size_t kLinesShown = 12;
}

QString fileDamageNotice(Texts& texts, const QString& path, const profile::FileDamage& damage) {
    const QString crlf = QStringLiteral("\r\n");
    const QString file = QDir::toNativeSeparators(path);
    if (damage.kind == profile::FileDamage::TooLarge)
        return texts(TextNo::FileTooLarge) + file + crlf + texts(TextNo::DefaultsFileUnchanged);
    QString text = texts(TextNo::DriverFileDamaged) + file + crlf;
    if (!damage.lines.empty()) {
        QStringList lines;
        for (std::size_t i = 0; i < damage.lines.size() && i < kLinesShown; ++i) lines << QString::number(damage.lines[i]);
        if (damage.lines.size() > kLinesShown) lines << QStringLiteral("...");
        text += texts(TextNo::DamagedLines) + lines.join(QStringLiteral(", ")) + crlf;
    }
    return text + texts(TextNo::DefaultsForUnreadable);
}

void keepEarlyDamage(Settings& settings, EarlyDamage* early) {
    settings.setDamageHandler([early](const QString& path, const profile::FileDamage& damage) {
        early->emplace_back(path, damage);
    });
}

void tellDamagedFiles(Settings& settings, Texts& texts, Operator& op, QObject* context, const EarlyDamage& early) {
    auto tell = [&texts, &op, context](const QString& path, const profile::FileDamage& damage) {
        QTimer::singleShot(0, context, [&texts, &op, path, damage] {
            tellOperator(op, texts, fileDamageNotice(texts, path, damage), kNoticeAlarm);
        });
    };
    for (const auto& [path, damage] : early) tell(path, damage);
    settings.setDamageHandler(tell);
}

}  // namespace zev
