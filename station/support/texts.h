// The language tables: every user-visible text by number, German (LngId 1) or
// English (LngId 2). The language is fixed for the run of the program: it is
// taken at the first lookup from "LNGID=<digits>" on the command line, or else
// from the stored choice (section "LngPtnr", key "LngId", default 1). Any other
// language number stops the program with the untranslated "Wrong LngId !?!".
// docs/texts.md lists every number.
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
        // records the message. Without one the program aborts.
        std::function<void(const QString& message)> fatal;
    };

    static constexpr int kGerman = 1;
    static constexpr int kEnglish = 2;

    Texts(Settings& settings, Config config);

    // Text number n in the current language; an empty text for numbers that no
    // table defines. The first call determines the language; with a language
    // other than 1 or 2 the first call reports "Wrong LngId !?!" to the fatal
    // handler (once for the run) and every call returns an empty text.
    QString operator()(int n);
    // Determines the language now; false, after reporting "Wrong LngId !?!" as a
    // lookup would, when it is neither 1 nor 2. The program asks this first.
    bool languageUsable();
    // 0 until the first lookup (or language()), then the language in use.
    int LngId() const { return lngId_; }
    // The language in use, determined now if no lookup has done it yet.
    int language();
    // Sets the language for the rest of the run (the selection window does this);
    // false, and nothing changes, for anything but 1 or 2.
    bool setLngId(int id);

    // The stored choice (default 1, written back when missing) and its update,
    // used by the language option; a new choice takes effect after a restart.
    // storeLanguage refuses anything but 1 or 2 and returns false when the value
    // is not stored.
    int storedLanguage();
    bool storeLanguage(int id);
    const QString& languageFile() const { return config_.languageFile; }

    // Text n of language lngId regardless of the language in use (the group
    // names of a new tool follow the stored choice); "" for anything unknown.
    static QString lookup(int lngId, int n);
    // The number after the first "LNGID=" on the command line: the value of the
    // digits that follow it, 0 when there is none or no digit follows.
    static int lngIdFromArguments(const QStringList& arguments);

    // Texts the program shows untranslated.
    static QString wrongLngId() { return QStringLiteral("Wrong LngId !?!"); }
    static QString updaterNotFound() { return QStringLiteral("Updater.exe not found!"); }
    // The same without "!": the language change says it this way.
    static QString updaterNotFoundOnRestart() { return QStringLiteral("Updater.exe not found"); }
    // Title of the critical message boxes.
    static QString messageBoxTitle() { return QStringLiteral("ZEVcontrol 2"); }

private:
    void initialise();
    static bool valid(int id) { return id == kGerman || id == kEnglish; }

    Settings& settings_;
    Config config_;
    int lngId_ = 0;
    bool determined_ = false;
    bool fatalReported_ = false;
};

}  // namespace zev
