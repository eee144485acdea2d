// Keyboard facts read from the X server through xcb: key codes and lock-modifier masks.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>

namespace kestrin::qt {

// The X keysym of a Windows virtual key (F1-F24, letters, digits); nullopt for others.
std::optional<std::uint32_t> KeysymForVirtualKey(unsigned vk);
// The first key code that produces the keysym, nullopt when no key does.
std::optional<xcb_keycode_t> KeycodeForKeysym(xcb_connection_t* connection, std::uint32_t keysym);

// The modifier masks of the lock keys, from the server's modifier mapping. A lock key that
// is not mapped to a modifier has mask 0.
struct LockMasks {
    std::uint16_t caps = XCB_MOD_MASK_LOCK;
    std::uint16_t num = 0;
    std::uint16_t scroll = 0;
};
LockMasks ReadLockMasks(xcb_connection_t* connection);

// The root window of the display's default screen.
xcb_window_t RootWindowOfDefaultScreen(xcb_connection_t* connection);

}  // namespace kestrin::qt
