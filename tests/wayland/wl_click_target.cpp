// A native Wayland surface that counts the clicks it receives: the Wayland tests put the pointer
// over it and let Kestrin click. It lies on the whole output below every window (a layer
// surface on the bottom layer, of the size the compositor configures) and never takes the
// keyboard, so a click on it does not take the focus from Kestrin as a click on a window does
// in sway. With the argument `window` it is an ordinary window instead, which takes the
// keyboard focus as it maps, and tells the keys it receives. One line per event on stdout,
// flushed at once:
//
//   ready                           once the surface is shown
//   P <button> <monotonic µs> <ms>  a button pressed (evdev code: 272 left, 273 right), when
//                                   it came and the event's own time (the sender's, in ms)
//   R <button> <monotonic µs> <ms>  a button released
//   focus                           the keyboard focus came to the surface
//   unfocus                         the keyboard focus left it
//   K <key> <state>                 a key pressed (1) or released (0), evdev code: 61 F3, 62 F4
//   T <app id> <title>              a window of any client, as the compositor lists it
//                                   (wlr-foreign-toplevel-management), at each change
//
// Runs until the compositor goes away or a signal ends it. The connection is the one owned
// handle: every protocol object dies with it.
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <map>
#include <string>
#include <utility>

#include "wl_client.h"

// The generated header names an argument "namespace", a keyword in C++.
#define namespace layer_namespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

using namespace kestrin::wl_test;

struct Toplevel {
    std::string appId, title;
};

struct Target {
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wl_seat* seat = nullptr;
    zwlr_layer_shell_v1* shell = nullptr;
    xdg_wm_base* windows = nullptr;
    zwlr_foreign_toplevel_manager_v1* toplevels = nullptr;
    std::map<void*, Toplevel> listed;  // the windows listed, by handle
    wl_surface* surface = nullptr;
    wl_buffer* buffer = nullptr;
    bool pointer = false, keyboard = false;  // ours, made once: capabilities may come again
    std::array<uint32_t, 2> size{};          // the window's, as last configured
};

void Say(const char* format, auto... values) {
    std::printf(format, values...);
    std::fflush(stdout);
}

// wl_pointer's events, all of them through one function: only the button (opcode 3) counts.
int OnPointer(const void*, void*, uint32_t opcode, const wl_message*, wl_argument* args) {
    if (opcode == 3) {
        Say("%c %u %lld %u\n", args[3].u == WL_POINTER_BUTTON_STATE_PRESSED ? 'P' : 'R', args[2].u,
            MonotonicMicroseconds(), args[1].u);
    }
    return 0;
}

// wl_keyboard's: the keymap's file descriptor is closed, focus (1, 2) and keys (3) are told.
int OnKeyboard(const void*, void*, uint32_t opcode, const wl_message*, wl_argument* args) {
    if (opcode == 0) close(args[1].h);
    if (opcode == 1) Say("focus\n");
    if (opcode == 2) Say("unfocus\n");
    if (opcode == 3) Say("K %u %u\n", args[2].u, args[3].u);
    return 0;
}

// A listed window's events: title (0) and app id (1) are told at done (5); closed (6) ends it.
int OnToplevel(const void*, void* handle, uint32_t opcode, const wl_message*, wl_argument* args) {
    auto& listed =
        static_cast<Target*>(wl_proxy_get_user_data(static_cast<wl_proxy*>(handle)))->listed;
    Toplevel& toplevel = listed[handle];
    if (opcode == 0) toplevel.title = args[0].s;
    if (opcode == 1) toplevel.appId = args[0].s;
    if (opcode == 5) Say("T %s %s\n", toplevel.appId.c_str(), toplevel.title.c_str());
    if (opcode == 6) {
        zwlr_foreign_toplevel_handle_v1_destroy(
            static_cast<zwlr_foreign_toplevel_handle_v1*>(handle));
        listed.erase(handle);
    }
    return 0;
}

const zwlr_foreign_toplevel_manager_v1_listener kToplevels = {
    [](void* data, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* handle) {
        wl_proxy_add_dispatcher(reinterpret_cast<wl_proxy*>(handle), OnToplevel, nullptr, data);
    },
    [](void*, zwlr_foreign_toplevel_manager_v1*) {},
};

const wl_seat_listener kSeat = {
    [](void* data, wl_seat* seat, uint32_t capabilities) {
        auto& target = *static_cast<Target*>(data);
        if ((capabilities & WL_SEAT_CAPABILITY_POINTER) != 0 &&
            !std::exchange(target.pointer, true)) {
            wl_proxy_add_dispatcher(reinterpret_cast<wl_proxy*>(wl_seat_get_pointer(seat)),
                                    OnPointer, nullptr, nullptr);
        }
        if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0 &&
            !std::exchange(target.keyboard, true)) {
            wl_proxy_add_dispatcher(reinterpret_cast<wl_proxy*>(wl_seat_get_keyboard(seat)),
                                    OnKeyboard, nullptr, nullptr);
        }
    },
    [](void*, wl_seat*, const char*) {},
};

