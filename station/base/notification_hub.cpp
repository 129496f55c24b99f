#include "base/notification_hub.h"

#include <QMetaObject>

namespace zev {

void NotificationHub::subscribe(int message, QObject* owner, Handler handler) {
    subscriptions_.push_back({message, owner, std::move(handler)});
}

void NotificationHub::unsubscribe(int message, QObject* owner) {
    std::erase_if(subscriptions_, [&](const Subscription& s) {
        return s.message == message && s.owner == owner;
    });
}

void NotificationHub::post(int message) {
    QMetaObject::invokeMethod(this, [this, message] { send(message); }, Qt::QueuedConnection);
}

void NotificationHub::send(int message) {
    std::erase_if(subscriptions_, [](const Subscription& s) { return s.owner.isNull(); });
    // A handler may subscribe, unsubscribe or destroy a subscriber: call a
    // snapshot and skip subscribers that are gone by then.
    std::vector<Subscription> due;
    for (const auto& s : subscriptions_)
        if (s.message == message) due.push_back(s);
    for (auto& s : due)
        if (s.owner) s.handler();
}

}  // namespace zev
