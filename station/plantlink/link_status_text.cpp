#include "plantlink/link_status_text.h"

#include "support/texts.h"

namespace zev {

QString configProblemText(Texts& texts, ConfigProblem problem) {
    switch (problem) {
    case ConfigProblem::None: return {};
    case ConfigProblem::StationName: return texts(364);
    case ConfigProblem::Port:
    case ConfigProblem::KeepAlive:
    case ConfigProblem::CaFile: return texts(372);
    }
    return {};
}

QString linkStatusText(Texts& texts, bool enabled, ConfigProblem problem, const LinkStatus& s) {
    if (!enabled) return texts(354);
    if (problem != ConfigProblem::None) return configProblemText(texts, problem);
    switch (s.state) {
    case LinkState::Off: return texts(354);
    case LinkState::Connecting: return texts(370);
    case LinkState::Connected: return texts(352);
    case LinkState::Waiting: break;
    }
    QString why;
    switch (s.failure) {
    case LinkFailure::LoginRefused: why = texts(356); break;
    case LinkFailure::Tls: why = texts(357); break;
    default: why = texts(355); break;
    }
    QString line = why + s.detail;
    if (s.retryIn > 0) line += QStringLiteral("\n") + texts(353) + QString::number(s.retryIn) + QStringLiteral(" s");
    return line;
}

}  // namespace zev