// Shows a buffer of the configured size (black: zero-filled shared memory), 200 x 200 when
// the compositor leaves the size to us.
void Show(Target& target, uint32_t width, uint32_t height) {
    if (width == 0 || height == 0) width = height = 200;
    const int stride = static_cast<int>(width) * 4, size = stride * static_cast<int>(height);
    const int fd = memfd_create("wl_click_target", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) != 0) Fail("cannot make the buffer");
    wl_shm_pool* pool = wl_shm_create_pool(target.shm, fd, size);
    close(fd);
    if (target.buffer != nullptr) wl_buffer_destroy(target.buffer);
    target.buffer = wl_shm_pool_create_buffer(
        pool, 0, static_cast<int>(width), static_cast<int>(height), stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    wl_surface_attach(target.surface, target.buffer, 0, 0);
    wl_surface_commit(target.surface);
    Say("ready\n");
}

const zwlr_layer_surface_v1_listener kLayerSurface = {
    [](void* data, zwlr_layer_surface_v1* surface, uint32_t serial, uint32_t width,
       uint32_t height) {
        zwlr_layer_surface_v1_ack_configure(surface, serial);
        Show(*static_cast<Target*>(data), width, height);
    },
    [](void*, zwlr_layer_surface_v1*) { std::exit(0); },
};

// The window: its size comes with the toplevel's configure, is applied at the surface's.
const xdg_toplevel_listener kToplevel = {
    [](void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
        static_cast<Target*>(data)->size = {static_cast<uint32_t>(width),
                                            static_cast<uint32_t>(height)};
    },
    [](void*, xdg_toplevel*) { std::exit(0); },
    [](void*, xdg_toplevel*, int32_t, int32_t) {},  // not sent at version 1
    [](void*, xdg_toplevel*, wl_array*) {},
};
const xdg_surface_listener kWindowSurface = {
    [](void* data, xdg_surface* surface, uint32_t serial) {
        xdg_surface_ack_configure(surface, serial);
        auto& target = *static_cast<Target*>(data);
        Show(target, target.size[0], target.size[1]);
    },
};
const xdg_wm_base_listener kWindows = {
    [](void*, xdg_wm_base* windows, uint32_t serial) { xdg_wm_base_pong(windows, serial); },
};

}  // namespace

int main(int argc, char** argv) {
    const bool fullscreen = argc > 1 && std::strcmp(argv[1], "fullscreen") == 0;
    const bool window = fullscreen || (argc > 1 && std::strcmp(argv[1], "window") == 0);
    Target target;
    const Display display = Connect(
        {Want(target.compositor, wl_compositor_interface, 4), Want(target.shm, wl_shm_interface),
         Want(target.seat, wl_seat_interface, 5), Want(target.shell, zwlr_layer_shell_v1_interface),
         Want(target.windows, xdg_wm_base_interface),
         Want(target.toplevels, zwlr_foreign_toplevel_manager_v1_interface)});
    if (!target.compositor || !target.shm || !target.seat || !target.windows ||
        (!window && !target.shell)) {
        Fail("no Wayland display with shells and a seat");
    }
    wl_seat_add_listener(target.seat, &kSeat, &target);
    if (target.toplevels)
        zwlr_foreign_toplevel_manager_v1_add_listener(target.toplevels, &kToplevels, &target);
    target.surface = wl_compositor_create_surface(target.compositor);
    if (window) {
        xdg_wm_base_add_listener(target.windows, &kWindows, nullptr);
        xdg_surface* surface = xdg_wm_base_get_xdg_surface(target.windows, target.surface);
        xdg_surface_add_listener(surface, &kWindowSurface, &target);
        xdg_toplevel* toplevel = xdg_surface_get_toplevel(surface);
        xdg_toplevel_add_listener(toplevel, &kToplevel, &target);
        xdg_toplevel_set_title(toplevel, "click target");
        if (fullscreen) xdg_toplevel_set_fullscreen(toplevel, nullptr);
    } else {
        zwlr_layer_surface_v1* surface =
            zwlr_layer_shell_v1_get_layer_surface(target.shell, target.surface, nullptr,
                                                  ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM, "click target");
        zwlr_layer_surface_v1_add_listener(surface, &kLayerSurface, &target);
        zwlr_layer_surface_v1_set_anchor(
            surface, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                         ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    }
    wl_surface_commit(target.surface);
    while (wl_display_dispatch(display.get()) != -1) {
    }
    return 0;
}
