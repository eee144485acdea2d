#include "platform/qt/wayland/wl_virtual_pointer.h"

#include <linux/input-event-codes.h>
#include <time.h>
#include <wayland-client.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/qt/input_layer.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace kestrin::qt::wl {
namespace {

// Version 2 adds create_virtual_pointer_with_output, which we do not need.
constexpr std::uint32_t kManagerVersion = 1;

std::uint32_t NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

}  // namespace

void VirtualPointer::Disconnect(wl_display* display) {
    // Sends whatever is still buffered first, so no burst is left half sent.
    wl_display_flush(display);
    wl_display_disconnect(display);
}
void VirtualPointer::DestroyRegistry(wl_registry* registry) {
    wl_registry_destroy(registry);
}
void VirtualPointer::DestroyManager(zwlr_virtual_pointer_manager_v1* manager) {
    zwlr_virtual_pointer_manager_v1_destroy(manager);
}
void VirtualPointer::DestroyPointer(zwlr_virtual_pointer_v1* pointer) {
    zwlr_virtual_pointer_v1_destroy(pointer);
}

void VirtualPointer::Global(void* data, wl_registry* registry, std::uint32_t name,
                            const char* interface, std::uint32_t /*version*/) {
    auto* self = static_cast<VirtualPointer*>(data);
    if (self->m_manager ||
        std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) != 0)
        return;
    self->m_manager.reset(static_cast<zwlr_virtual_pointer_manager_v1*>(wl_registry_bind(
        registry, name, &zwlr_virtual_pointer_manager_v1_interface, kManagerVersion)));
}

void VirtualPointer::GlobalRemove(void*, wl_registry*, std::uint32_t) {}

VirtualPointer::VirtualPointer() : m_display(wl_display_connect(nullptr)) {
    if (!m_display) return;
    static constexpr wl_registry_listener kListener{&Global, &GlobalRemove};
    m_registry.reset(wl_display_get_registry(m_display.get()));
    wl_registry_add_listener(m_registry.get(), &kListener, this);
    if (wl_display_roundtrip(m_display.get()) < 0 || !m_manager) return;
    // The compositor's default seat.
    m_pointer.reset(
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(m_manager.get(), nullptr));
    if (wl_display_roundtrip(m_display.get()) < 0) {
        m_pointer.reset();
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(wl_display_get_fd(m_display.get()),
                                                   QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { Dispatch(); });
    m_writable = std::make_unique<QSocketNotifier>(wl_display_get_fd(m_display.get()),
                                                   QSocketNotifier::Write);
    m_writable->setEnabled(false);
    QObject::connect(m_writable.get(), &QSocketNotifier::activated, [this] { Flush(); });
}

VirtualPointer::~VirtualPointer() = default;

void VirtualPointer::Dispatch() {
    if (wl_display_dispatch(m_display.get()) < 0) ReportLost();
}

void VirtualPointer::ReportLost() {
    if (m_lost) return;
    m_lost = true;
    m_notifier.reset();
    m_writable->setEnabled(false);
    std::fprintf(stderr,
                 "kestrin: the Wayland connection for clicks is lost (%s): no more clicks\n",
                 std::strerror(wl_display_get_error(m_display.get())));
}

void VirtualPointer::SendBurst(std::span<const std::uint32_t> flags) {
    if (!Valid() || m_lost || flags.empty()) return;
    // Whole or none: a burst goes only into an empty buffer, so it leaves in one write of its
    // own, which the kernel takes whole or not at all. What the compositor does not take yet
    // goes once it reads again (not at a next tick, which may never come); meanwhile, bursts
    // are left out.
    if (!Flush()) return LeftOut();
    m_stalled = false;
    const std::uint32_t time = NowMs();
    for (const std::uint32_t flag : flags) {
        const auto event = ButtonEventOf(flag);
        if (!event) continue;
        const std::uint32_t button = event->right ? BTN_RIGHT : BTN_LEFT;
        const std::uint32_t state =
            event->pressed ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED;
        zwlr_virtual_pointer_v1_button(m_pointer.get(), time, button, state);
        zwlr_virtual_pointer_v1_frame(m_pointer.get());
    }
    Flush();
}

bool VirtualPointer::Flush() {
    if (wl_display_flush(m_display.get()) >= 0) {
        m_writable->setEnabled(false);
        return true;
    }
    if (errno != EAGAIN) {
        ReportLost();
        return false;
    }
    // What is left goes as soon as the compositor reads again, not at the next tick.
    m_writable->setEnabled(true);
    return false;
}

void VirtualPointer::LeftOut() {
    if (m_lost || std::exchange(m_stalled, true)) return;
    std::fputs("kestrin: the compositor reads no input: clicks are left out until it does\n",
               stderr);
}

}  // namespace kestrin::qt::wl
