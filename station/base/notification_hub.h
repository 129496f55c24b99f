// The main window's notifications: windows subscribe to a message number and are
// called back on the main thread when it is posted (queued, after the current
// event) or sent (at once).
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

namespace zev {

namespace Msg {
constexpr int GroupAssignmentChanged = 0x401;  // zone-to-group assignment
constexpr int GroupColoursChanged = 0x402;
constexpr int GroupNamesChanged = 0x403;
constexpr int GroupUseChanged = 0x404;
constexpr int ConfigRefresh = 0x405;           // deferred refresh of the configuration view
constexpr int ReliabilityCheck = 0x407;        // run the controllers' unit check
constexpr int ZoneNamesChanged = 0x408;
constexpr int UnitChecked = 0x409;             // temperature unit and controller data tested
constexpr int AlarmDbRecreated = 0x40A;        // log that the alarm database was recreated
}  // namespace Msg

class NotificationHub : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;

    // The subscription ends when owner is destroyed (or on unsubscribe).
    void subscribe(int message, QObject* owner, Handler handler);
    void unsubscribe(int message, QObject* owner);
    // Queued: the handlers run after the current event, in posting order.
    void post(int message);
    // Synchronous: the handlers run before send returns.
    void send(int message);

private:
    struct Subscription {
        int message;
        QPointer<QObject> owner;
        Handler handler;
    };
    std::vector<Subscription> subscriptions_;
};

}  // namespace zev
