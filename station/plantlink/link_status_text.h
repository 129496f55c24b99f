// What the configuration page says about the connection to the broker, in the
// operator's language.
#pragma once

#include "plantlink/mqtt_client.h"
#include "plantlink/mqtt_config.h"

#include <QString>

namespace zev {

class Texts;

QString configProblemText(Texts& texts, ConfigProblem problem);
QString linkStatusText(Texts& texts, bool enabled, ConfigProblem problem, const LinkStatus& status);

}  // namespace zev
