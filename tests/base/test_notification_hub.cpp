// Notifications: posted ones run after the current event, sent ones at once,
// and a destroyed subscriber is never called.
#include "base/notification_hub.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace zev;

TEST(NotificationHub, PostIsQueuedAndSendIsImmediate) {
    NotificationHub hub;
    QObject owner;
    QStringList seen;
    hub.subscribe(Msg::GroupColoursChanged, &owner, [&] { seen << "colours"; });
    hub.subscribe(Msg::GroupNamesChanged, &owner, [&] { seen << "names"; });
    hub.post(Msg::GroupNamesChanged);
    hub.post(Msg::GroupColoursChanged);
    hub.send(Msg::GroupColoursChanged);
    EXPECT_EQ(seen, QStringList({"colours"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, QStringList({"colours", "names", "colours"}));
}

TEST(NotificationHub, DestroyedOrUnsubscribedOwnersAreNotCalled) {
    NotificationHub hub;
    int calls = 0;
    auto* gone = new QObject;
    QObject stays;
    hub.subscribe(Msg::ZoneNamesChanged, gone, [&] { ++calls; });
    hub.subscribe(Msg::ZoneNamesChanged, &stays, [&] { calls += 10; });
    hub.post(Msg::ZoneNamesChanged);
    delete gone;
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 10);
    hub.unsubscribe(Msg::ZoneNamesChanged, &stays);
    hub.send(Msg::ZoneNamesChanged);
    EXPECT_EQ(calls, 10);
}
