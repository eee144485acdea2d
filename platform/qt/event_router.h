// What the application object hands each event to before Qt delivers it.
#pragma once

class QObject;
class QEvent;

namespace kestrin::qt {

class EventRouter {
  public:
    // True when the event has been handled (or swallowed) and Qt must not deliver it.
    virtual bool Route(QObject* receiver, QEvent* event) = 0;

  protected:
    ~EventRouter() = default;
};

}  // namespace kestrin::qt
