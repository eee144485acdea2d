// Clicks through the desktop portal's RemoteDesktop (KDE Plasma, GNOME): a session with a
// pointer device, which the desktop starts only once the user consents in a dialog of its
// own. Then, where the portal is version 2 or later and Kestrin was built with libei, the
// button events go through libei on the socket ConnectToEIS hands out (in order, no round
// trip per event); otherwise through NotifyPointerButton, each event waiting for its reply.
//
// One session per run, asked for when the user presses the start key (the owner holds the key
// back until the session runs, so nothing is counted meanwhile), kept while Kestrin runs
// (persist_mode 1 where the portal knows it; the restore token it may hand out is never kept:
// Kestrin writes no files). A refused or closed session is reported, and the next start key
// asks again.
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
    Waiting,  // a burst came while the session cannot click: nothing was sent
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

    // Whether the session runs: bursts go out.
    bool Running() const { return m_state == State::Running; }
    // Asks the desktop for the session, unless it runs or is being asked for: Granted or
    // Refused follows.
    void Ask();
    // Sends the button events (MOUSEEVENTF_* flags) while the session runs; otherwise sends
    // nothing and reports Waiting.
    void SendBurst(std::span<const std::uint32_t> flags);

  private:
    enum class State { Idle, Asking, Running };

    void Created(const Portal::Response& response);
    void DevicesSelected(const Portal::Response& response);
    void Started(const Portal::Response& response);
    // Takes the socket to the desktop's EIS server where the portal hands one out, else clicks
    // through NotifyPointerButton.
    void ConnectEis();
    void Run();
    bool Notify(std::span<const std::uint32_t> flags);
    // Ends the session (if any) and reports.
    void Fail(Event event);
    void Close();

    Portal& m_portal;
    unsigned m_version;
    Report m_report;
    State m_state = State::Idle;
    QString m_session;  // the session's object path while asking or running
    QString m_request;  // the request not answered yet while asking
    std::unique_ptr<EisSender> m_eis;
};

}  // namespace kestrin::qt::wl
