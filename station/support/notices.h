// A notice with a single "OK" button: what most messages to the operator are.
#pragma once

#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"

namespace zev {

inline void tellOperator(Operator& op, Texts& texts, const QString& text, int kind = kNoticePlain) {
    op.notice(text, QString(), texts(TextNo::Ok), QString(), kind);
}

}  // namespace zev
