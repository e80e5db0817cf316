// Tests never sleep for a fixed time: they poll a condition with a deadline.
#pragma once

#include <QDeadlineTimer>

#include <chrono>
#include <thread>

// Polls Condition until it holds (true) or the deadline passes (false).
template <class TCondition> bool WaitUntil(TCondition Condition, int TimeoutMs = 20000) {
    const QDeadlineTimer Deadline(TimeoutMs);
    while (!Condition()) {
        if (Deadline.hasExpired())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}
