// The start-up sequence `Form_Load` of the main window, step by step under the
// error protocol: a failing step offers repeat, continue, leave or end.
#pragma once

#include <QString>

namespace zev {

struct AppContext;
class MainWindow;
class SplashWindow;

// The oldest bus library the station works with.
inline const QString kMinLibraryVersion = QStringLiteral("2.0.0.38");

// True when the library file's version is known and not older than the minimum
// (compared number by number).
bool libraryVersionAccepted(const QString& version);
// Seconds since midnight rounded to the nearest whole second, ties to even.
int clockEqualisationSeconds(double secondsSinceMidnight);

void Form_Load(AppContext& ctx, MainWindow& main, SplashWindow& splash);

}  // namespace zev
