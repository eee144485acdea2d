// A message posted to a dialog's queue (tick, hot key, system command) as a Qt event, so
// the running loop retrieves it like any input and the framework can pre-translate it.
#pragma once

#include <QEvent>
#include <cstdint>

class QObject;

namespace kestrin::qt {

class QueuedMessageEvent final : public QEvent {
  public:
    static QEvent::Type EventType();

    QueuedMessageEvent(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                       std::uint64_t tickSerial = 0)
        : QEvent(EventType()),
          m_message(message),
          m_wParam(wParam),
          m_lParam(lParam),
          m_tickSerial(tickSerial) {}

    unsigned Message() const { return m_message; }
    std::uintptr_t WParam() const { return m_wParam; }
    std::intptr_t LParam() const { return m_lParam; }
    // For ticks: which arming of the timer posted it, so a tick from before SetTimer or
    // KillTimer can be dropped.
    std::uint64_t TickSerial() const { return m_tickSerial; }

  private:
    unsigned m_message;
    std::uintptr_t m_wParam;
    std::intptr_t m_lParam;
    std::uint64_t m_tickSerial;
};

// Queues the message for `window`; Qt owns the event until it is delivered.
void PostQueuedMessage(QObject* window, unsigned message, std::uintptr_t wParam,
                       std::intptr_t lParam = 0, std::uint64_t tickSerial = 0);

}  // namespace kestrin::qt
