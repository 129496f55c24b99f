// zevcontrol: the operator station.
#include "shell/application.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    // Without a display Qt would abort: fall back to the offscreen platform.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const zev::CommandLine cl = zev::parseCommandLine(QApplication::arguments(), QApplication::applicationDirPath());
    QTextStream out(stdout);
    if (cl.help) {
        out << zev::usageText();
        return 0;
    }
    if (!cl.error.isEmpty()) {
        out << cl.error << "\n\n" << zev::usageText();
        return zev::kExitBadCommandLine;
    }
    return zev::runStation(cl);
}
