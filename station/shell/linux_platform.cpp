#include "shell/linux_platform.h"

#include "widgets/touch_style.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QWidget>

namespace zev {

int LinuxPlatform::scrollBarWidth() const {
    return width_ > 0 ? width_ : (style_ ? style_->desktopWidth() : 16);
}

int LinuxPlatform::scrollBarHeight() const {
    return height_ > 0 ? height_ : (style_ ? style_->desktopHeight() : 16);
}

void LinuxPlatform::setScrollBars(int width, int height) {
    width_ = width;
    height_ = height;
    if (!style_) return;
    style_->setExtent(width, height);
    // Let every widget take the new metric.
    for (QWidget* w : QApplication::allWidgets()) w->updateGeometry();
}

bool LinuxPlatform::fontExists(const QString& face) const {
    return QFontDatabase::families().contains(face, Qt::CaseInsensitive);
}

int LinuxPlatform::addFont(const QString& file) {
    const int id = QFontDatabase::addApplicationFont(file);
    return id < 0 ? 0 : static_cast<int>(QFontDatabase::applicationFontFamilies(id).size());
}

QString LinuxPlatform::kioskShell() const {
    // The kiosk session's start script exports the program it runs as its shell.
    return qEnvironmentVariable("ZEVCONTROL_SHELL");
}

QString LinuxPlatform::programFile() const { return QCoreApplication::applicationFilePath(); }

bool LinuxPlatform::powerOff(QString* error) {
    // logind (through systemctl) switches the machine off for a user allowed to.
    QProcess p;
    p.start(QStringLiteral("systemctl"), {QStringLiteral("poweroff")});
    if (!p.waitForFinished(15000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error) *error = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return false;
    }
    return true;
}

bool LinuxPlatform::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

qint64 LinuxPlatform::diskFree(const QString& path) const {
    QStorageInfo info(path);
    return info.isValid() ? info.bytesAvailable() : -1;
}

bool LinuxPlatform::openDateTimeSettings() {
    // The panel's own choice first (docs/linux-mapping.md), then the settings
    // programs of the desktops that ship one.
    const QStringList configured = QProcess::splitCommand(qEnvironmentVariable("ZEVCONTROL_DATETIME"));
    const QList<QStringList> candidates =
        configured.isEmpty() ? QList<QStringList>{{QStringLiteral("gnome-control-center"), QStringLiteral("datetime")},
                                                  {QStringLiteral("kcmshell5"), QStringLiteral("clock")}}
                             : QList<QStringList>{configured};
    for (const QStringList& c : candidates) {
        const QString program = QFileInfo(c.first()).isAbsolute() ? c.first() : QStandardPaths::findExecutable(c.first());
        if (program.isEmpty() || !QFileInfo(program).isExecutable()) continue;
        if (QProcess::startDetached(program, c.mid(1))) return true;
    }
    return false;
}

}  // namespace zev
