// The station's command line (Qt's own options such as -platform are taken by
// QApplication before this sees the arguments).
#pragma once

#include <QString>
#include <QList>
#include <QStringList>

namespace zev {

struct CommandLine {
    QString home;          // --home DIR: the program directory
    double runFor = 0.0;   // --run-for SECONDS: leave through the exit path after that time
    QString script;        // --script FILE: the scripted operator
    QString screenshot;    // --screenshot FILE: the main window as PNG when the program leaves
    int tab = -1;          // --tab N: the view shown once the start is done (tabMain index)
    struct Click {
        QString button;    // object name
        double after = 0;  // seconds after the start
    };
    QList<Click> clicks;   // --click NAME@SECONDS: presses that button then (unattended runs)
    QString diagnose;      // --diagnose NAME: after the start, the wiring test on every zone, its protocol saved as NAME
    bool help = false;
    QString error;         // a malformed option
    QStringList arguments; // everything, for "LNGID="
};

CommandLine parseCommandLine(const QStringList& arguments, const QString& executableDir);
QString usageText();

constexpr int kExitBadCommandLine = 2;

}  // namespace zev
