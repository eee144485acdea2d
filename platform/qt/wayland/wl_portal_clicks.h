// Clicks through the desktop portal's RemoteDesktop (KDE Plasma, GNOME): a session with a
// pointer device, which the desktop starts only once the user consents in a dialog of its
// own, then NotifyPointerButton for every button event.
//
// One session per run, asked for at the first burst after the start key (so the dialog
// follows the user's wish to click), kept while Kestrin runs (persist_mode 1 where the
// portal knows it; the restore token it may hand out is never kept: Kestrin writes no files).
// A refused or closed session is reported, and the next start key asks again.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <span>

#include "platform/qt/wayland/wl_portal.h"

namespace kestrin::qt::wl {

class PortalClicks {
  public:
    enum class Trouble { Refused, Closed };
    // Told from the event loop when the user refused the session or it ended.
    using Report = std::function<void(Trouble)>;

    // `version` is the portal's RemoteDesktop version.
    PortalClicks(Portal& portal, unsigned version, Report report);
    ~PortalClicks();
    PortalClicks(const PortalClicks&) = delete;
    PortalClicks& operator=(const PortalClicks&) = delete;

    // The start key was pressed: the next burst asks for a session if none runs.
    void Arm() { m_armed = m_state == State::Idle; }
    // Sends the button events (MOUSEEVENTF_* flags) back to back while the session runs;
    // until then they are dropped.
    void SendBurst(std::span<const std::uint32_t> flags);

  private:
    enum class State { Idle, Asking, Running };

    void Ask();
    void Created(const Portal::Response& response);
    void DevicesSelected(const Portal::Response& response);
    void Started(const Portal::Response& response);
    // Ends the session (if any) and reports.
    void Fail(Trouble trouble);
    void Close();

    Portal& m_portal;
    unsigned m_version;
    Report m_report;
    State m_state = State::Idle;
    bool m_armed = false;
    QString m_session;  // the session's object path while asking or running
};

}  // namespace kestrin::qt::wl
