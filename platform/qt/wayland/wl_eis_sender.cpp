#include "platform/qt/wayland/wl_eis_sender.h"

#include <libei.h>
#include <linux/input-event-codes.h>

#include <QSocketNotifier>
#include <cstdio>

#include "platform/qt/input_layer.h"

namespace kestrin::qt::wl {
namespace {

struct EiUnref {
    void operator()(ei* context) const { ei_unref(context); }
};
struct DeviceUnref {
    void operator()(ei_device* device) const { ei_device_unref(device); }
};
struct EventUnref {
    void operator()(ei_event* event) const { ei_event_unref(event); }
};
using EiPtr = std::unique_ptr<ei, EiUnref>;
using DevicePtr = std::unique_ptr<ei_device, DeviceUnref>;
using EventPtr = std::unique_ptr<ei_event, EventUnref>;

class LibeiSender final : public EisSender {
  public:
    LibeiSender(EiPtr context, Events events)
        : m_ei(std::move(context)),
          m_events(std::move(events)),
          m_notifier(ei_get_fd(m_ei.get()), QSocketNotifier::Read) {
        QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { Dispatch(); });
    }

    ~LibeiSender() override {
        if (!m_device) return;
        if (m_emulating) {
            // A button still down would stay down: let it go first.
            if (m_leftHeld) Send(BTN_LEFT, false);
            if (m_rightHeld) Send(BTN_RIGHT, false);
            ei_device_stop_emulating(m_device.get());
        }
        m_device.reset();
        ei_disconnect(m_ei.get());
    }

    bool SendBurst(std::span<const std::uint32_t> flags) override {
        // What the desktop said since (a pause, the end), even if its socket has not woken us.
        if (!Dispatch() || !m_emulating) return false;
        for (const std::uint32_t flag : flags) {
            const auto event = ButtonEventOf(flag);
            if (event) Send(event->right ? BTN_RIGHT : BTN_LEFT, event->pressed);
        }
        // A write that failed ends the connection inside libei: it queues the end and stops
        // watching the socket, so nothing else would ever tell us.
        return HandleEvents() && m_emulating;
    }

  private:
    void Send(unsigned code, bool pressed) {
        ei_device_button_button(m_device.get(), code, pressed);
        ei_device_frame(m_device.get(), ei_now(m_ei.get()));
        (code == BTN_RIGHT ? m_rightHeld : m_leftHeld) = pressed;
    }

    // Reads what the desktop sent and handles it; false once the connection is lost.
    bool Dispatch() {
        ei_dispatch(m_ei.get());
        return HandleEvents();
    }

    // Handles the events libei has queued; once the connection is lost, tells the owner and
    // gives false.
    bool HandleEvents() {
        for (bool connected = true; connected;) {
            const EventPtr event{ei_get_event(m_ei.get())};
            if (!event) return true;
            connected = Handle(event.get());
        }
        // Last, as the owner may end this object when told.
        m_events.lost();
        return false;
    }

    // False once the connection is lost.
    bool Handle(ei_event* event) {
        switch (ei_event_get_type(event)) {
            case EI_EVENT_SEAT_ADDED:
                // A pointer with buttons: buttons alone make no device.
                ei_seat_bind_capabilities(ei_event_get_seat(event), EI_DEVICE_CAP_POINTER,
                                          EI_DEVICE_CAP_BUTTON, nullptr);
                break;
            case EI_EVENT_DEVICE_ADDED: {
                ei_device* device = ei_event_get_device(event);
                if (!m_device && ei_device_has_capability(device, EI_DEVICE_CAP_BUTTON)) {
                    m_device.reset(ei_device_ref(device));
                }
                break;
            }
            case EI_EVENT_DEVICE_RESUMED:
                if (ei_event_get_device(event) == m_device.get() && !m_emulating) {
                    ei_device_start_emulating(m_device.get(), ++m_sequence);
                    m_emulating = true;
                    m_events.ready();
                }
                break;
            case EI_EVENT_DEVICE_PAUSED:
                if (ei_event_get_device(event) == m_device.get()) m_emulating = false;
                break;
            case EI_EVENT_DEVICE_REMOVED:
            case EI_EVENT_DISCONNECT:
                if (ei_event_get_type(event) == EI_EVENT_DEVICE_REMOVED &&
                    ei_event_get_device(event) != m_device.get()) {
                    break;
                }
                std::fputs("kestrin: eis: the desktop ended the input connection\n", stderr);
                m_emulating = false;
                m_device.reset();
                m_notifier.setEnabled(false);
                return false;
            default:
                break;
        }
        return true;
    }

    EiPtr m_ei;
    Events m_events;
    QSocketNotifier m_notifier;
    DevicePtr m_device;
    bool m_emulating = false;
    std::uint32_t m_sequence = 0;
    bool m_leftHeld = false;
    bool m_rightHeld = false;
};

}  // namespace

bool EisSupported() {
    return true;
}

std::unique_ptr<EisSender> CreateEisSender(UniqueFd socket, EisSender::Events events) {
    EiPtr context{ei_new_sender(nullptr)};
    if (!socket.Valid() || !context) {
        std::fputs("kestrin: eis: cannot set up a connection\n", stderr);
        return nullptr;
    }
    ei_configure_name(context.get(), "Kestrin");
    // libei owns the descriptor from here.
    const int error = ei_setup_backend_fd(context.get(), socket.Release());
    if (error != 0) {
        std::fprintf(stderr, "kestrin: eis: cannot connect: error %d\n", -error);
        return nullptr;
    }
    return std::make_unique<LibeiSender>(std::move(context), std::move(events));
}

}  // namespace kestrin::qt::wl
