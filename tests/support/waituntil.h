#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

// Handles events until the condition holds, for at most five seconds. Unlike QTest::qWaitFor
// it wakes on each event instead of every 10 ms, so a match's many round trips take no longer
// than their events.
template <typename Condition> bool waitUntil(Condition condition)
{
    const QDeadlineTimer deadline(5000);
    QTimer wake; // lets the loop see the deadline when nothing else happens
    wake.start(20);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return condition();
}
