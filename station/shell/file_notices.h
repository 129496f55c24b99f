// The operator hears of settings files that were found damaged or too large:
// which file, and what the station uses instead. Once per file and run.
#pragma once

#include "base/profile_damage.h"

#include <QString>
#include <utility>
#include <vector>

class QObject;

namespace zev {

class Operator;
class Settings;
class Texts;

// The notice's text for one file.
QString fileDamageNotice(Texts& texts, const QString& path, const profile::FileDamage& damage);
// Damage found before the operator could be asked (the language file is read
// before the operator exists): kept until tellDamagedFiles.
using EarlyDamage = std::vector<std::pair<QString, profile::FileDamage>>;
void keepEarlyDamage(Settings& settings, EarlyDamage* early);
// Shows the notice after the current event (context: the owner of the queued
// call), for the damage kept early and for every file found damaged from now on.
void tellDamagedFiles(Settings& settings, Texts& texts, Operator& op, QObject* context, const EarlyDamage& early = {});

}  // namespace zev
