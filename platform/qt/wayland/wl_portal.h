// Talking to the desktop portal (org.freedesktop.portal.Desktop on the session bus): its
// requests, whose answer comes later as a Response signal on a Request object, and the other
// signals it sends (a shortcut activated, a session closed).
//
// The portal knows a program by the bus connection it calls from, and settles which program
// that is at the connection's first portal call: a connection's application id can be given
// (org.freedesktop.host.portal.Registry.Register) only before any other call on it. Qt calls
// the portal on the application's shared connection on its own (the GNOME theme reads the
// portal's settings as Qt starts), so Kestrin calls on a connection of its own, where Register
// goes first and every other call waits for its answer.
//
// The portal may leave the bus (ended, crashed, updated) and be started again by the next call.
// Its sessions and requests go with it, and the new one knows nothing of Kestrin: every request
// not answered yet is then answered as failed, the owners are told (Gone), and Kestrin's
// application id is registered again before any other call reaches the new portal.
//
// A request's object path is known before the call (made of our unique name and a token of
// ours), so the Response is subscribed to first and cannot be missed.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QObject>
#include <QVariantMap>
#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

namespace kestrin::qt::wl {

class Portal final : public QObject {
    Q_OBJECT

  public:
    static constexpr const char* kService = "org.freedesktop.portal.Desktop";
    static constexpr const char* kPath = "/org/freedesktop/portal/desktop";

    // A request's answer: code 0 granted, 1 cancelled by the user, 2 anything else (refused,
    // failed, the call itself failed).
    struct Response {
        unsigned code = 2;
        QVariantMap results;
    };
    using Done = std::function<void(const Response&)>;
    using Handler = std::function<void(const QDBusMessage&)>;
    using Replied = std::function<void(const QDBusMessage& reply)>;

    // Opens Kestrin's own connection to the session bus and tells portals that know host
    // applications (xdg-desktop-portal 1.19.4 and later) our application id on it, before any
    // other call: desktops name Kestrin by it in their dialogs and keep its shortcuts and
    // permissions under it; GlobalShortcuts needs it from portal 1.21 on.
    explicit Portal(const QString& appId);
    ~Portal() override;
    Portal(const Portal&) = delete;
    Portal& operator=(const Portal&) = delete;

    QDBusConnection& Bus() { return m_bus; }

    // A token for a request's or session's handle, new with every call: "kestrin1", ...
    QString NewToken();
    // The path of the object the portal makes for a token of ours: `kind` is "request" or
    // "session".
    QString HandlePath(const QString& kind, const QString& token) const;

    // Sends `call` once the portal has Kestrin's application id; `replied` (if any) gets the
    // reply or the error, from the event loop. Never waits.
    void Call(const QDBusMessage& call, Replied replied = {});
    // Calls `method` of the portal's `interface` with `arguments`, then `options` with a new
    // handle_token; `done` gets the answer once, or code 2 (said on stderr) when the call itself
    // failed. Returns the request's path.
    QString Request(const QString& interface, const QString& method, QVariantList arguments,
                    QVariantMap options, Done done);
    // Withdraws a request not answered yet (and any dialog it put up): its `done` is not called.
    void Withdraw(const QString& request);
    // Runs `wait`, a nested event loop that ends when the answer comes; `withdraw` (any number
    // of times) withdraws the request and ends it without one.
    using Wait = std::function<void(QEventLoop& wait, const std::function<void()>& withdraw)>;
    // The same as Request, waiting for the answer at most `timeoutMs` in a nested event loop
    // that leaves the user's input queued.
    Response RequestAndWait(const QString& interface, const QString& method, QVariantList arguments,
                            QVariantMap options, int timeoutMs);
    // The same for a request the desktop answers once the user has (a dialog of its own): with
    // no limit, for as long as `wait` waits. Not answered: code 2.
    Response RequestAndAwait(const QString& interface, const QString& method,
                             QVariantList arguments, QVariantMap options, const Wait& wait);

    // Calls `gone` each time the portal has left the bus, after the requests it left unanswered
    // have been answered as failed.
    void OnGone(std::function<void()> gone) { m_gone.push_back(std::move(gone)); }
    // From `gone`: a session of ours the portal left behind. The desktop's side of the portal
    // (its backend) may still hold it, and with it the keys or the pointer: it is closed there
    // before any call reaches the next portal.
    void Orphaned(const QString& session) { m_orphans.push_back(session); }

    // Calls `handler` with every signal `member` of `interface` the portal sends on `path`,
    // until Unsubscribe. One handler per signal and path.
    bool Subscribe(const QString& path, const QString& interface, const QString& member,
                   Handler handler);
    void Unsubscribe(const QString& path, const QString& interface, const QString& member);

  private slots:
    void Received(const QDBusMessage& message);
    void OwnerChanged(const QString& name, const QString& before, const QString& after);

  private:
    using Key = std::tuple<QString, QString, QString>;  // path, interface, member
    void Register();
    // Closes the orphaned sessions in each backend on the bus, then registers.
    void CloseOrphans();
    void Send(const QDBusMessage& call, Replied replied);

    QDBusConnection m_bus;
    QString m_appId;
    QDBusServiceWatcher m_watcher;
    unsigned m_registration = 0;  // how often Register was sent: only the last one's answer counts
    bool m_registered = false;    // Register has been answered: calls go out at once
    std::vector<std::pair<QDBusMessage, Replied>> m_waiting;          // calls sent once it is
    std::vector<std::unique_ptr<QDBusPendingCallWatcher>> m_pending;  // calls not answered yet
    std::map<Key, Handler> m_handlers;
    std::vector<std::function<void()>> m_gone;
    std::vector<QString> m_orphans;
    unsigned m_tokens = 0;
};

}  // namespace kestrin::qt::wl
