// Code page 850 (the OEM code page of the driver files' names) to Unicode.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace zev {

QString fromCodePage850(QByteArrayView bytes);

}  // namespace zev
