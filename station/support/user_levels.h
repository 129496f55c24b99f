// User levels 0..4 and the login: CheckLevel guards every command,
// TryChangeUserLevel logs in (or falls back), the login timer lowers the level
// again 11 minutes after guarded functions were last used at it. The minutes
// are counted on the clock's monotonic reading: setting the date and time
// neither lengthens nor shortens a login.
#pragma once

#include <QObject>
#include <QString>
#include <array>

namespace zev {

class Clock;
class Operator;
class PasswordStore;
class Texts;

class UserLevels : public QObject {
    Q_OBJECT
public:
    UserLevels(Texts& texts, Operator& op, const Clock& clock, PasswordStore& store);

    // Names from the text tables, level 0 at start-up.
    void loadLevelNames();
    // LevelPasswords 1..4 from the store; false when an entry was unreadable.
    bool loadPasswords();

    bool CheckLevel(int level);
    // Whether CheckLevel(level) would pass without asking: the level is
    // reached, or it has no password.
    bool granted(int level) const;
    bool TryChangeUserLevel(int level);
    void RestartLoginTimer();
    void LoginTimer_Timer();
    // Runs the login timer's due minute ticks by the monotonic clock (called
    // often by the main window).
    void poll();
    // Password change of one level (the button of that level).
    void cmdChangePW_Click(int level);

    int UserLevel() const { return userLevel_; }
    int highestUsed() const { return highestUsed_; }
    const QString& LevelName(int level) const;
    const QString& LevelPassword(int level) const;
    bool loginTimerEnabled() const { return timerEnabled_; }
    int loginCountdown() const { return countdown_; }

signals:
    void levelChanged(int level);

private:
    Texts& texts_;
    Operator& op_;
    const Clock& clock_;
    PasswordStore& store_;
    int userLevel_ = 0;
    int highestUsed_ = 0;
    std::array<QString, 5> levelNames_;
    std::array<QString, 5> levelPasswords_;
    bool timerEnabled_ = false;
    int countdown_ = 10;
    qint64 nextTickMs_ = 0;
};

}  // namespace zev
