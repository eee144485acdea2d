// What the tests' own Wayland clients share: owning handles, failing, the monotonic clock, and
// binding the compositor's globals.
#pragma once

#include <wayland-client.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kestrin::wl_test {

template <auto Free>
struct Deleter {
    void operator()(auto* handle) const { Free(handle); }
};
using Display = std::unique_ptr<wl_display, Deleter<wl_display_disconnect>>;

// Says what went wrong on stderr, after the program's name, and ends the program.
[[noreturn]] inline void Fail(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, message.c_str());
    std::exit(1);
}

inline long long MonotonicMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000LL + now.tv_nsec / 1000;
}

// A global to bind when the compositor announces one of its interface: at the version asked for,
// into `proxy`.
using Wanted = std::function<void(wl_registry*, uint32_t name, const char* interface)>;
template <typename Proxy>
Wanted Want(Proxy*& proxy, const wl_interface& type, uint32_t version = 1) {
    return [&proxy, &type, version](wl_registry* registry, uint32_t name, const char* interface) {
        if (std::strcmp(interface, type.name) == 0)
            proxy = static_cast<Proxy*>(wl_registry_bind(registry, name, &type, version));
    };
}

// Connects to the compositor and binds those of the wanted globals it announces at once.
inline Display Connect(std::vector<Wanted> wanted) {
    static const wl_registry_listener kRegistry = {
        [](void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
            for (const Wanted& bind : *static_cast<std::vector<Wanted>*>(data))
                bind(registry, name, interface);
        },
        [](void*, wl_registry*, uint32_t) {},
    };
    Display display(wl_display_connect(nullptr));
    if (!display) Fail("cannot connect to the Wayland display");
    wl_registry* registry = wl_display_get_registry(display.get());
    wl_registry_add_listener(registry, &kRegistry, &wanted);
    wl_display_roundtrip(display.get());
    wl_registry_destroy(registry);  // globals announced later are not wanted
    return display;
}

}  // namespace kestrin::wl_test
