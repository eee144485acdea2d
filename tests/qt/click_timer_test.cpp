// The Linux click timer: it really ticks at its period, a late wake comes once with every
// period it missed, and a restart counts the period from the restart.
#include "platform/qt/click_timer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <cstdint>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Runs the event loop for `ms`.
void RunEventLoop(int ms) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(ClickTimer, TicksAtItsPeriodAndReportsMissedPeriods) {
    int argc = 1;
    char name[] = "click_timer_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    int ticks = 0;
    std::uint64_t periods = 0;
    kestrin::qt::ClickTimer timer([&](std::uint64_t passed) {
        ++ticks;
        periods += passed;
    });
    ASSERT_TRUE(timer.Valid());

    ASSERT_TRUE(timer.Start(10));
    RunEventLoop(205);
    // 20 periods: never more ticks, and not far fewer even on a busy machine.
    EXPECT_GE(ticks, 5);
    EXPECT_LE(ticks, 20);

    // The UI thread busy for ten periods: one late wake that reports the ten (and perhaps the
    // next ones on time).
    ticks = 0, periods = 0;
    std::this_thread::sleep_for(100ms);
    RunEventLoop(5);
    EXPECT_GE(ticks, 1);
    EXPECT_LE(ticks, 3);
    EXPECT_GE(periods, 10u);

    // A restart with a long period: nothing until a whole period from now.
    ticks = 0;
    ASSERT_TRUE(timer.Start(1000));
    RunEventLoop(300);
    EXPECT_EQ(ticks, 0);
    timer.Stop();
}

}  // namespace
