#include "support/user_levels.h"
#include "support/notices.h"

#include "base/clock.h"
#include "support/operator.h"
#include "support/password_store.h"
#include "support/text_numbers.h"
#include "support/texts.h"

namespace zev {

namespace {
constexpr int kLoginTickMs = 60000;
constexpr int kCountdownStart = 10;
const QString kServiceCode = QStringLiteral("3916");  // always opens level 4

std::size_t idx(int level) { return static_cast<std::size_t>(std::clamp(level, 0, 4)); }
}  // namespace

UserLevels::UserLevels(Texts& texts, Operator& op, const Clock& clock, PasswordStore& store)
    : texts_(texts), op_(op), clock_(clock), store_(store) {}

void UserLevels::loadLevelNames() {
    for (int level = 0; level <= 4; ++level) levelNames_[idx(level)] = texts_(1528 + level);
    userLevel_ = 0;
    emit levelChanged(userLevel_);
}

bool UserLevels::loadPasswords() {
    const PasswordStore::Loaded loaded = store_.load();
    for (int level = 1; level <= 4; ++level)
        levelPasswords_[idx(level)] = loaded.passwords[idx(level)];
    return !loaded.damaged;
}

const QString& UserLevels::LevelName(int level) const { return levelNames_[idx(level)]; }
const QString& UserLevels::LevelPassword(int level) const { return levelPasswords_[idx(level)]; }

bool UserLevels::granted(int level) const {
    level = std::clamp(level, 0, 4);
    return userLevel_ >= level || levelPasswords_[idx(level)].isEmpty();
}

bool UserLevels::CheckLevel(int level) {
    level = std::clamp(level, 0, 4);
    auto passes = [&] { return granted(level); };
    bool ok = passes();
    if (!ok) {
        const int answer = op_.notice(texts_(1434) + LevelName(level) + texts_(1435), texts_(1382),
                                      texts_(1383), QString(), kNoticeQuestion);
        if (answer == 2) {
            TryChangeUserLevel(level);
            ok = passes();
        }
    }
    if (ok) {
        if (level == userLevel_)
            RestartLoginTimer();
        else if (level > highestUsed_)
            highestUsed_ = level;
    }
    return ok;
}

bool UserLevels::TryChangeUserLevel(int level) {
    level = std::clamp(level, 0, 4);
    int newLevel = level;
    if (levelPasswords_[idx(level)].isEmpty() || level <= userLevel_) {
        highestUsed_ = std::max(highestUsed_, level);
    } else {
        const auto entry = op_.enterPassword(texts_(378) + LevelName(level) + texts_(337));
        if (!entry) return false;
        newLevel = -1;
        // Higher levels first: a higher password also opens the lower level;
        // lower levels are never tried.
        for (int l = 4; l >= level && newLevel < 0; --l) {
            if (*entry == levelPasswords_[idx(l)] || (l == 4 && *entry == kServiceCode))
                newLevel = l;
        }
        if (newLevel < 0) {
            tellOperator(op_, texts_, texts_(313));
            return false;
        }
        RestartLoginTimer();
    }
    userLevel_ = newLevel;
    emit levelChanged(userLevel_);
    return true;
}

void UserLevels::RestartLoginTimer() {
    timerEnabled_ = false;
    countdown_ = kCountdownStart;
    highestUsed_ = 0;
    nextTickMs_ = clock_.monotonicMs() + kLoginTickMs;
    timerEnabled_ = true;
}

void UserLevels::LoginTimer_Timer() {
    if (countdown_ > 0) {
        --countdown_;
        return;
    }
    TryChangeUserLevel(highestUsed_);
    countdown_ = kCountdownStart;
    timerEnabled_ = highestUsed_ >= 1;
    highestUsed_ = 0;
}

void UserLevels::poll() {
    while (timerEnabled_ && clock_.monotonicMs() >= nextTickMs_) {
        nextTickMs_ += kLoginTickMs;
        LoginTimer_Timer();
    }
}

void UserLevels::cmdChangePW_Click(int level) {
    level = std::clamp(level, 1, 4);
    // Only someone who holds the level may set its password.
    if (!CheckLevel(level)) return;
    const auto first = op_.enterPassword(texts_(376) + LevelName(level) + texts_(307));
    if (!first) return;
    const auto second = op_.enterPassword(texts_(377) + LevelName(level) + texts_(308));
    if (!second) return;
    if (*first != *second) {
        tellOperator(op_, texts_, texts_(310));
        return;
    }
    levelPasswords_[idx(level)] = *first;
    store_.store(level, *first);
    tellOperator(op_, texts_, texts_(346) + QString::number(level) + texts_(309));
}

}  // namespace zev
