// The machine-wide password store: section "INFO", keys "PL1".."PL4", values
// enciphered. Lives outside the program directory (see docs/linux-mapping.md).
#pragma once

#include <QString>
#include <array>
#include <optional>

namespace zev {

class Settings;

class PasswordStore {
public:
    PasswordStore(Settings& settings, QString file) : settings_(settings), file_(std::move(file)) {}

    struct Loaded {
        std::array<QString, 5> passwords;  // index 1..4 used
        bool damaged = false;              // an entry could not be deciphered (default used)
    };
    // Reads the four passwords; a missing key stores the level's default.
    Loaded load();
    void store(int level, const QString& password);
    const QString& file() const { return file_; }

    static QString defaultPassword(int level);
    static QString encipher(const QString& clear);
    static std::optional<QString> decipher(const QString& stored);

private:
    Settings& settings_;
    QString file_;
};

}  // namespace zev
