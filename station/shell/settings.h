// Settings store: GetIni/SetIni on profile files (zev.ini, a tool's SETTINGS.INI,
// cmd.ini, recipes, picture layouts, driver files, the password store).
// "*" names zev.ini in the program directory; any other name is a full path.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace zev {

class ProfileCache;

class Settings {
public:
    explicit Settings(QString programDir);
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    const QString& programDir() const { return programDir_; }
    // "*" -> <programDir>/zev.ini, anything else unchanged.
    QString resolve(const QString& file) const;

    // Value of key in section, "~~" turned into CR LF. A missing or empty key
    // returns the trimmed default and writes it back when it is not empty.
    QString GetIni(const QString& section, const QString& key, const QString& def,
                   const QString& file);
    // Stores value (CR LF written as "~~", trimmed). The caller's variable receives
    // the "~~" form.
    void SetIni(const QString& section, const QString& key, QString& value, const QString& file);
    void SetIni(const QString& section, const QString& key, const QString& value,
                const QString& file);

    // Called once per failing write episode of a file (read-only directory, full
    // disk); the stored file is left as it was. A later successful write of that
    // file ends the episode.
    void setWriteFailureHandler(std::function<void(const QString& path, const QString& reason)> h);

    // Sections of a file in file order (for readers of picture layouts, recipes).
    QStringList sections(const QString& file);
    // Removes a whole file from the cache and disk (picture layouts are rewritten anew).
    bool removeFile(const QString& file);

private:
    QString programDir_;
    std::unique_ptr<ProfileCache> cache_;
    std::function<void(const QString&, const QString&)> onWriteFailure_;
};

}  // namespace zev
