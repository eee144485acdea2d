// Talking to the desktop portal (org.freedesktop.portal.Desktop on the session bus): its
// requests, whose answer comes later as a Response signal on a Request object, and the other
// signals it sends (a shortcut activated, a session closed).
//
// A request's object path is known before the call (made of our unique name and a token of
// ours), so the Response is subscribed to first and cannot be missed.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QVariantMap>
#include <functional>
#include <map>
#include <tuple>

namespace kestrin::qt::wl {

class Portal final : public QObject {
    Q_OBJECT

  public:
    static constexpr const char* kService = "org.freedesktop.portal.Desktop";
    static constexpr const char* kPath = "/org/freedesktop/portal/desktop";

    // A request's answer: code 0 granted, 1 cancelled by the user, 2 anything else (refused,
    // failed, no answer in time).
    struct Response {
        unsigned code = 2;
        QVariantMap results;
    };
    using Done = std::function<void(const Response&)>;
    using Handler = std::function<void(const QDBusMessage&)>;

    // Tells portals that know host applications (xdg-desktop-portal 1.19.4 and later) our
    // application id, before any request: desktops name Kestrin by it in their dialogs, and
    // some bind shortcuts only for a known application.
    Portal(QDBusConnection bus, const QString& appId);
    ~Portal() override;
    Portal(const Portal&) = delete;
    Portal& operator=(const Portal&) = delete;

    QDBusConnection& Bus() { return m_bus; }

    // A token for a request's or session's handle, new with every call: "kestrin1", ...
    QString NewToken();
    // The path of the object the portal makes for a token of ours: `kind` is "request" or
    // "session".
    QString HandlePath(const QString& kind, const QString& token) const;

    // Calls `method` of the portal's `interface` with `arguments`, then `options` with a new
    // handle_token; `done` gets the answer. Returns the request's path; empty (said on stderr)
    // when the call itself failed, and `done` is then never called.
    QString Request(const QString& interface, const QString& method, QVariantList arguments,
                    QVariantMap options, Done done);
    // The same, waiting for the answer at most `timeoutMs` in a nested event loop that leaves
    // the user's input queued.
    Response RequestAndWait(const QString& interface, const QString& method, QVariantList arguments,
                            QVariantMap options, int timeoutMs);

    // Calls `handler` with every signal `member` of `interface` the portal sends on `path`,
    // until Unsubscribe. One handler per signal and path.
    bool Subscribe(const QString& path, const QString& interface, const QString& member,
                   Handler handler);
    void Unsubscribe(const QString& path, const QString& interface, const QString& member);

  private slots:
    void Received(const QDBusMessage& message);

  private:
    using Key = std::tuple<QString, QString, QString>;  // path, interface, member

    QDBusConnection m_bus;
    std::map<Key, Handler> m_handlers;
    unsigned m_tokens = 0;
};

}  // namespace kestrin::qt::wl
