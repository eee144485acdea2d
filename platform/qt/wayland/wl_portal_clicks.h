// Clicks through the desktop portal's RemoteDesktop (KDE Plasma, GNOME): a session with a
// pointer device, which the desktop starts only once the user consents in a dialog of its
// own. Then, where the portal is version 2 or later and Kestrin was built with libei, the
// button events go through libei on the socket ConnectToEIS hands out (in order, no round
// trip per event); otherwise through NotifyPointerButton, each event waiting for its reply.
//
// One session per run, asked for at the first burst after the start key (so the dialog
// follows the user's wish to click), kept while Kestrin runs (persist_mode 1 where the
// portal knows it; the restore token it may hand out is never kept: Kestrin writes no files).
// While it is asked for, bursts are not sent and the owner is told to hold the clicking; a
// refused or closed session is reported, and the next start key asks again.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "platform/qt/wayland/wl_portal.h"

namespace kestrin::qt::wl {

class EisSender;

// What becomes of the clicks' session.
enum class ClicksEvent {
    Waiting,  // a burst came while the session is not running: nothing was sent
    Granted,  // the session runs: bursts go out
    Refused,  // the user refused the session, or it could not be made
    Closed,   // the desktop ended a running session
};

class PortalClicks {
  public:
    using Event = ClicksEvent;
    // Told from the event loop (Waiting from within SendBurst).
    using Report = std::function<void(Event)>;

    // `version` is the portal's RemoteDesktop version.
    PortalClicks(Portal& portal, unsigned version, Report report);
    ~PortalClicks();
    PortalClicks(const PortalClicks&) = delete;
    PortalClicks& operator=(const PortalClicks&) = delete;

    // The start key was pressed: the next burst asks for a session if none runs.
    void Arm() { m_armed = m_state == State::Idle; }
    // Sends the button events (MOUSEEVENTF_* flags) while the session runs; otherwise sends
    // nothing and reports Waiting (asking for the session first when armed).
    void SendBurst(std::span<const std::uint32_t> flags);

  private:
    enum class State { Idle, Asking, Running };

    void Ask();
    void Created(const Portal::Response& response);
    void DevicesSelected(const Portal::Response& response);
    void Started(const Portal::Response& response);
    // Takes the socket to the desktop's EIS server; false when there is none.
    bool ConnectEis();
    void Run();
    bool Notify(std::span<const std::uint32_t> flags);
    // Ends the session (if any) and reports.
    void Fail(Event event);
    void Close();

    Portal& m_portal;
    unsigned m_version;
    Report m_report;
    State m_state = State::Idle;
    bool m_armed = false;
    QString m_session;  // the session's object path while asking or running
    std::unique_ptr<EisSender> m_eis;
};

}  // namespace kestrin::qt::wl
