#include "platform/qt/queued_message.h"

#include <QCoreApplication>
#include <memory>

namespace kestrin::qt {

QEvent::Type QueuedMessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostQueuedMessage(QObject* window, unsigned message, std::uintptr_t wParam,
                       std::intptr_t lParam, std::uint64_t tickSerial) {
    auto event = std::make_unique<QueuedMessageEvent>(message, wParam, lParam, tickSerial);
    QCoreApplication::postEvent(window, event.release());  // the event queue takes ownership
}

}  // namespace kestrin::qt
