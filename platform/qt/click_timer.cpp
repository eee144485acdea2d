#include "platform/qt/click_timer.h"

#include <sys/timerfd.h>

#include <algorithm>
#include <ctime>

namespace kestrin::qt {
namespace {

constexpr long kNanosPerMilli = 1'000'000;
constexpr long kNanosPerSecond = 1'000'000'000;

timespec Milliseconds(unsigned ms) {
    return {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * kNanosPerMilli};
}

timespec Add(timespec a, timespec b) {
    timespec sum{a.tv_sec + b.tv_sec, a.tv_nsec + b.tv_nsec};
    if (sum.tv_nsec >= kNanosPerSecond) {
        sum.tv_nsec -= kNanosPerSecond;
        ++sum.tv_sec;
    }
    return sum;
}

}  // namespace

ClickTimer::ClickTimer(std::function<void(std::uint64_t)> expired)
    : m_fd(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)),
      m_expired(std::move(expired)) {
    if (!m_fd.Valid()) return;
    m_notifier = std::make_unique<QSocketNotifier>(m_fd.Get(), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { OnReadable(); });
}

ClickTimer::~ClickTimer() {
    // The notifier goes before the descriptor it watches.
    m_notifier.reset();
}

bool ClickTimer::Start(unsigned periodMs) {
    if (!Valid()) return false;
    const timespec period = Milliseconds(std::max(periodMs, 1u));
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    itimerspec schedule{};
    schedule.it_interval = period;
    schedule.it_value = Add(now, period);
    return timerfd_settime(m_fd.Get(), TFD_TIMER_ABSTIME, &schedule, nullptr) == 0;
}

void ClickTimer::Stop() {
    if (!Valid()) return;
    const itimerspec disarmed{};
    timerfd_settime(m_fd.Get(), 0, &disarmed, nullptr);
}

void ClickTimer::OnReadable() {
    std::uint64_t expirations = 0;
    // Reading resets the count: it is the periods passed since the last read.
    if (::read(m_fd.Get(), &expirations, sizeof expirations) != sizeof expirations) return;
    if (expirations > 0 && m_expired) m_expired(expirations);
}

}  // namespace kestrin::qt
