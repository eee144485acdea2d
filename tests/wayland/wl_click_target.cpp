// A native Wayland surface that counts the clicks it receives: the Wayland tests put the pointer
// over it and let Kestrin click. It lies on the whole output below every window (a layer
// surface on the bottom layer, of the size the compositor configures) and never takes the
// keyboard, so a click on it does not take the focus from Kestrin as a click on a window does
// in sway. One line per event on stdout, flushed at once:
//
//   ready                           once the first frame is shown
//   P <button> <monotonic µs>       a button pressed (evdev code: 272 left, 273 right)
//   R <button> <monotonic µs>       a button released
//
// Runs until the compositor goes away or a signal ends it. The connection is the one owned
// handle: every protocol object dies with it.
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

// The generated header names an argument "namespace", a keyword in C++.
#define namespace layer_namespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace

namespace {

struct Disconnect {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};

struct Target {
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wl_seat* seat = nullptr;
    zwlr_layer_shell_v1* shell = nullptr;
    wl_surface* surface = nullptr;
    wl_buffer* buffer = nullptr;  // replaced when the size changes
    int width = 0, height = 0, buffer_width = 0, buffer_height = 0;
    bool shown = false;
};

long long MonotonicMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000LL + now.tv_nsec / 1000;
}

// A white buffer of the given size in shared memory; the fd and mapping end here, the
// compositor keeps its own reference to the pool.
wl_buffer* WhiteBuffer(wl_shm* shm, int width, int height) {
    const int stride = width * 4;
    const int size = stride * height;
    const int fd = memfd_create("wl_click_target", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) != 0) {
        std::perror("wl_click_target: shared memory");
        std::exit(1);
    }
    void* pixels = mmap(nullptr, static_cast<size_t>(size), PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels != MAP_FAILED) {
        std::memset(pixels, 0xff, static_cast<size_t>(size));
        munmap(pixels, static_cast<size_t>(size));
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, size);
    wl_buffer* buffer =
        wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return buffer;
}

void OnButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
    std::printf("%c %u %lld\n", state == WL_POINTER_BUTTON_STATE_PRESSED ? 'P' : 'R', button,
                MonotonicMicroseconds());
    std::fflush(stdout);
}

const wl_pointer_listener kPointer = {
    [](void*, wl_pointer*, uint32_t, wl_surface*, wl_fixed_t, wl_fixed_t) {},
    [](void*, wl_pointer*, uint32_t, wl_surface*) {},
    [](void*, wl_pointer*, uint32_t, wl_fixed_t, wl_fixed_t) {},
    OnButton,
    [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},
    [](void*, wl_pointer*) {},
    [](void*, wl_pointer*, uint32_t) {},
    [](void*, wl_pointer*, uint32_t, uint32_t) {},
    [](void*, wl_pointer*, uint32_t, int32_t) {},
    nullptr,  // axis_value120: version 8, we bind version 5
};

const wl_seat_listener kSeat = {
    [](void*, wl_seat* seat, uint32_t capabilities) {
        if ((capabilities & WL_SEAT_CAPABILITY_POINTER) != 0) {
            wl_pointer_add_listener(wl_seat_get_pointer(seat), &kPointer, nullptr);
        }
    },
    [](void*, wl_seat*, const char*) {},
};

const zwlr_layer_surface_v1_listener kSurface = {
    [](void* data, zwlr_layer_surface_v1* surface, uint32_t serial, uint32_t width,
       uint32_t height) {
        auto& target = *static_cast<Target*>(data);
        zwlr_layer_surface_v1_ack_configure(surface, serial);
        target.width = static_cast<int>(width);
        target.height = static_cast<int>(height);
        if (target.width != target.buffer_width || target.height != target.buffer_height) {
            if (target.buffer != nullptr) wl_buffer_destroy(target.buffer);
            target.buffer = WhiteBuffer(target.shm, target.width, target.height);
            target.buffer_width = target.width;
            target.buffer_height = target.height;
        }
        wl_surface_attach(target.surface, target.buffer, 0, 0);
        wl_surface_damage(target.surface, 0, 0, target.width, target.height);
        wl_surface_commit(target.surface);
        if (!target.shown) {
            target.shown = true;
            std::printf("ready\n");
            std::fflush(stdout);
        }
    },
    [](void*, zwlr_layer_surface_v1*) { std::exit(0); },
};

const wl_registry_listener kRegistry = {
    [](void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
        auto& target = *static_cast<Target*>(data);
        auto bind = [&](const wl_interface& type, uint32_t version) {
            return wl_registry_bind(registry, name, &type, version);
        };
        if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
            target.compositor = static_cast<wl_compositor*>(bind(wl_compositor_interface, 4));
        } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
            target.shm = static_cast<wl_shm*>(bind(wl_shm_interface, 1));
        } else if (std::strcmp(interface, wl_seat_interface.name) == 0) {
            target.seat = static_cast<wl_seat*>(bind(wl_seat_interface, 5));
        } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
            target.shell =
                static_cast<zwlr_layer_shell_v1*>(bind(zwlr_layer_shell_v1_interface, 1));
        }
    },
    [](void*, wl_registry*, uint32_t) {},
};

}  // namespace

int main() {
    const std::unique_ptr<wl_display, Disconnect> display(wl_display_connect(nullptr));
    if (!display) {
        std::fprintf(stderr, "wl_click_target: cannot connect to the Wayland display\n");
        return 1;
    }
    Target target;
    wl_registry_add_listener(wl_display_get_registry(display.get()), &kRegistry, &target);
    wl_display_roundtrip(display.get());
    if (!target.compositor || !target.shm || !target.seat || !target.shell) {
        std::fprintf(stderr, "wl_click_target: the compositor lacks a global we need\n");
        return 1;
    }
    wl_seat_add_listener(target.seat, &kSeat, nullptr);
    target.surface = wl_compositor_create_surface(target.compositor);
    zwlr_layer_surface_v1* surface = zwlr_layer_shell_v1_get_layer_surface(
        target.shell, target.surface, nullptr, ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM, "click target");
    zwlr_layer_surface_v1_add_listener(surface, &kSurface, &target);
    zwlr_layer_surface_v1_set_anchor(
        surface, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                     ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    wl_surface_commit(target.surface);
    while (wl_display_dispatch(display.get()) != -1) {
    }
    return 0;
}
