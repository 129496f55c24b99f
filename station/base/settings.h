// Settings store: GetIni/SetIni on profile files (zev.ini, a tool's SETTINGS.INI,
// cmd.ini, recipes, picture layouts, driver files, the password store).
// "*" names zev.ini in the program directory; any other name is a full path.
//
// Files are Windows-1252 text on disk and QString in memory. Sections and keys
// are compared without regard to case; the first matching section and the first
// matching key in it win, and later duplicates stay in the file untouched. A
// write changes only the line of its key (a new key goes to the end of its
// section, a new section to the end of the file); everything else of the file
// is kept byte for byte. Lines written end in CR LF; LF alone and a missing
// final line end are read as well.
//
// Durability: outside a Batch, a value is on disk (the file atomically
// replaced and flushed) when SetIni or a defaulting GetIni returns. A failed
// write leaves the file as it was and the store agrees with it; the failure
// handler hears of it once per failing episode of that file.
//
// Parsed files are kept in memory and read again only when they changed on
// disk, so a burst of reads of one file parses it once. One Settings serves the
// main thread; it is not meant to be shared between threads.
//
// Section and key names must read back as themselves (not empty, no
// surrounding blanks, no line break, no "]" in a section, no "=" in a key, only
// Windows-1252 characters); anything else is a programming error and throws
// std::invalid_argument.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace zev {

namespace profile {
class ProfileCache;
}

class Settings {
public:
    // At most this many characters of a stored value are read back (the old
    // reader's buffer); longer values are cut.
    static constexpr qsizetype kMaxValueLength = 1023;

    explicit Settings(QString programDir);
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    const QString& programDir() const { return programDir_; }
    // "*" -> <programDir>/zev.ini, anything else unchanged.
    QString resolve(const QString& file) const;

    // Value of key in section, at most kMaxValueLength characters, every "~~"
    // turned into CR LF. A missing key, or one whose value is empty, returns the
    // default trimmed of blanks, and writes it to the file when it is not empty
    // (so that a first read fills the file with its defaults).
    QString GetIni(const QString& section, const QString& key, const QString& def,
                   const QString& file);

    // Stores value: every line break (CR LF, or a lone CR or LF) becomes "~~" and
    // the caller's variable receives that form; then leading and trailing blanks
    // are removed and the value is cut at a NUL character. Characters that
    // Windows-1252 cannot hold are stored as "?". Returns false when the value
    // could not be stored (the handler has been told).
    bool SetIni(const QString& section, const QString& key, QString& value, const QString& file);
    bool SetIni(const QString& section, const QString& key, const QString& value,
                const QString& file);

    // Called once per failing write episode of a file (read-only directory, full
    // disk, directory that cannot be created, unreadable file); the stored file is
    // left as it was. A later successful write of that file ends the episode.
    void setWriteFailureHandler(std::function<void(const QString& path, const QString& reason)> h);

    // Sections of a file in file order, each name once (for readers of picture
    // layouts, recipes).
    QStringList sections(const QString& file);
    // Removes a whole file from the store and disk (picture layouts are rewritten
    // anew); true when it is gone.
    bool removeFile(const QString& file);

    // A burst of settings accesses whose writes go to disk together: while a
    // Batch is open, SetIni and the defaults written by GetIni change only the
    // files in memory (GetIni reads them back from there); when the outermost
    // Batch ends, by finish() or by its destruction (also when an exception
    // leaves the scope), each changed file is replaced atomically once. The tool
    // loading opens one around its thousand reads, so that a new tool's settings
    // file is written once instead of once per default. A failed write at the end
    // is reported like any other, and the store forgets the unwritten values.
    // Another program's change to a file during the Batch is overwritten.
    class Batch {
    public:
        explicit Batch(Settings& settings);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Ends the batch now; true when every changed file is stored (always true
        // for a batch nested in another, whose end writes). Later calls do nothing.
        bool finish();

    private:
        Settings* settings_;
    };

private:
    QString path(const QString& file) const;

    QString programDir_;
    std::unique_ptr<profile::ProfileCache> cache_;
};

}  // namespace zev
