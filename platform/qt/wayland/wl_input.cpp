#include "platform/qt/wayland/wl_input.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/qt/wayland/wl_bus_hot_keys.h"
#include "platform/qt/wayland/wl_hot_key_names.h"
#include "platform/qt/wayland/wl_portal.h"
#include "platform/qt/wayland/wl_portal_clicks.h"
#include "platform/qt/wayland/wl_portal_hot_keys.h"
#include "platform/qt/wayland/wl_session.h"
#include "platform/qt/wayland/wl_sway_bindings.h"
#include "platform/qt/wayland/wl_virtual_pointer.h"
#include "platform/resources.h"

namespace kestrin::qt {
namespace {

// The hot keys that start and stop the clicker, by the names they are registered under.
constexpr const char* kStartKey = "F3";
constexpr const char* kStopKey = "F4";

}  // namespace

WaylandInput::WaylandInput(wl::PortalProbe& portalProbe, HotKeyFired fire, ShowMessage show,
                           AwaitUser awaitUser, const QString& appId, std::string_view override,
                           bool debug)
    : m_fire(std::move(fire)), m_show(std::move(show)), m_debug(debug) {
    if (m_debug) {
        // Which window has the keyboard: what is typed goes there (nothing after the colon:
        // none of Kestrin's).
        QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, qGuiApp,
                         [](QWindow* window) {
                             std::fprintf(stderr, "kestrin: focus: %s\n",
                                          window ? qPrintable(window->title()) : "");
                         });
    }
    // What the session offers.
    auto pointer = std::make_unique<wl::VirtualPointer>();
    const char* swaySocket = std::getenv("SWAYSOCK");
    std::unique_ptr<wl::SwayBindings> sway;
    if (swaySocket != nullptr && *swaySocket != '\0') {
        sway = std::make_unique<wl::SwayBindings>(
            swaySocket, [this](const std::string& name) { Deliver(name); });
    }
    const bool bus = QDBusConnection::sessionBus().isConnected();
    // The portal only where it could serve: it may take a moment to start.
    const bool portalWanted = !pointer->Valid() || !(sway && sway->Valid()) ||
                              override.find("portal") != std::string_view::npos;
    const wl::PortalVersions portal =
        bus && portalWanted ? portalProbe.Versions() : wl::PortalVersions{};
    const wl::Offers offers{pointer->Valid(), sway && sway->Valid(), bus, portal.remoteDesktop != 0,
                            portal.globalShortcuts != 0};

    m_paths = wl::ChoosePaths(offers, override);
    for (const auto& problem : m_paths.problems)
        std::fprintf(stderr, "kestrin: %s\n", problem.c_str());
    if (!offers.virtualPointer && !offers.remoteDesktop) {
        std::fputs(
            "kestrin: this Wayland desktop offers neither a virtual pointer nor the portal's"
            " RemoteDesktop: Kestrin cannot click here (through XWayland, with DISPLAY set, it"
            " clicks X11 windows)\n",
            stderr);
    }
    if (m_paths.clicks == wl::ClickPath::VirtualPointer) m_pointer = std::move(pointer);
    if (m_paths.hotKeys != wl::HotKeyPath::None) {
        m_bus = std::make_unique<wl::BusHotKeys>(
            appId, [this](const std::string& name) { return Deliver(name); });
    }
    if (m_paths.hotKeys == wl::HotKeyPath::Sway) m_sway = std::move(sway);
    // A second copy, which cannot have the bus name, binds no shortcuts.
    const bool portalClicks = m_paths.clicks == wl::ClickPath::Portal;
    const bool portalKeys = m_paths.hotKeys == wl::HotKeyPath::Portal && m_bus->Owned();
    if (portalClicks || portalKeys) {
        m_portal = std::make_unique<wl::Portal>(appId);
    }
    if (portalClicks) {
        m_portalClicks = std::make_unique<wl::PortalClicks>(
            *m_portal, portal.remoteDesktop,
            [this](wl::ClicksEvent event) { ClicksChanged(event); });
    }
    if (portalKeys) {
        m_portalHotKeys = std::make_unique<wl::PortalHotKeys>(
            *m_portal, portal.globalShortcuts, [this](const std::string& name) { Deliver(name); },
            [this] { m_show(platform::IDS_HOTKEYS_LOST); }, std::move(awaitUser));
    }
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
    if (m_portalClicks) m_portalClicks->SendBurst(flags);
}

