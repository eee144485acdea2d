#include "platform/qt/wayland/wl_input.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/wayland/wl_bus_hot_keys.h"
#include "platform/qt/wayland/wl_hot_key_names.h"
#include "platform/qt/wayland/wl_sway_bindings.h"
#include "platform/qt/wayland/wl_virtual_pointer.h"

namespace kestrin::qt {

WaylandInput::WaylandInput(HotKeyFired fire, const QString& appId, std::string_view override,
                           bool debug)
    : m_fire(std::move(fire)), m_debug(debug) {
    // What the session offers.
    auto pointer = std::make_unique<wl::VirtualPointer>();
    const char* swaySocket = std::getenv("SWAYSOCK");
    std::unique_ptr<wl::SwayBindings> sway;
    if (swaySocket != nullptr && *swaySocket != '\0') {
        sway = std::make_unique<wl::SwayBindings>(
            swaySocket, [this](const std::string& name) { Deliver(name); });
    }
    const wl::Offers offers{pointer->Valid(), sway && sway->Valid(),
                            QDBusConnection::sessionBus().isConnected()};

    m_paths = wl::ChoosePaths(offers, override);
    for (const auto& problem : m_paths.problems)
        std::fprintf(stderr, "kestrin: %s\n", problem.c_str());
    if (!offers.virtualPointer) {
        std::fputs(
            "kestrin: this Wayland desktop offers no virtual pointer: Kestrin cannot click"
            " here (through XWayland, with DISPLAY set, it clicks X11 windows)\n",
            stderr);
    }
    if (m_paths.clicks == wl::ClickPath::VirtualPointer) m_pointer = std::move(pointer);
    if (m_paths.hotKeys != wl::HotKeyPath::None) {
        m_bus = std::make_unique<wl::BusHotKeys>(
            appId, [this](const std::string& name) { return Deliver(name); });
    }
    if (m_paths.hotKeys == wl::HotKeyPath::Sway) m_sway = std::move(sway);
}

WaylandInput::~WaylandInput() = default;

std::string WaylandInput::Describe() const {
    std::string text = "wayland: clicks=" + std::string(wl::Name(m_paths.clicks)) +
                       " hotkeys=" + std::string(wl::Name(m_paths.hotKeys));
    if (m_bus && !m_bus->Owned()) text += " (the bus name is taken: another copy holds the keys)";
    return text;
}

void WaylandInput::SendBurst(std::span<const std::uint32_t> flags) {
    if (m_pointer) m_pointer->SendBurst(flags);
}

bool WaylandInput::RegisterHotKey(platform::WindowId window, int id, unsigned modifiers,
                                  unsigned vk) {
    // Without a path the key could fire only once the user sets something up: say so now.
    if (!m_bus || !m_bus->Owned()) return false;
    const auto name = wl::HotKeyName(modifiers, vk);
    if (!name) return false;
    const bool taken = std::any_of(m_registrations.begin(), m_registrations.end(),
                                   [&](const Registration& r) { return r.name == *name; });
    if (taken) return false;
    if (m_sway && !m_sway->Bind(*name)) return false;
    m_registrations.push_back({window, id, *name});
    return true;
}

void WaylandInput::ReleaseHotKeys(platform::WindowId window) {
    std::erase_if(m_registrations, [&](const Registration& r) {
        if (r.window != window) return false;
        if (m_sway) m_sway->Unbind(r.name);
        return true;
    });
}

bool WaylandInput::Deliver(const std::string& name) {
    for (const auto& r : m_registrations) {
        if (r.name == name) {
            m_fire(r.window, r.id);
            return true;
        }
    }
    return false;
}

bool WaylandInput::GetPointer(platform::Point&) {
    return false;
}

bool WaylandInput::SetPointer(platform::Point) {
    return false;
}

void WaylandInput::PublishWindowText(QWidget&, const QString& text) {
    if (m_debug) std::fprintf(stderr, "kestrin: text: %s\n", qPrintable(text));
}

void WaylandInput::PublishControlText(QWidget&, int controlId, const QString& text) {
    if (m_debug) std::fprintf(stderr, "kestrin: text %d: %s\n", controlId, qPrintable(text));
}

std::unique_ptr<InputLayer> CreateWaylandInput(QGuiApplication& app, InputLayer::HotKeyFired fire) {
    const QString appId = QStringLiteral(KESTRIN_APP_ID);
    app.setDesktopFileName(appId);
    const char* override = std::getenv("KESTRIN_INPUT");
    const char* debug = std::getenv("KESTRIN_DEBUG");
    auto layer =
        std::make_unique<WaylandInput>(std::move(fire), appId, override != nullptr ? override : "",
                                       debug != nullptr && std::string_view(debug) == "1");
    return layer;
}

}  // namespace kestrin::qt
