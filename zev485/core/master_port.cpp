#include "master_port.h"

namespace zev485 {

void MasterPort::replace(std::unique_ptr<MasterLink> link,
                         const std::function<void(MasterLink*)>& whileHeld) {
    std::shared_ptr<MasterLink> old;
    {
        std::lock_guard lock(mutex_);
        old = link_;
    }
    if (old)
        old->interrupt();
    auto lease = arbiter_.acquire(BusPriority::Command);
    std::shared_ptr<MasterLink> current;
    {
        std::lock_guard lock(mutex_);
        link_ = std::move(link);
        current = link_;
    }
    if (whileHeld)
        whileHeld(current.get());
}

bool MasterPort::isOpen() const {
    std::lock_guard lock(mutex_);
    return link_ != nullptr;
}

bool MasterPort::use(BusPriority priority, const std::function<void(MasterLink&)>& fn) {
    auto lease = arbiter_.acquire(priority);
    std::shared_ptr<MasterLink> link;
    {
        std::lock_guard lock(mutex_);
        link = link_;
    }
    if (!link)
        return false;
    fn(*link);
    return true;
}

}  // namespace zev485
