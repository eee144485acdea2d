// The Qt application object. It shows every event to the router once, before delivery:
// that is where the framework's message pre-translation happens.
#pragma once

#include <QApplication>

#include "platform/qt/event_router.h"

namespace kestrin::qt {

class KestrinApplication final : public QApplication {
  public:
    KestrinApplication(int& argc, char** argv);

    // The router sees events from now until it is reset to nullptr.
    void SetRouter(EventRouter* router) { m_router = router; }

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    EventRouter* m_router = nullptr;
};

}  // namespace kestrin::qt
