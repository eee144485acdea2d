// Global hot keys on sway: run-time key bindings added through sway's IPC
// (`bindsym F3 nop <tag>`), heard as `binding` events on a second IPC connection.
//
// sway forgets run-time bindings when its configuration is reloaded: they are bound again at
// the reload event. They are removed (`unbindsym`) when this goes, and by a guard process
// (wl_sway_guard.h) when the program dies without going through that. The key repeats while
// held, as system-wide hot keys do elsewhere.
#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "platform/qt/wayland/wl_sway_guard.h"
#include "platform/qt/wayland/wl_sway_ipc.h"

namespace kestrin::qt::wl {

class SwayBindings {
  public:
    // Called with the key combination (as bound, e.g. "F3") each time it is pressed.
    using Pressed = std::function<void(const std::string& combo)>;

    // Connects to the IPC socket at `socketPath`; Valid() tells whether both connections are
    // up and the events subscribed.
    SwayBindings(const std::string& socketPath, Pressed pressed);
    ~SwayBindings();
    SwayBindings(const SwayBindings&) = delete;
    SwayBindings& operator=(const SwayBindings&) = delete;

    bool Valid() const { return m_commands.Valid() && m_events.Valid(); }

    // Binds a key combination in sway's syntax ("F3", "Ctrl+F3"); false when sway refused or
    // the guard that would unbind it could not start.
    bool Bind(const std::string& combo);
    void Unbind(const std::string& combo);

  private:
    bool Run(const std::string& command);
    void ReadEvents();
    std::string Command(const std::string& combo) const;

    std::string m_socketPath;
    SwayIpc m_commands;
    SwayIpc m_events;
    std::string m_tag;  // marks our bindings' commands as this process's
    Pressed m_pressed;
    std::set<std::string> m_bound;
    std::unique_ptr<SwayGuard> m_guard;  // started at the first binding
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace kestrin::qt::wl
