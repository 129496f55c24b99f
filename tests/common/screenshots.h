// Screenshots of the forms tests: with ZEV_SCREENSHOT_DIR set, a test saves
// what it shows into that directory (README.md lists the pictures); without
// it nothing is written. Header only: the forms tests alone link QtGui.
#pragma once

#include <QDir>
#include <QPixmap>
#include <QString>

namespace zev::test {

inline QString screenshotDir() { return qEnvironmentVariable("ZEV_SCREENSHOT_DIR"); }

// True when the picture was saved or none is wanted.
inline bool saveScreenshot(const QPixmap& shot, const QString& name) {
    const QString dir = screenshotDir();
    if (dir.isEmpty()) return true;
    QDir().mkpath(dir);
    return shot.save(QDir(dir).filePath(name));
}

}  // namespace zev::test
