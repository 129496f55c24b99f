#include "shell/command_line.h"

#include <QDir>

namespace zev {

CommandLine parseCommandLine(const QStringList& arguments, const QString& executableDir) {
    CommandLine c;
    c.arguments = arguments;
    c.home = executableDir;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto value = [&](QString* out) {
            if (i + 1 >= arguments.size()) {
                c.error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            *out = arguments[++i];
            return true;
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            c.help = true;
        } else if (a == QLatin1String("--home")) {
            value(&c.home);
        } else if (a == QLatin1String("--script")) {
            value(&c.script);
        } else if (a == QLatin1String("--diagnose")) {
            value(&c.diagnose);
        } else if (a == QLatin1String("--screenshot")) {
            value(&c.screenshot);
        } else if (a == QLatin1String("--run-for")) {
            QString v;
            if (value(&v)) {
                bool ok = false;
                c.runFor = v.toDouble(&ok);
                if (!ok || c.runFor <= 0) c.error = QStringLiteral("--run-for needs a number of seconds above 0");
            }
        } else if (a == QLatin1String("--tab")) {
            QString v;
            if (value(&v)) {
                bool ok = false;
                c.tab = v.toInt(&ok);
                if (!ok || c.tab < 0 || c.tab > 7) c.error = QStringLiteral("--tab needs a view number 0..7");
            }
        } else if (a == QLatin1String("--click")) {
            QString v;
            if (value(&v)) {
                const qsizetype at = v.lastIndexOf(QLatin1Char('@'));
                bool ok = false;
                const double after = at > 0 ? v.mid(at + 1).toDouble(&ok) : 0.0;
                if (!ok || after < 0) c.error = QStringLiteral("--click needs NAME@SECONDS");
                else c.clicks.append({v.left(at), after});
            }
        } else if (a.startsWith(QLatin1String("LNGID="), Qt::CaseInsensitive)) {
            // The language tables read it from the arguments.
        } else if (a.startsWith(QLatin1String("--"))) {
            c.error = QStringLiteral("unknown option %1").arg(a);
        }
    }
    c.home = QDir(c.home).absolutePath();
    return c;
}

QString usageText() {
    return QStringLiteral(
        "Usage: zevcontrol [--home DIR] [LNGID=n] [--run-for SECONDS] [--script FILE]\n"
        "                  [--screenshot FILE] [--tab N] [--click NAME@SECONDS]\n"
        "                  [--diagnose NAME] [Qt options]\n"
        "\n"
        "  --home DIR         program directory: zev.ini, cmd.ini, ZEV3.ERR, TOOLS/, DRIVER/, ports/\n"
        "                     (default: the directory of the executable)\n"
        "  LNGID=n            language for this run: 1 German, 2 English (0: the stored choice)\n"
        "  --run-for SECONDS  leave through the normal exit path after that time (exit status 0)\n"
        "  --diagnose NAME    after the start, run the wiring test on every zone in a group, save its\n"
        "                     protocol as NAME.log in the tool's log directory and leave\n"
        "  --script FILE      scripted operator for unattended runs: each non-empty line answers\n"
        "                     the next interaction (a button number 1..3 for a notice, a text for a\n"
        "                     text or password entry, a number or +n/-n for the number pad, an item\n"
        "                     for a choice, 0..3 for the error dialog, CANCEL to cancel an entry).\n"
        "                     Every interaction is printed on one line:\n"
        "                       NOTICE <text> | <button 1> | <button 2> | <button 3> -> <answer>\n"
        "                       INPUT <prompt> -> <answer>\n"
        "                       ERROR <module>.<procedure> line <n>: <failure> -> <answer>\n"
        "                     An interaction the script cannot answer prints UNANSWERED <text> and\n"
        "                     the program leaves through its exit path with status 3.\n"
        "                     A line beginning with ! is an action of the operator, carried out\n"
        "                     after start-up (printed as ACTION <line>): !view N, !zone N,\n"
        "                     !group N, !controller D (its zones as the selection), !mode 0|1|2,\n"
        "                     !setpoint, !output (the entry follows), !wait SECONDS.\n"
        "  --screenshot FILE  save the main window as a PNG picture when the program leaves\n"
        "                     (for service reports and documentation)\n"
        "  --tab N            show view N (0 overview ... 7 configuration) once the start is done\n"
        "  --click NAME@SECONDS  press the button of that object name so many seconds after the\n"
        "                     start (repeatable; unattended runs); a missing button prints\n"
        "                       CLICK <name>: not found\n"
        "  -platform NAME     Qt's platform (e.g. offscreen); other Qt options work as well\n"
        "\n"
        "Environment:\n"
        "  ZEVCONTROL_SYSDIR  machine-wide directory of the language choice (ZEV3.INI) and the\n"
        "                     password store (passwords.ini); default /var/lib/zevcontrol when\n"
        "                     writable, else ~/.config/zevcontrol\n"
        "  ZEV485_PORTS       directory of the port links COM1..COM18 (default <home>/ports)\n"
        "  ZEVCONTROL_SHELL   set by a kiosk session to the program it runs as its shell\n"
        "  ZEV_EXPORT_DRIVE   a directory that counts as the first removable drive for the\n"
        "                     trend's spreadsheet export (before the mounted sticks)\n"
        "\n"
        "Exit status: 0 normal, 1 wrong language number, 2 bad command line, 3 unanswered script,\n"
        "4 ended from the error dialog.\n");
}

}  // namespace zev
