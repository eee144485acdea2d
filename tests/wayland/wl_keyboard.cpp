// The Wayland tests' hands: a virtual keyboard with the standard keymap and a virtual pointer
// on the compositor's seat (wlroots compositors), or else KWin's fake input (granted to every
// client when KWin runs with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1). The wlroots devices exist
// from start to end: a seat has no keyboard or pointer until a virtual device exists, and
// other clients look for theirs only when they start. It says "ready" once they are there.
// Commands, one a line on stdin; each is answered "ok" once the compositor has handled it:
//
//   key NAME...       press and release each key in turn, named by its keysym: F3 Escape 1;
//                     alt+Tab holds Alt while pressing Tab
//   move X Y          put the pointer at X,Y on the output
//
// Usage: wl_keyboard OUTPUT_WIDTH OUTPUT_HEIGHT. Ends at the end of stdin.
#include <sys/mman.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

#include <iostream>
#include <sstream>

#include "kwin-fake-input-client-protocol.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wl_client.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {

using namespace kestrin::wl_test;
using Context = std::unique_ptr<xkb_context, Deleter<xkb_context_unref>>;
using Keymap = std::unique_ptr<xkb_keymap, Deleter<xkb_keymap_unref>>;
using VirtualKeyboard =
    std::unique_ptr<zwp_virtual_keyboard_v1, Deleter<zwp_virtual_keyboard_v1_destroy>>;
using Text = std::unique_ptr<char, Deleter<std::free>>;
using Pointer = std::unique_ptr<zwlr_virtual_pointer_v1, Deleter<zwlr_virtual_pointer_v1_destroy>>;

struct Globals {
    wl_seat* seat = nullptr;
    zwp_virtual_keyboard_manager_v1* keyboards = nullptr;
    zwlr_virtual_pointer_manager_v1* pointers = nullptr;
    org_kde_kwin_fake_input* kwin = nullptr;
};

uint32_t Milliseconds() {
    return static_cast<uint32_t>(MonotonicMicroseconds() / 1000);
}

// The evdev code of the key that gives the keysym unshifted, in the standard keymap's first
// layout.
uint32_t CodeOf(xkb_keymap* keymap, const std::string& name) {
    const xkb_keysym_t wanted = xkb_keysym_from_name(name.c_str(), XKB_KEYSYM_NO_FLAGS);
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= xkb_keymap_max_keycode(keymap);
         ++key) {
        const xkb_keysym_t* syms = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap, key, 0, 0, &syms);
        if (wanted != XKB_KEY_NoSymbol && count == 1 && syms[0] == wanted) return key - 8;
    }
    Fail("no key for " + name);
}

// The wlroots compositors' virtual keyboard and pointer, or else KWin's fake input.
class Hands {
  public:
    Hands(const Globals& globals, uint32_t width, uint32_t height)
        : kwin_(globals.kwin), width_(width), height_(height) {
        if (globals.seat && globals.keyboards && globals.pointers) {
            keyboard_.reset(zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(
                globals.keyboards, globals.seat));
            pointer_.reset(zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.pointers,
                                                                                  globals.seat));
            const Text text(xkb_keymap_get_as_string(keymap_.get(), XKB_KEYMAP_FORMAT_TEXT_V1));
            const size_t size = std::strlen(text.get()) + 1;
            const int fd = memfd_create("keymap", MFD_CLOEXEC);
            if (fd < 0 || write(fd, text.get(), size) != static_cast<ssize_t>(size)) {
                Fail("cannot write the keymap");
            }
            zwp_virtual_keyboard_v1_keymap(keyboard_.get(), WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                           static_cast<uint32_t>(size));
            close(fd);
        } else if (kwin_) {
            org_kde_kwin_fake_input_authenticate(kwin_, "wl_keyboard",
                                                 "the tests' keys and pointer");
        } else {
            Fail("neither a virtual keyboard and pointer nor KWin's fake input here");
        }
    }

    void Press(const std::string& chord) {
        const bool alt = chord.starts_with("alt+");  // Alt held down around the key
        if (alt) Alt(WL_KEYBOARD_KEY_STATE_PRESSED);
        for (auto state : {WL_KEYBOARD_KEY_STATE_PRESSED, WL_KEYBOARD_KEY_STATE_RELEASED})
            Key(CodeOf(keymap_.get(), alt ? chord.substr(4) : chord), state);
        if (alt) Alt(WL_KEYBOARD_KEY_STATE_RELEASED);
    }

    void Move(uint32_t x, uint32_t y) {
        if (!pointer_) {
            org_kde_kwin_fake_input_pointer_motion_absolute(kwin_, wl_fixed_from_int(int(x)),
                                                            wl_fixed_from_int(int(y)));
            return;
        }
        zwlr_virtual_pointer_v1_motion_absolute(pointer_.get(), Milliseconds(), x, y, width_,
                                                height_);
        zwlr_virtual_pointer_v1_frame(pointer_.get());
    }

  private:
    void Key(uint32_t code, wl_keyboard_key_state state) {
        if (keyboard_) {
            zwp_virtual_keyboard_v1_key(keyboard_.get(), Milliseconds(), code, state);
        } else {
            org_kde_kwin_fake_input_keyboard_key(kwin_, code, state);
        }
    }

    void Alt(wl_keyboard_key_state state) {
        Key(CodeOf(keymap_.get(), "Alt_L"), state);
        // A virtual keyboard sends the modifiers too (KWin works them out itself).
        const uint32_t alt = 1u << xkb_keymap_mod_get_index(keymap_.get(), XKB_MOD_NAME_ALT);
        const uint32_t mask = state == WL_KEYBOARD_KEY_STATE_PRESSED ? alt : 0;
        if (keyboard_) zwp_virtual_keyboard_v1_modifiers(keyboard_.get(), mask, 0, 0, 0);
    }

    Context context_{xkb_context_new(XKB_CONTEXT_NO_FLAGS)};
    Keymap keymap_{xkb_keymap_new_from_names(context_.get(), nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS)};
    VirtualKeyboard keyboard_;
    Pointer pointer_;
    org_kde_kwin_fake_input* kwin_;
    uint32_t width_, height_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) Fail("usage: wl_keyboard OUTPUT_WIDTH OUTPUT_HEIGHT");
    const auto width = static_cast<uint32_t>(std::atoi(argv[1]));
    const auto height = static_cast<uint32_t>(std::atoi(argv[2]));
    Globals globals;
    const Display display =
        Connect({Want(globals.seat, wl_seat_interface),
                 Want(globals.keyboards, zwp_virtual_keyboard_manager_v1_interface),
                 Want(globals.pointers, zwlr_virtual_pointer_manager_v1_interface),
                 Want(globals.kwin, org_kde_kwin_fake_input_interface, 4)});
    Hands hands(globals, width, height);
    if (wl_display_roundtrip(display.get()) < 0) Fail("the compositor refused our devices");
    std::cout << "ready" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream command(line);
        std::string verb, word;
        command >> verb;
        if (verb == "key") {
            while (command >> word) hands.Press(word);
        } else if (uint32_t x = 0, y = 0; verb == "move" && command >> x >> y) {
            hands.Move(x, y);
        } else {
            Fail("unknown command: " + line);
        }
        if (wl_display_roundtrip(display.get()) < 0) Fail("lost the Wayland display");
        std::cout << "ok" << std::endl;
    }
}
