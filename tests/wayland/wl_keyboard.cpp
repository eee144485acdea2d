// The Wayland tests' hands: a virtual keyboard with the standard keymap and a virtual pointer
// on the compositor's seat. Both exist from start to end: a seat has no keyboard or pointer
// until a virtual device exists, and other clients look for theirs only when they start.
// It says "ready" once they are there. Commands, one a line on stdin; each is answered "ok" once
// the compositor has handled it:
//
//   key CHORD...      press and release each chord in turn; a chord is keysym names joined by
//                     '+', pressed in order and released in reverse: F3, Escape, Control_L+a, 1
//   move X Y          put the pointer at X,Y on the output
//   click BUTTON      press and release an evdev button (272 left, 273 right)
//
// Usage: wl_keyboard OUTPUT_WIDTH OUTPUT_HEIGHT. Ends at the end of stdin.
#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {

template <auto Free>
struct Deleter {
    void operator()(auto* handle) const { Free(handle); }
};
using Display = std::unique_ptr<wl_display, Deleter<wl_display_disconnect>>;
using Context = std::unique_ptr<xkb_context, Deleter<xkb_context_unref>>;
using Keymap = std::unique_ptr<xkb_keymap, Deleter<xkb_keymap_unref>>;
using State = std::unique_ptr<xkb_state, Deleter<xkb_state_unref>>;
using Text = std::unique_ptr<char, Deleter<std::free>>;

struct Globals {
    wl_seat* seat = nullptr;
    zwp_virtual_keyboard_manager_v1* keyboards = nullptr;
    zwlr_virtual_pointer_manager_v1* pointers = nullptr;
};

const wl_registry_listener kRegistry = {
    [](void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
        auto& globals = *static_cast<Globals*>(data);
        auto is = [&](const wl_interface& type) { return std::strcmp(interface, type.name) == 0; };
        if (is(wl_seat_interface)) {
            globals.seat =
                static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        } else if (is(zwp_virtual_keyboard_manager_v1_interface)) {
            globals.keyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(
                wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
        } else if (is(zwlr_virtual_pointer_manager_v1_interface)) {
            globals.pointers = static_cast<zwlr_virtual_pointer_manager_v1*>(
                wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
        }
    },
    [](void*, wl_registry*, uint32_t) {},
};

uint32_t Milliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

[[noreturn]] void Fail(const std::string& message) {
    std::cerr << "wl_keyboard: " << message << '\n';
    std::exit(1);
}

class Keyboard {
  public:
    Keyboard(zwp_virtual_keyboard_manager_v1* manager, wl_seat* seat)
        : device_(zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, seat)) {
        const Text text(xkb_keymap_get_as_string(keymap_.get(), XKB_KEYMAP_FORMAT_TEXT_V1));
        const size_t size = std::strlen(text.get()) + 1;
        const int fd = memfd_create("keymap", MFD_CLOEXEC);
        if (fd < 0 || write(fd, text.get(), size) != static_cast<ssize_t>(size)) {
            Fail("cannot write the keymap");
        }
        zwp_virtual_keyboard_v1_keymap(device_, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       static_cast<uint32_t>(size));
        close(fd);
    }
    ~Keyboard() { zwp_virtual_keyboard_v1_destroy(device_); }

    void Chord(const std::string& chord) {
        std::vector<xkb_keycode_t> keys;
        std::istringstream names(chord);
        for (std::string name; std::getline(names, name, '+');) keys.push_back(KeyFor(name));
        for (auto key = keys.begin(); key != keys.end(); ++key) Key(*key, true);
        for (auto key = keys.rbegin(); key != keys.rend(); ++key) Key(*key, false);
    }

  private:
    // The key that gives the keysym unshifted, in the first layout.
    xkb_keycode_t KeyFor(const std::string& name) const {
        const xkb_keysym_t wanted = xkb_keysym_from_name(name.c_str(), XKB_KEYSYM_NO_FLAGS);
        for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap_.get());
             key <= xkb_keymap_max_keycode(keymap_.get()); ++key) {
            const xkb_keysym_t* syms = nullptr;
            const int count = xkb_keymap_key_get_syms_by_level(keymap_.get(), key, 0, 0, &syms);
            if (wanted != XKB_KEY_NoSymbol && count == 1 && syms[0] == wanted) return key;
        }
        Fail("no key for " + name);
    }

    // The compositor takes the modifiers as we say them, so they follow every key.
    void Key(xkb_keycode_t key, bool down) {
        zwp_virtual_keyboard_v1_key(
            device_, Milliseconds(), key - 8,
            down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
        xkb_state_update_key(state_.get(), key, down ? XKB_KEY_DOWN : XKB_KEY_UP);
        auto mods = [&](xkb_state_component part) {
            return xkb_state_serialize_mods(state_.get(), part);
        };
        zwp_virtual_keyboard_v1_modifiers(
            device_, mods(XKB_STATE_MODS_DEPRESSED), mods(XKB_STATE_MODS_LATCHED),
            mods(XKB_STATE_MODS_LOCKED),
            xkb_state_serialize_layout(state_.get(), XKB_STATE_LAYOUT_EFFECTIVE));
    }

    Context context_{xkb_context_new(XKB_CONTEXT_NO_FLAGS)};
    Keymap keymap_{xkb_keymap_new_from_names(context_.get(), nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS)};
    State state_{xkb_state_new(keymap_.get())};
    zwp_virtual_keyboard_v1* device_;
};

class Pointer {
  public:
    Pointer(zwlr_virtual_pointer_manager_v1* manager, wl_seat* seat)
        : device_(zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat)) {}
    ~Pointer() { zwlr_virtual_pointer_v1_destroy(device_); }

    void Move(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
        zwlr_virtual_pointer_v1_motion_absolute(device_, Milliseconds(), x, y, width, height);
        zwlr_virtual_pointer_v1_frame(device_);
    }
    void Click(uint32_t button) {
        for (auto state : {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
            zwlr_virtual_pointer_v1_button(device_, Milliseconds(), button, state);
            zwlr_virtual_pointer_v1_frame(device_);
        }
    }

  private:
    zwlr_virtual_pointer_v1* device_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) Fail("usage: wl_keyboard OUTPUT_WIDTH OUTPUT_HEIGHT");
    const auto width = static_cast<uint32_t>(std::atoi(argv[1]));
    const auto height = static_cast<uint32_t>(std::atoi(argv[2]));
    const Display display(wl_display_connect(nullptr));
    if (!display) Fail("cannot connect to the Wayland display");
    Globals globals;
    wl_registry_add_listener(wl_display_get_registry(display.get()), &kRegistry, &globals);
    wl_display_roundtrip(display.get());
    if (!globals.seat || !globals.keyboards || !globals.pointers) {
        Fail("the compositor offers no seat, virtual keyboard or virtual pointer");
    }
    Keyboard keyboard(globals.keyboards, globals.seat);
    Pointer pointer(globals.pointers, globals.seat);
    if (wl_display_roundtrip(display.get()) < 0) Fail("the compositor refused our devices");
    std::cout << "ready" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream command(line);
        std::string verb, word;
        command >> verb;
        if (verb == "key") {
            while (command >> word) keyboard.Chord(word);
        } else if (uint32_t x = 0, y = 0; verb == "move" && command >> x >> y) {
            pointer.Move(x, y, width, height);
        } else if (uint32_t button = 0; verb == "click" && command >> button) {
            pointer.Click(button);
        } else {
            Fail("unknown command: " + line);
        }
        if (wl_display_roundtrip(display.get()) < 0) Fail("lost the Wayland display");
        std::cout << "ok" << std::endl;
    }
    return 0;
}
