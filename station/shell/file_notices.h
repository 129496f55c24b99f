// The operator hears of settings files that were found damaged or too large:
// which file, and what the station uses instead. Once per file and run.
#pragma once

#include <QString>

class QObject;

namespace zev {

class Operator;
class Settings;
class Texts;
namespace profile {
struct FileDamage;
}

// The notice's text for one file.
QString fileDamageNotice(Texts& texts, const QString& path, const profile::FileDamage& damage);
// Shows the notice after the current event (context: the owner of the queued call).
void tellDamagedFiles(Settings& settings, Texts& texts, Operator& op, QObject* context);

}  // namespace zev
