// The click timer: a timerfd per (window, identifier), paced by platform/tick_pacer.h, one
// tick queued at a time.
#include "platform/qt/qt_platform.h"
#include "platform/qt/queued_message.h"
#include "platform/window_values.h"

namespace kestrin::qt {

bool QtPlatform::SetTimer(WindowId window, std::uintptr_t id, unsigned periodMs) {
    if (FindDialog(window) == nullptr) return false;
    Tick& tick = m_ticks[{window, id}];
    if (!tick.timer) {
        tick.timer = std::make_unique<ClickTimer>(
            [this, window, id](std::uint64_t periods) { OnTick(window, id, periods); });
    }
    // A tick queued by the timer's previous setting is not delivered any more, and nothing
    // it owed is made up.
    tick.serial = ++m_tickSerials;
    tick.queued = false;
    tick.pacer = platform::TickPacer(periodMs);
    return tick.timer->Start(periodMs);
}

bool QtPlatform::KillTimer(WindowId window, std::uintptr_t id) {
    // Also drops a queued tick: it finds no timer when it is retrieved.
    return m_ticks.erase({window, id}) != 0;
}

void QtPlatform::OnTick(WindowId window, std::uintptr_t id, std::uint64_t periods) {
    const auto tick = m_ticks.find({window, id});
    if (tick == m_ticks.end()) return;
    tick->second.pacer.Woke(periods);
    QueueTick(window, id, tick->second);
}

void QtPlatform::QueueTick(WindowId window, std::uintptr_t id, Tick& tick) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr || tick.queued || !tick.pacer.Take()) return;
    tick.queued = true;
    PostQueuedMessage(widget, wm::Timer, id, 0, tick.serial);
}

}  // namespace kestrin::qt
