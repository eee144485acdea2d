// The guard that takes Kestrin's sway key bindings away however Kestrin ends.
//
// sway keeps run-time bindings after the client that made them is gone, until its
// configuration is reloaded: a Kestrin killed (SIGKILL, a crash, the OOM killer) would leave
// F3 and F4 bound to nothing, taken from every other program. So before its first binding
// Kestrin starts a guard, its own binary run as `kestrin --sway-guard SOCKET`: a process of its
// own, in a session of its own, deaf to the terminal's and the desktop's stop signals. Kestrin
// tells it each key combination before binding it. When Kestrin's end of their socket closes,
// however Kestrin ended, the guard unbinds those combinations and exits.
//
// Every guard holds a lock from before its Kestrin's first binding until after its own
// unbinding: an abstract socket named after sway's IPC socket, which goes with the guard. A
// new Kestrin binds nothing until its own guard holds that lock, so a guard cleaning up after
// a dead Kestrin can never undo a newer Kestrin's bindings.
#pragma once

#include <optional>
#include <string>

#include "platform/qt/unique_fd.h"

namespace kestrin::qt::wl {

class SwayGuard {
  public:
    // Starts the guard for sway's IPC socket at `swaySocket` and waits until it holds the lock
    // (a few seconds at most, while a guard before it cleans up). Valid() tells whether it does.
    explicit SwayGuard(const std::string& swaySocket);

    bool Valid() const { return m_channel.Valid(); }

    // Has the guard unbind `combo` once this process has ended; false when the guard is gone.
    bool Watch(const std::string& combo);

  private:
    UniqueFd m_channel;  // closes, and so wakes the guard, however this process ends
};

// The guard's own entry point, called first thing in main(): with the arguments
// `--sway-guard SOCKET` it runs the guard and gives its exit status; otherwise nullopt.
std::optional<int> RunSwayGuardIfAsked(int argc, char** argv);

}  // namespace kestrin::qt::wl
