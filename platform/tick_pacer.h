// What a periodic timer does when it wakes late, the same for every backend.
//
// A late wake finds several periods passed. The periods missed within the last
// kMakeUpBoundMs are made up; older ones are dropped, so a long stall (a stopped process, a
// frozen desktop) ends in no flood of ticks. Made-up ticks are spread out: a period never
// carries more than two ticks, so the rate is never more than twice the period's. At periods
// longer than the bound nothing is made up: a late tick comes once.
//
// A backend's click timer tells the pacer at every wake how many periods have passed since
// its last wake (Woke), then delivers the ticks it hands out (Take) one at a time, asking
// again each time the program has taken the last one from its queue. Setting the timer again
// makes a new pacer: nothing is owed.
#pragma once

#include <algorithm>
#include <cstdint>

namespace kestrin::platform {

// A busy host takes the processor away in stalls of a few milliseconds. Fed the same wakes,
// every millisecond more of bound kept more ticks (see the README); 9 ms is the most that
// still makes up nothing at 100 ticks a second and slower, whose period is longer.
inline constexpr unsigned kMakeUpBoundMs = 9;

class TickPacer {
  public:
    explicit TickPacer(unsigned periodMs)
        : m_mostOwed(1 + kMakeUpBoundMs / std::max(periodMs, 1u)) {}

    // The timer woke `periods` (one or more) periods after its last wake or its start.
    void Woke(std::uint64_t periods) {
        m_owed = std::min(m_owed + std::min(periods, m_mostOwed), m_mostOwed);
        m_room = 2;
    }

    // Hands out one tick to deliver now, if one is owed and this period has room for it.
    bool Take() {
        if (m_owed == 0 || m_room == 0) return false;
        --m_owed;
        --m_room;
        return true;
    }

  private:
    std::uint64_t m_mostOwed;  // the latest period's tick and the periods the bound makes up
    std::uint64_t m_owed = 0;  // ticks due and not yet handed out
    unsigned m_room = 0;       // ticks the current period may still carry
};

}  // namespace kestrin::platform