bool WaylandInput::RegisterHotKey(platform::WindowId window, int id, unsigned modifiers,
                                  unsigned vk) {
    // Without a path the key could fire only once the user sets something up: say so now.
    if (!m_bus || !m_bus->Owned()) return false;
    const auto name = wl::HotKeyName(modifiers, vk);
    if (!name) return false;
    if (Held(*name)) return false;
    if (m_sway && !m_sway->Bind(*name)) return false;
    if (m_paths.hotKeys == wl::HotKeyPath::Portal &&
        (!m_portalHotKeys || !m_portalHotKeys->Bind(*name))) {
        return false;
    }
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

void WaylandInput::ClicksChanged(wl::ClicksEvent event) {
    using Event = wl::ClicksEvent;
    switch (event) {
        case Event::Waiting:
            // Nothing clicks until the desktop lets us: the clicker stops (and counts
            // nothing meanwhile), and starts again once the session runs.
            m_resume = true;
            Fire(kStopKey);
            return;
        case Event::Granted:
            if (std::exchange(m_resume, false)) Fire(kStartKey);
            return;
        case Event::Refused:
        case Event::Closed: {
            m_resume = false;
            // A refused session never clicked: the start key was held back.
            if (event == Event::Closed) Fire(kStopKey);
            const int text = event == Event::Refused ? platform::IDS_CLICKS_REFUSED
                                                     : platform::IDS_CLICKS_CLOSED;
            // Out of the bus's signal handler before the message box's loop runs; after the
            // stop key, which a message box up would swallow.
            QTimer::singleShot(0, m_portal.get(), [this, text] { m_show(text); });
            return;
        }
    }
}

bool WaylandInput::Deliver(const std::string& name) {
    // The start key while the desktop has not let Kestrin click: it is held back, and the
    // desktop asked, so that nothing starts (nor counts) before the desktop's answer; the key
    // reaches the window once the clicks can go. The user's stop key: a session granted later
    // does not start the clicker.
    if (m_portalClicks && name == kStartKey && !m_portalClicks->Running()) {
        m_resume = Held(name);
        if (m_resume) m_portalClicks->Ask();
        return m_resume;
    }
    if (name == kStopKey) m_resume = false;
    return Fire(name);
}

bool WaylandInput::Held(const std::string& name) const {
    return std::any_of(m_registrations.begin(), m_registrations.end(),
                       [&](const Registration& r) { return r.name == name; });
}

bool WaylandInput::Fire(const std::string& name) {
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

void NameApplication() {
    QGuiApplication::setDesktopFileName(QStringLiteral(KESTRIN_APP_ID));
}

std::unique_ptr<InputLayer> CreateWaylandInput(wl::PortalProbe& portal,
                                               InputLayer::HotKeyFired fire,
                                               InputLayer::ShowMessage show,
                                               InputLayer::AwaitUser awaitUser) {
    const QString appId = QStringLiteral(KESTRIN_APP_ID);
    const char* override = std::getenv("KESTRIN_INPUT");
    const char* debug = std::getenv("KESTRIN_DEBUG");
    auto layer = std::make_unique<WaylandInput>(
        portal, std::move(fire), std::move(show), std::move(awaitUser), appId,
        override != nullptr ? override : "", debug != nullptr && std::string_view(debug) == "1");
    return layer;
}

}  // namespace kestrin::qt
