// `CheckDriver`: chooses the driver file by the AZ number of controller 1 and
// the language, and loads it into the driver data of the context.
#pragma once

#include <QString>

namespace zev {

struct AppContext;

void CheckDriver(AppContext& ctx);
// Loads one driver file (CheckDriver's steps 6 to 8) and tells the operator
// when it is damaged, empty or too large; false when it cannot be opened.
bool loadDriverFile(AppContext& ctx, const QString& path);
// The driver directory of the program and a case-insensitive lookup in it.
QString driverDir(const AppContext& ctx);
QString findDriverFile(const AppContext& ctx, const QString& name);
// `UserSelect` of the driver selection window: a file name or empty.
QString UserSelect(AppContext& ctx);

}  // namespace zev
