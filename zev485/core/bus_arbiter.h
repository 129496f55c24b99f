// Who may use the master line next. The cyclic scan takes the line one
// telegram at a time and steps back whenever a command of the station waits, so
// that a command waits at most for the telegram already on the line.
#pragma once

#include <condition_variable>
#include <mutex>

namespace zev485 {

enum class BusPriority { Scan, Command };

class BusArbiter {
public:
    class Lease {
    public:
        explicit Lease(BusArbiter& owner) : owner_(&owner) {}
        Lease(Lease&& other) noexcept : owner_(other.owner_) { other.owner_ = nullptr; }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        ~Lease() {
            if (owner_)
                owner_->release();
        }

    private:
        BusArbiter* owner_;
    };

    Lease acquire(BusPriority priority) {
        std::unique_lock lock(mutex_);
        if (priority == BusPriority::Command) {
            ++commandsWaiting_;
            free_.wait(lock, [this] { return !busy_; });
            --commandsWaiting_;
        } else {
            free_.wait(lock, [this] { return !busy_ && commandsWaiting_ == 0; });
        }
        busy_ = true;
        return Lease(*this);
    }

private:
    void release() {
        {
            std::lock_guard lock(mutex_);
            busy_ = false;
        }
        free_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable free_;
    bool busy_ = false;
    int commandsWaiting_ = 0;
};

}  // namespace zev485
