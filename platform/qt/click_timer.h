// A periodic timer on CLOCK_MONOTONIC (timerfd), serviced by whatever Qt event loop runs,
// the nested loops of message boxes included. Periods are absolute: each expiry is due at
// start + n * period, so lateness does not accumulate. A late wake reports every period that
// has passed since the last one; what to make of them is the pacer's (platform/tick_pacer.h).
#pragma once

#include <QSocketNotifier>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/qt/unique_fd.h"

namespace kestrin::qt {

class ClickTimer {
  public:
    // `expired` runs each time the timer is found expired, with the number of periods that
    // have passed since it last ran (one, or more when it is late).
    explicit ClickTimer(std::function<void(std::uint64_t periods)> expired);
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
    std::function<void(std::uint64_t)> m_expired;
};

}  // namespace kestrin::qt
