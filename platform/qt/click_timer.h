// A periodic timer on CLOCK_MONOTONIC (timerfd), serviced by whatever Qt event loop runs,
// the nested loops of message boxes included. Periods are absolute: each expiry is due at
// start + n * period, so lateness does not accumulate, and several missed expiries are
// reported as one.
#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "platform/qt/unique_fd.h"

namespace kestrin::qt {

class ClickTimer {
  public:
    // `expired` runs once each time the timer is found expired, however late.
    explicit ClickTimer(std::function<void()> expired);
    ~ClickTimer();
    ClickTimer(const ClickTimer&) = delete;
    ClickTimer& operator=(const ClickTimer&) = delete;

    bool Valid() const { return m_fd.Valid(); }
    // (Re)starts the timer: the first expiry is one period from now. Periods of 0 count as 1.
    bool Start(unsigned periodMs);
    void Stop();

  private:
    void OnReadable();

    UniqueFd m_fd;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_expired;
};

}  // namespace kestrin::qt
