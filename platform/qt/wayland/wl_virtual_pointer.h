// Injected clicks on Wayland: a virtual pointer (zwlr_virtual_pointer_manager_v1, offered by
// sway and the other wlroots compositors, Hyprland, niri) on a Wayland connection of our own,
// apart from Qt's, whose buffering and event thread we do not control.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

struct wl_display;
struct wl_registry;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;
class QSocketNotifier;

namespace kestrin::qt::wl {

class VirtualPointer {
  public:
    // Connects to $WAYLAND_DISPLAY and creates the virtual pointer; Valid() tells whether the
    // compositor offers one.
    VirtualPointer();
    ~VirtualPointer();
    VirtualPointer(const VirtualPointer&) = delete;
    VirtualPointer& operator=(const VirtualPointer&) = delete;

    bool Valid() const { return m_pointer != nullptr; }
    // Sends the button events (MOUSEEVENTF_* flags), each with its frame, in one write to the
    // compositor: it receives the whole burst or none of it. None while the compositor reads
    // nothing (stopped, hung): said once on stderr for each such stall.
    void SendBurst(std::span<const std::uint32_t> flags);

  private:
    static void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t version);
    static void GlobalRemove(void* data, wl_registry* registry, std::uint32_t name);
    // Reads what the compositor sends (registry changes, errors), so it never piles up.
    void Dispatch();
    // Says once on stderr that the connection is lost: clicks stop.
    void ReportLost();
    // Writes what is buffered; false while some of it waits for the compositor to read.
    bool Flush();
    // A burst was left out: says so at the start of a stall.
    void LeftOut();

    template <typename T, void (*Destroy)(T*)>
    struct Deleter {
        void operator()(T* object) const { Destroy(object); }
    };
    static void Disconnect(wl_display* display);
    static void DestroyRegistry(wl_registry* registry);
    static void DestroyManager(zwlr_virtual_pointer_manager_v1* manager);
    static void DestroyPointer(zwlr_virtual_pointer_v1* pointer);

    // Declared in the order they are made: destroyed pointer first, connection last.
    std::unique_ptr<wl_display, Deleter<wl_display, &Disconnect>> m_display;
    std::unique_ptr<wl_registry, Deleter<wl_registry, &DestroyRegistry>> m_registry;
    std::unique_ptr<zwlr_virtual_pointer_manager_v1,
                    Deleter<zwlr_virtual_pointer_manager_v1, &DestroyManager>>
        m_manager;
    std::unique_ptr<zwlr_virtual_pointer_v1, Deleter<zwlr_virtual_pointer_v1, &DestroyPointer>>
        m_pointer;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<QSocketNotifier> m_writable;  // on while something waits to be written
    bool m_lost = false;
    bool m_stalled = false;  // bursts are being left out
};

}  // namespace kestrin::qt::wl
