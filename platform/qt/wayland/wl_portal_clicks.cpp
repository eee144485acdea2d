#include "platform/qt/wayland/wl_portal_clicks.h"

#include <fcntl.h>
#include <linux/input-event-codes.h>

#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QTimer>
#include <cstdio>
#include <utility>

#include "platform/qt/input_layer.h"
#include "platform/qt/wayland/wl_eis_sender.h"

namespace kestrin::qt::wl {
namespace {

constexpr const char* kInterface = "org.freedesktop.portal.RemoteDesktop";
constexpr const char* kSessionInterface = "org.freedesktop.portal.Session";
constexpr unsigned kPointer = 2;           // device type
constexpr unsigned kPersistWhileRuns = 1;  // persist_mode, from version 2
constexpr unsigned kPressed = 1;
constexpr unsigned kReleased = 0;
// A call's round trip takes well under a millisecond; a portal that takes this long is gone.
constexpr int kCallTimeoutMs = 1000;

}  // namespace

PortalClicks::PortalClicks(Portal& portal, unsigned version, Report report)
    : m_portal(portal), m_version(version), m_report(std::move(report)) {
    // The session went with the portal: as if the desktop had ended it.
    m_portal.OnGone([this] {
        if (m_state == State::Idle) return;
        m_portal.Unsubscribe(m_session, kSessionInterface, "Closed");
        m_portal.Orphaned(std::exchange(m_session, {}));
        Fail(m_state == State::Running ? Event::Closed : Event::Refused);
    });
}

PortalClicks::~PortalClicks() {
    Close();
}

void PortalClicks::SendBurst(std::span<const std::uint32_t> flags) {
    if (m_state == State::Running) {
        if (m_eis ? m_eis->SendBurst(flags) : Notify(flags)) return;
        // NotifyPointerButton failed (and the session was ended), or the desktop paused
        // the EIS device for a while.
        if (m_state != State::Running) return;
    }
    m_report(Event::Waiting);
}

bool PortalClicks::Notify(std::span<const std::uint32_t> flags) {
    const QDBusObjectPath session(m_session);
    for (const std::uint32_t flag : flags) {
        const auto event = ButtonEventOf(flag);
        if (!event) continue;
        const int button = event->right ? BTN_RIGHT : BTN_LEFT;
        const unsigned state = event->pressed ? kPressed : kReleased;
        QDBusMessage call = QDBusMessage::createMethodCall(Portal::kService, Portal::kPath,
                                                           kInterface, "NotifyPointerButton");
        call.setArguments({QVariant::fromValue(session), QVariantMap(), button, state});
        // Each event waits for its reply before the next goes: the portal hands calls to
        // threads of its own, so a release sent right behind its press could overtake it
        // and leave the button down.
        const QDBusMessage reply = m_portal.Bus().call(call, QDBus::Block, kCallTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage) {
            std::fprintf(stderr, "kestrin: portal: a click failed: %s\n",
                         qPrintable(reply.errorMessage()));
            Fail(Event::Closed);
            return false;
        }
    }
    return true;
}

void PortalClicks::Ask() {
    if (m_state != State::Idle) return;
    std::fputs("kestrin: portal: asking the desktop to let Kestrin click\n", stderr);
    const QString token = m_portal.NewToken();
    m_session = m_portal.HandlePath("session", token);
    m_state = State::Asking;
    // The desktop may end the session at any time (the user stopped the sharing).
    m_portal.Subscribe(m_session, kSessionInterface, "Closed", [this](const QDBusMessage&) {
        m_portal.Unsubscribe(m_session, kSessionInterface, "Closed");
        m_session.clear();
        Fail(m_state == State::Running ? Event::Closed : Event::Refused);
    });
    m_request = m_portal.Request(kInterface, "CreateSession", {}, {{"session_handle_token", token}},
                                 [this](const Portal::Response& r) { Created(r); });
}

void PortalClicks::Created(const Portal::Response& response) {
    if (response.code != 0) return Fail(Event::Refused);
    QVariantMap options{{"types", kPointer}};
    if (m_version >= 2) options.insert("persist_mode", kPersistWhileRuns);
    m_request = m_portal.Request(kInterface, "SelectDevices",
                                 {QVariant::fromValue(QDBusObjectPath(m_session))}, options,
                                 [this](const Portal::Response& r) { DevicesSelected(r); });
}

void PortalClicks::DevicesSelected(const Portal::Response& response) {
    if (response.code != 0) return Fail(Event::Refused);
    // The consent dialog: its answer comes when the user gives it.
    m_request = m_portal.Request(kInterface, "Start",
                                 {QVariant::fromValue(QDBusObjectPath(m_session)), QString()}, {},
                                 [this](const Portal::Response& r) { Started(r); });
}

void PortalClicks::Started(const Portal::Response& response) {
    m_request.clear();
    // The user may grant other devices than the pointer asked for.
    if (response.code != 0 || (response.results.value("devices").toUInt() & kPointer) == 0) {
        return Fail(Event::Refused);
    }
    ConnectEis();
}

void PortalClicks::ConnectEis() {
    if (m_version < 2 || !EisSupported()) return Run();
    QDBusMessage call =
        QDBusMessage::createMethodCall(Portal::kService, Portal::kPath, kInterface, "ConnectToEIS");
    call.setArguments({QVariant::fromValue(QDBusObjectPath(m_session)), QVariantMap()});
    m_portal.Call(call, [this, session = m_session](const QDBusMessage& reply) {
        if (session != m_session) return;  // that session has gone meanwhile
        const auto socket = reply.arguments().value(0).value<QDBusUnixFileDescriptor>();
        if (reply.type() != QDBusMessage::ReplyMessage || !socket.isValid()) {
            std::fprintf(stderr,
                         "kestrin: portal: no EIS connection (%s): clicks go through"
                         " NotifyPointerButton\n",
                         qPrintable(reply.errorMessage()));
            return Run();
        }
        // Ours, not inherited by child processes: the reply's copy closes with it.
        UniqueFd fd(::fcntl(socket.fileDescriptor(), F_DUPFD_CLOEXEC, 0));
        // Through EIS the session runs once the device is ready.
        m_eis = CreateEisSender(
            std::move(fd), {[this] { Run(); },
                            [this] {
                                // Ended later: this is the sender's own call.
                                QTimer::singleShot(0,
                                                   [dead = std::shared_ptr(std::move(m_eis))] {});
                                Fail(m_state == State::Running ? Event::Closed : Event::Refused);
                            }});
        if (!m_eis) Fail(Event::Refused);
    });
}

void PortalClicks::Run() {
    if (m_state != State::Running) {
        std::fprintf(stderr, "kestrin: portal: the session runs; clicks through %s\n",
                     m_eis ? "EIS" : "NotifyPointerButton");
    }
    m_state = State::Running;
    m_report(Event::Granted);
}

void PortalClicks::Fail(Event event) {
    Close();
    m_report(event);
}

void PortalClicks::Close() {
    m_state = State::Idle;
    m_eis.reset();
    // An answer still to come would land on the next attempt's session.
    if (!m_request.isEmpty()) m_portal.Withdraw(std::exchange(m_request, {}));
    if (m_session.isEmpty()) return;
    m_portal.Unsubscribe(m_session, kSessionInterface, "Closed");
    m_portal.Call(
        QDBusMessage::createMethodCall(Portal::kService, m_session, kSessionInterface, "Close"));
    m_session.clear();
}

}  // namespace kestrin::qt::wl
