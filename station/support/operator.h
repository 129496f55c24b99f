// Every modal interaction with the operator goes through this interface: the
// notice dialog, text and password entry, the number pad, a choice from a list,
// the error dialog. The Qt implementation shows dialogs; the scripted one
// answers unattended runs from a file and prints what was shown.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

namespace zev {

// Kinds of the notice dialog: 3 flashes its frame, 4 closes itself after seven
// ticks, 5 is the untranslated message box of a critical stop (critical icon,
// title "ZEVcontrol 2").
enum NoticeKind {
    kNoticePlain = 1,
    kNoticeQuestion = 2,
    kNoticeAlarm = 3,
    kNoticeAutoClose = 4,
    kNoticeCritical = 5
};

struct NumberEntry {
    int result = 0;  // 0 cancelled, 1 absolute value, 2 relative (to add to each value)
    int value = 0;
};

// What the error dialog shows and can do besides returning the choice.
struct ErrorReport {
    QString protocol;     // the whole protocol text
    QString number;       // "5 (description)"
    QString module;
    QString procedure;
    int line = 0;
    QString progInfo;       // "ZEV CONTROL 3, Version ..."
    QStringList callStack;  // newest first
};
class ErrorReportActions {
public:
    virtual ~ErrorReportActions() = default;
    virtual void printProtocol() = 0;
    virtual void storeProtocol() = 0;
};

class Operator {
public:
    virtual ~Operator() = default;

    // The notice dialog: returns the number (1..3) of the pressed button. An empty
    // caption hides its button.
    virtual int notice(const QString& text, const QString& button1, const QString& button2,
                       const QString& button3, int kind) = 0;
    // Text entry (on-screen keyboard); nullopt when cancelled.
    virtual std::optional<QString> enterText(const QString& prompt, const QString& preset) = 0;
    // Password entry: the typed characters are hidden; nullopt when cancelled.
    virtual std::optional<QString> enterPassword(const QString& prompt) = 0;
    // Number pad: prompt with the range min ... max.
    virtual NumberEntry enterNumber(const QString& prompt, int min, int max, int value,
                                    bool allowRelative) = 0;
    // A choice from a list; nullopt when cancelled.
    virtual std::optional<QString> choose(const QString& title, const QStringList& items) = 0;
    // A choice from a list that a filter list narrows (e.g. driver files by
    // language); items(filter) gives the entries of one filter.
    virtual std::optional<QString> chooseFiltered(const QString& title, const QString& filterCaption,
                                                  const QStringList& filters,
                                                  const std::function<QStringList(int)>& items,
                                                  int initialFilter) = 0;
    // A colour chooser starting at `current` (0xBBGGRR); nullopt when cancelled.
    virtual std::optional<std::uint32_t> chooseColour(const QString& title, std::uint32_t current) = 0;
    // The error dialog: returns 0 repeat, 1 continue, 2 leave the procedure, 3 end.
    virtual int errorChoice(const ErrorReport& report, ErrorReportActions& actions) = 0;
};

}  // namespace zev
