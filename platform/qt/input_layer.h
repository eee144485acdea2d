// The seam between the Qt-generic backend and a display system's input layer.
//
// Qt draws the windows on every Linux desktop; what Qt cannot do is reach other programs:
// send clicks into them, hear F3 and F4 while they have the focus, read or place the global
// pointer. Each display system does that its own way, in a folder of its own (x11/,
// wayland/), behind this one small interface. CreateInputLayer() (input_layer.cpp) picks the
// implementation at run time from the platform Qt runs on.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "platform/window_values.h"

class QEventLoop;
class QGuiApplication;
class QWidget;

namespace kestrin::qt {
namespace wl {
class PortalProbe;
}

// One button event of a click burst: which button, pressed or released.
struct ButtonEvent {
    bool right;
    bool pressed;
};
// The button event a MOUSEEVENTF_* flag stands for; nullopt for any other flag.
inline std::optional<ButtonEvent> ButtonEventOf(std::uint32_t flag) {
    switch (flag) {
        case wm::MouseLeftDown:
            return ButtonEvent{false, true};
        case wm::MouseLeftUp:
            return ButtonEvent{false, false};
        case wm::MouseRightDown:
            return ButtonEvent{true, true};
        case wm::MouseRightUp:
            return ButtonEvent{true, false};
        default:
            return std::nullopt;
    }
}

class InputLayer {
  public:
    // Delivers a hot key: post WM_HOTKEY with `id` to `window`. Called on the UI thread.
    using HotKeyFired = std::function<void(platform::WindowId window, int id)>;
    // Shows the program's string `stringId` (platform/resources.h: IDS_CLICKS_REFUSED, ...) in
    // a modal message box, for what the user must hear of that no call of the program
    // reports (the desktop refused the clicks). Runs a nested loop: call it from the event
    // loop, not from inside a handler that cannot be re-entered. Called on the UI thread.
    using ShowMessage = std::function<void(int stringId)>;
    // Runs `wait`, a nested loop that ends with the desktop's answer to a question it puts to
    // the user in a dialog of its own (its shortcut dialog, while a window registers its hot
    // keys), however long the user takes. The window must not freeze meanwhile: if the user
    // closes it, `withdraw` withdraws the question and ends the wait. Called on the UI thread.
    using AwaitUser = std::function<void(QEventLoop& wait, const std::function<void()>& withdraw)>;

    virtual ~InputLayer() = default;

    // Names the paths in use, e.g. "x11" or "wayland: clicks=virtual-pointer hotkeys=sway".
    virtual std::string Describe() const = 0;

    // Sends the button events (MOUSEEVENTF_* flags) at the pointer as one unit: the whole
    // burst reaches the display server or none of it, so no stop, exit or crash leaves a
    // button held down.
    virtual void SendBurst(std::span<const std::uint32_t> flags) = 0;

    // Registers a system-wide hot key (MOD_* modifiers, a virtual key) for the window.
    // Fails synchronously when another program holds the key, or when the key could only
    // fire once the user has set something up: a key never silently does nothing.
    virtual bool RegisterHotKey(platform::WindowId window, int id, unsigned modifiers,
                                unsigned vk) = 0;
    // Releases every hot key the window holds (it is being destroyed).
    virtual void ReleaseHotKeys(platform::WindowId window) = 0;

    // The pointer in screen pixels. False when it cannot be read (no global position on
    // this display system, or the pointer is on another screen); `screen` is then untouched.
    virtual bool GetPointer(platform::Point& screen) = 0;
    virtual bool SetPointer(platform::Point screen) = 0;

    // Publishes a window's or a dialog label's text where outside readers (assistive and
    // automation tools, our tests) can see it, as Windows lets any program read another's
    // window texts. Optional: a display system without such a place ignores it.
    virtual void PublishWindowText(QWidget& /*window*/, const QString& /*text*/) {}
    virtual void PublishControlText(QWidget& /*dialog*/, int /*controlId*/,
                                    const QString& /*text*/) {}
};

// The input layer for the platform Qt runs on ("xcb" or "wayland"), or nullptr when there is
// none: Kestrin then opens its windows but can neither click nor register hot keys. `portal`
// holds the desktop portal's versions, asked once.
std::unique_ptr<InputLayer> CreateInputLayer(QGuiApplication& app, wl::PortalProbe& portal,
                                             InputLayer::HotKeyFired fire,
                                             InputLayer::ShowMessage show,
                                             InputLayer::AwaitUser awaitUser);

}  // namespace kestrin::qt
