// kestrin_timer_loop: a bare timerfd loop, run beside Kestrin in the long-run benchmark rows
// as the ceiling a timer alone reaches on the machine at that moment. It measures; it asserts
// nothing.
//
//   kestrin_timer_loop <period ms> <seconds> [drop | pace]
//
//   drop   a wake that finds several periods passed is one tick: missed periods are lost
//   pace   the ticks platform/tick_pacer.h hands out: missed periods made up within its bound
//
// Prints one JSON line: the mode, the ticks, the periods that passed, their ratio, seconds.
#include <sys/timerfd.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

#include "platform/tick_pacer.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const auto periodMs = static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10));
    const double seconds = std::strtod(argv[2], nullptr);
    const bool pace = argc > 3 && std::string_view(argv[3]) == "pace";
    if (periodMs == 0) return 2;

    const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    if (fd < 0) return 1;
    const timespec period{static_cast<time_t>(periodMs / 1000),
                          static_cast<long>(periodMs % 1000) * 1'000'000};
    const itimerspec schedule{period, period};
    if (timerfd_settime(fd, 0, &schedule, nullptr) != 0) return 1;

    kestrin::platform::TickPacer pacer(periodMs);
    std::uint64_t ticks = 0, periods = 0;
    const std::uint64_t wanted = static_cast<std::uint64_t>(seconds * 1000 / periodMs);
    timespec start{}, end{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    while (periods < wanted) {
        std::uint64_t expirations = 0;
        if (read(fd, &expirations, sizeof expirations) != sizeof expirations) return 1;
        periods += expirations;
        if (!pace) {
            ++ticks;
            continue;
        }
        pacer.Woke(expirations);
        while (pacer.Take()) ++ticks;
    }
    clock_gettime(CLOCK_MONOTONIC, &end);
    close(fd);
    const double took = static_cast<double>(end.tv_sec - start.tv_sec) +
                        static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e9;
    std::printf(
        "{\"mode\":\"%s\",\"periodMs\":%u,\"ticks\":%llu,\"periods\":%llu,"
        "\"ratio\":%.5f,\"seconds\":%.3f}\n",
        pace ? "pace" : "drop", periodMs, static_cast<unsigned long long>(ticks),
        static_cast<unsigned long long>(periods),
        static_cast<double>(ticks) / static_cast<double>(periods), took);
    return 0;
}
