// Button events through libei, on a socket to the desktop's EIS server (the one the
// RemoteDesktop portal's ConnectToEIS hands out, on any desktop): events go out in order,
// with no round trip per event.
//
// The connection is set up from the event loop: connected, a seat offered, a pointer with
// buttons bound, the device resumed; then it is ready and every burst goes out at once.
// Held buttons are released before the device stops emulating, and the socket is not
// inherited by child processes (the caller hands it over close-on-exec). Built without
// libei, CreateEisSender() makes none.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "platform/qt/unique_fd.h"

namespace kestrin::qt::wl {

class EisSender {
  public:
    // Told from the event loop: the device is ready (again, after the desktop paused it);
    // the connection is gone (the desktop ended it, or it never came up), told once, last.
    // Either may also be told from within SendBurst, which reads what came first.
    struct Events {
        std::function<void()> ready;
        std::function<void()> lost;
    };

    virtual ~EisSender() = default;

    // Sends the button events (MOUSEEVENTF_* flags), each in a frame of its own. False when
    // the device is not (or no longer) ready, and nothing of the burst went out; or when the
    // connection broke while it was written (lost is told first; the desktop lets go of the
    // buttons of a connection that is gone).
    virtual bool SendBurst(std::span<const std::uint32_t> flags) = 0;
};

// True when Kestrin was built with libei.
bool EisSupported();

// Starts a connection on `socket` (close-on-exec, so no child inherits it), which libei owns
// from here; nullptr when Kestrin was built without libei or the socket cannot be used (said
// on stderr).
std::unique_ptr<EisSender> CreateEisSender(UniqueFd socket, EisSender::Events events);

}  // namespace kestrin::qt::wl
