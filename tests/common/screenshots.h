// Screenshots of the forms tests: with ZEV_SCREENSHOT_DIR set, a test saves
// what it shows into that directory (README.md lists the pictures); without
// it nothing is written. Header only: the forms tests alone link QtWidgets.
#pragma once

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

namespace zev::test {

inline QString screenshotDir() { return qEnvironmentVariable("ZEV_SCREENSHOT_DIR"); }

// True when the picture was saved or none is wanted.
inline bool saveScreenshot(const QPixmap& shot, const QString& name) {
    const QString dir = screenshotDir();
    if (dir.isEmpty()) return true;
    QDir().mkpath(dir);
    return shot.save(QDir(dir).filePath(name));
}

// The main window as the panel shows it: 1024x768, saved when wanted.
inline void saveMainWindowShot(QWidget& main, const QString& name) {
    QApplication::processEvents();
    const QPixmap shot = main.grab();
    ASSERT_EQ(shot.size(), QSize(1024, 768));
    ASSERT_TRUE(saveScreenshot(shot, name));
}

}  // namespace zev::test
