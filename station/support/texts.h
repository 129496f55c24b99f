// The language tables: every user-visible text by number, German (LngId 1) or
// English (LngId 2). The language is fixed for the run of the program.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace zev {

class Settings;

class Texts {
public:
    struct Config {
        QStringList arguments;     // the command line; "LNGID=n" chooses the language
        QString languageFile;      // full path of the stored choice, section "LngPtnr", key "LngId"
        // Shows the untranslated fatal message and ends the program; in tests it
        // records the message.
        std::function<void(const QString& message)> fatal;
    };

    Texts(Settings& settings, Config config);

    // Text number n in the current language; an empty text for unknown numbers.
    QString operator()(int n);
    // 0 until the first lookup, then 1 or 2.
    int LngId();
    // The stored choice (default 1) and its update, used by the language option.
    int storedLanguage();
    void storeLanguage(int id);
    const QString& languageFile() const { return config_.languageFile; }

    // Texts the program shows untranslated.
    static QString wrongLngId() { return QStringLiteral("Wrong LngId !?!"); }
    static QString updaterNotFound() { return QStringLiteral("Updater.exe not found!"); }

private:
    void initialise();

    Settings& settings_;
    Config config_;
    int lngId_ = 0;
};

}  // namespace zev
