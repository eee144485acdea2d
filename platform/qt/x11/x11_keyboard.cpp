#include "platform/qt/x11/x11_keyboard.h"

#include <cstdlib>
#include <memory>

namespace kestrin::qt {
namespace {

constexpr std::uint32_t kKeysymF1 = 0xFFBE;
constexpr std::uint32_t kKeysymNumLock = 0xFF7F;
constexpr std::uint32_t kKeysymScrollLock = 0xFF14;
constexpr unsigned kVkF1 = 0x70;
constexpr unsigned kVkF24 = 0x87;

// xcb replies are malloc'ed and freed with free().
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;

}  // namespace

std::optional<std::uint32_t> KeysymForVirtualKey(unsigned vk) {
    if (vk >= kVkF1 && vk <= kVkF24) return kKeysymF1 + (vk - kVkF1);
    if (vk >= 'A' && vk <= 'Z') return vk - 'A' + 'a';
    if (vk >= '0' && vk <= '9') return vk;
    return std::nullopt;
}

std::optional<xcb_keycode_t> KeycodeForKeysym(xcb_connection_t* connection, std::uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const Reply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
        connection,
        xcb_get_keyboard_mapping(connection, static_cast<xcb_keycode_t>(first),
                                 static_cast<std::uint8_t>(count)),
        nullptr));
    if (!mapping) return std::nullopt;
    const int perKey = mapping->keysyms_per_keycode;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int length = xcb_get_keyboard_mapping_keysyms_length(mapping.get());
    for (int i = 0; i < length; ++i) {
        if (syms[i] == keysym) return static_cast<xcb_keycode_t>(first + i / perKey);
    }
    return std::nullopt;
}

LockMasks ReadLockMasks(xcb_connection_t* connection) {
    LockMasks masks;
    const auto num = KeycodeForKeysym(connection, kKeysymNumLock);
    const auto scroll = KeycodeForKeysym(connection, kKeysymScrollLock);
    const Reply<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!mapping) return masks;
    const int perModifier = mapping->keycodes_per_modifier;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    // Eight modifiers (Shift, Lock, Control, Mod1..Mod5), each with up to perModifier keys.
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int k = 0; k < perModifier; ++k) {
            const xcb_keycode_t code = codes[modifier * perModifier + k];
            if (code == 0) continue;
            const auto mask = static_cast<std::uint16_t>(1u << modifier);
            if (num && code == *num) masks.num = mask;
            if (scroll && code == *scroll) masks.scroll = mask;
        }
    }
    return masks;
}

xcb_window_t RootWindowOfDefaultScreen(xcb_connection_t* connection) {
    int screen = 0;
    int display = 0;
    char* host = nullptr;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0) screen = 0;
    std::free(host);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screen && it.rem > 1; ++i) xcb_screen_next(&it);
    return it.data->root;
}

}  // namespace kestrin::qt
