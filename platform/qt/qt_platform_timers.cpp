// The click timer: a timerfd per (window, identifier), one tick queued at a time.
#include "platform/qt/qt_platform.h"
#include "platform/qt/queued_message.h"
#include "platform/window_values.h"

namespace kestrin::qt {

bool QtPlatform::SetTimer(WindowId window, std::uintptr_t id, unsigned periodMs) {
    if (FindDialog(window) == nullptr) return false;
    Tick& tick = m_ticks[{window, id}];
    if (!tick.timer)
        tick.timer = std::make_unique<ClickTimer>([this, window, id] { OnTick(window, id); });
    // A tick queued by the timer's previous setting is not delivered any more.
    tick.serial = ++m_tickSerials;
    tick.queued = false;
    return tick.timer->Start(periodMs);
}

bool QtPlatform::KillTimer(WindowId window, std::uintptr_t id) {
    // Also drops a queued tick: it finds no timer when it is retrieved.
    return m_ticks.erase({window, id}) != 0;
}

void QtPlatform::OnTick(WindowId window, std::uintptr_t id) {
    const auto tick = m_ticks.find({window, id});
    QWidget* widget = WidgetOf(window);
    if (tick == m_ticks.end() || widget == nullptr) return;
    // Never more than one tick in the queue: a late tick comes once.
    if (tick->second.queued) return;
    tick->second.queued = true;
    PostQueuedMessage(widget, wm::Timer, id, 0, tick->second.serial);
}

}  // namespace kestrin::qt
