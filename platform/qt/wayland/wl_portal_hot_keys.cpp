#include "platform/qt/wayland/wl_portal_hot_keys.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <utility>

namespace kestrin::qt::wl {

// One shortcut as the portal passes it: (s id, a{sv} properties).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

// Found by argument-dependent lookup when Qt marshals the type.
QDBusArgument& operator<<(QDBusArgument& out, const PortalShortcut& shortcut) {
    out.beginStructure();
    out << shortcut.id << shortcut.properties;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, PortalShortcut& shortcut) {
    in.beginStructure();
    in >> shortcut.id >> shortcut.properties;
    in.endStructure();
    return in;
}

}  // namespace kestrin::qt::wl

Q_DECLARE_METATYPE(kestrin::qt::wl::PortalShortcut)

namespace kestrin::qt::wl {
namespace {

constexpr const char* kInterface = "org.freedesktop.portal.GlobalShortcuts";
constexpr const char* kSessionInterface = "org.freedesktop.portal.Session";
// For the calls that need no user; the dialog of BindShortcuts waits for the user's answer
// (or for the desktop to close it, or the portal to leave the bus), however long it takes.
constexpr int kCallTimeoutMs = 20000;

struct Shortcut {
    const char* id;
    const char* key;  // the preferred trigger, and the hot key it stands for
    const char* description;
};
constexpr std::array<Shortcut, 2> kShortcuts = {{
    {"start", "F3", "开始自动点击"},
    {"stop", "F4", "停止自动点击"},
}};

}  // namespace

PortalHotKeys::PortalHotKeys(Portal& portal, unsigned version, Pressed pressed, Lost lost,
                             Portal::Wait awaitUser)
    : m_portal(portal),
      m_version(version),
      m_pressed(std::move(pressed)),
      m_lost(std::move(lost)),
      m_awaitUser(std::move(awaitUser)) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    // The shortcuts' session went with the portal: bound again in the next one. A first bind
    // still waiting fails on its own, and says so.
    m_portal.OnGone([this] {
        const QString session = Ended();
        if (session.isEmpty()) return;
        m_portal.Orphaned(session);
        if (m_bound) QTimer::singleShot(0, &m_portal, [this] { BindAgain(); });
    });
}

QString PortalHotKeys::Ended() {
    if (m_session.isEmpty()) return {};
    m_portal.Unsubscribe(Portal::kPath, kInterface, "Activated");
    m_portal.Unsubscribe(m_session, kSessionInterface, "Closed");
    return std::exchange(m_session, {});
}

void PortalHotKeys::BindAgain() {
    const std::set<QString> had = m_bound.value_or(std::set<QString>{});
    m_bound = BindAll();
    if (!std::ranges::includes(*m_bound, had)) m_lost();
}

PortalHotKeys::~PortalHotKeys() {
    const QString session = Ended();
    if (session.isEmpty()) return;
    m_portal.Call(
        QDBusMessage::createMethodCall(Portal::kService, session, kSessionInterface, "Close"));
}

bool PortalHotKeys::Bind(const std::string& key) {
    if (!m_bound) m_bound = BindAll();
    for (const Shortcut& shortcut : kShortcuts) {
        if (key == shortcut.key) return m_bound->contains(shortcut.id);
    }
    return false;
}

std::set<QString> PortalHotKeys::BindAll() {
    std::set<QString> ids = Ask();
    // Said each time: a user (or a test) can tell when F3 works again after the portal restarted.
    std::string names;
    for (const QString& id : ids) names.append(" ").append(id.toStdString());
    if (!ids.empty()) std::fprintf(stderr, "kestrin: portal: shortcuts bound:%s\n", names.c_str());
    return ids;
}

std::set<QString> PortalHotKeys::Ask() {
    QList<PortalShortcut> wanted;
    for (const Shortcut& shortcut : kShortcuts) {
        wanted.append({shortcut.id,
                       {{"description", QString::fromUtf8(shortcut.description)},
                        {"preferred_trigger", shortcut.key}}});
    }
    const QString token = m_portal.NewToken();
    const QString session = m_portal.HandlePath("session", token);
    // Plasma 5.27 binds the shortcuts given with the session (newer portals drop that option).
    const auto created = m_portal.RequestAndWait(
        kInterface, "CreateSession", {},
        {{"session_handle_token", token}, {"shortcuts", QVariant::fromValue(wanted)}},
        kCallTimeoutMs);
    if (created.code != 0) {
        std::fprintf(stderr, "kestrin: portal: no GlobalShortcuts session (%u)\n", created.code);
        return {};
    }
    m_session = session;
    m_portal.Subscribe(Portal::kPath, kInterface, "Activated",
                       [this](const QDBusMessage& message) { Activated(message); });
    // The desktop ended the session on purpose: the keys are gone, and the user hears so
    // (binding them again could only fight the desktop).
    m_portal.Subscribe(session, kSessionInterface, "Closed", [this](const QDBusMessage&) {
        std::fputs("kestrin: portal: the desktop closed the shortcuts' session\n", stderr);
        if (!Ended().isEmpty() && m_bound && !m_bound->empty()) {
            QTimer::singleShot(0, &m_portal, m_lost);
        }
    });
    // Bound with the session (Plasma 5.27).
    if (const auto ids = IdsIn(created.results); ids.size() == kShortcuts.size()) return ids;
    // Known from an earlier run, where BindShortcuts would only open Plasma's settings page
    // again (Plasma 6.0 to 6.3, whose portal is version 1; they restore the keys with the
    // session). Later desktops ask nothing for shortcuts they know, and Plasma 6.7.4 and later
    // make them work only once they are bound again.
    if (m_version < 2) {
        const auto listed = m_portal.RequestAndWait(kInterface, "ListShortcuts",
                                                    {QVariant::fromValue(QDBusObjectPath(session))},
                                                    {}, kCallTimeoutMs);
        if (const auto ids = IdsIn(listed.results);
            listed.code == 0 && ids.size() == kShortcuts.size()) {
            return ids;
        }
    }

    const auto bound = m_portal.RequestAndAwait(
        kInterface, "BindShortcuts",
        {QVariant::fromValue(QDBusObjectPath(session)), QVariant::fromValue(wanted), QString()}, {},
        m_awaitUser);
    // GNOME's backend (48) answers a successful bind without setting the response code: the
    // shortcuts it returns say it succeeded.
    if (bound.code != 0 && !bound.results.contains("shortcuts")) {
        std::fprintf(stderr, "kestrin: portal: the shortcuts were not bound (%u)\n", bound.code);
        return {};
    }
    return IdsIn(bound.results);
}

std::set<QString> PortalHotKeys::IdsIn(const QVariantMap& results) {
    std::set<QString> ids;
    for (const auto& shortcut : qdbus_cast<QList<PortalShortcut>>(results.value("shortcuts"))) {
        // A shortcut the user gave no key (Plasma keeps those the user declined so) is not bound.
        const auto trigger = shortcut.properties.find("trigger_description");
        if (trigger == shortcut.properties.end() || !trigger->toString().isEmpty())
            ids.insert(shortcut.id);
    }
    return ids;
}

void PortalHotKeys::Activated(const QDBusMessage& message) {
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2 || qdbus_cast<QDBusObjectPath>(arguments[0]).path() != m_session) {
        return;  // another program's session
    }
    const QString id = arguments[1].toString();
    for (const Shortcut& shortcut : kShortcuts) {
        if (id == shortcut.id) m_pressed(shortcut.key);
    }
}

}  // namespace kestrin::qt::wl
