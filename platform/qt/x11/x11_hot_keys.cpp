#include "platform/qt/x11/x11_hot_keys.h"

#include <QByteArray>
#include <algorithm>
#include <cstdlib>

#include "platform/window_values.h"

namespace kestrin::qt {
namespace {

// Modifiers that distinguish hot keys; the lock keys and mouse buttons do not.
constexpr std::uint16_t kHotKeyModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

std::uint16_t XModifiersFor(unsigned modifiers) {
    std::uint16_t x = 0;
    if ((modifiers & wm::ModAlt) != 0) x |= XCB_MOD_MASK_1;
    if ((modifiers & wm::ModControl) != 0) x |= XCB_MOD_MASK_CONTROL;
    if ((modifiers & wm::ModShift) != 0) x |= XCB_MOD_MASK_SHIFT;
    if ((modifiers & wm::ModWin) != 0) x |= XCB_MOD_MASK_4;
    return x;
}

// Every subset of the lock masks that are mapped, without repeats.
std::vector<std::uint16_t> LockCombinations(const LockMasks& locks) {
    std::vector<std::uint16_t> combinations{0};
    for (const std::uint16_t mask : {locks.caps, locks.num, locks.scroll}) {
        if (mask == 0) continue;
        const std::size_t count = combinations.size();
        for (std::size_t i = 0; i < count; ++i) {
            const auto combined = static_cast<std::uint16_t>(combinations[i] | mask);
            if (std::find(combinations.begin(), combinations.end(), combined) ==
                combinations.end()) {
                combinations.push_back(combined);
            }
        }
    }
    return combinations;
}

}  // namespace

KeyGrab::KeyGrab(xcb_connection_t* connection, xcb_window_t root, xcb_keycode_t key,
                 std::uint16_t modifiers)
    : m_connection(connection), m_root(root), m_key(key), m_modifiers(modifiers) {}

std::unique_ptr<KeyGrab> KeyGrab::Grab(xcb_connection_t* connection, xcb_window_t root,
                                       xcb_keycode_t key, std::uint16_t modifiers,
                                       const LockMasks& locks) {
    auto grab = std::make_unique<KeyGrab>(connection, root, key, modifiers);
    const auto combinations = LockCombinations(locks);
    std::vector<xcb_void_cookie_t> cookies;
    for (const std::uint16_t lock : combinations) {
        // owner_events false: the key goes to the grab, never into one of our own windows.
        cookies.push_back(xcb_grab_key_checked(connection, 0, root,
                                               static_cast<std::uint16_t>(modifiers | lock), key,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool failed = false;
    for (std::size_t i = 0; i < cookies.size(); ++i) {
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookies[i])) {
            std::free(error);  // BadAccess: another client holds this combination
            failed = true;
        } else {
            grab->m_grabbed.push_back(static_cast<std::uint16_t>(modifiers | combinations[i]));
        }
    }
    if (failed) return nullptr;  // the destructor releases what was grabbed
    return grab;
}

KeyGrab::~KeyGrab() {
    for (const std::uint16_t modifiers : m_grabbed) {
        xcb_ungrab_key(m_connection, m_key, m_root, modifiers);
    }
    xcb_flush(m_connection);
}

HotKeys::HotKeys(xcb_connection_t* connection, Fire fire)
    : m_connection(connection),
      m_root(RootWindowOfDefaultScreen(connection)),
      m_fire(std::move(fire)) {}

HotKeys::~HotKeys() = default;

bool HotKeys::Register(platform::WindowId window, int id, unsigned modifiers, unsigned vk) {
    const auto keysym = KeysymForVirtualKey(vk);
    if (!keysym) return false;
    const auto key = KeycodeForKeysym(m_connection, *keysym);
    if (!key) return false;
    const std::uint16_t xModifiers = XModifiersFor(modifiers);
    const bool ours = std::any_of(
        m_registrations.begin(), m_registrations.end(),
        [&](const auto& r) { return r.grab->Key() == *key && r.grab->Modifiers() == xModifiers; });
    if (ours) return false;
    auto grab = KeyGrab::Grab(m_connection, m_root, *key, xModifiers, ReadLockMasks(m_connection));
    if (!grab) return false;
    m_registrations.push_back({window, id, std::move(grab)});
    return true;
}

void HotKeys::ReleaseWindow(platform::WindowId window) {
    std::erase_if(m_registrations, [&](const Registration& r) { return r.window == window; });
}

bool HotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const auto type = event->response_type & 0x7F;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if (key->event != m_root) return false;
    const auto modifiers = static_cast<std::uint16_t>(key->state & kHotKeyModifiers);
    for (const Registration& r : m_registrations) {
        if (r.grab->Key() != key->detail || r.grab->Modifiers() != modifiers) continue;
        // Each press (auto-repeat included) is one hot-key message; releases are ours too.
        if (type == XCB_KEY_PRESS) m_fire(r.window, r.id);
        return true;
    }
    return false;
}

}  // namespace kestrin::qt
