// Everything the station asks of the operating system, behind one interface so
// that tests can stand in for it. docs/linux-mapping.md explains each mapping.
#pragma once

#include <QString>
#include <QStringList>

namespace zev {

class Platform {
public:
    virtual ~Platform() = default;

    // Scroll bars: the desktop's own extent and the extent the station sets.
    virtual int scrollBarWidth() const = 0;
    virtual int scrollBarHeight() const = 0;
    virtual void setScrollBars(int width, int height) = 0;

    // Fonts: is a face installed; add a font file for this program (count of faces added).
    virtual bool fontExists(const QString& face) const = 0;
    virtual int addFont(const QString& file) = 0;

    // The program the kiosk session runs as its shell (empty when there is none).
    virtual QString kioskShell() const = 0;
    // Full path of the running program file.
    virtual QString programFile() const = 0;
    // Switches the machine off through the system's own service.
    virtual bool powerOff(QString* error) = 0;
    // Starts a program that outlives the station.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
    // Free bytes for this user on the file system of path (-1 when unknown).
    virtual qint64 diskFree(const QString& path) const = 0;
    // Opens the system's date and time settings in a window of their own; false
    // when no such program is there.
    virtual bool openDateTimeSettings() = 0;
};

}  // namespace zev
