#include "platform/qt/wayland/wl_portal.h"

#include <QDBusArgument>
#include <QDBusPendingCall>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace kestrin::qt::wl {
namespace {

constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";
constexpr const char* kConnectionName = "kestrin-portal";
// The portal answers a call without the user (whose answer comes later, as a Response), at once
// unless it is busy: a busy portal (a loaded machine, a desktop still starting) is waited for
// as long as the bus waits by default. Nothing waits on the call meanwhile.
constexpr int kCallTimeoutMs = 25000;

}  // namespace

Portal::Portal(const QString& appId)
    : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnectionName)),
      m_appId(appId),
      m_watcher(kService, m_bus, QDBusServiceWatcher::WatchForOwnerChange) {
    connect(&m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &Portal::OwnerChanged);
    Register();
}

void Portal::OwnerChanged(const QString&, const QString& before, const QString&) {
    if (before.isEmpty()) return;  // started: by our Register, or it finds nothing of ours
    std::fputs("kestrin: portal: the desktop portal left the bus\n", stderr);
    m_registered = false;
    ++m_registration;  // an answer from the last portal no longer counts
    std::vector<Handler> unanswered;
    for (const auto& [key, handler] : m_handlers) {
        if (std::get<2>(key) == "Response") unanswered.push_back(handler);
    }
    for (const auto& handler : unanswered) handler(QDBusMessage());  // answered as failed
    for (const auto& gone : m_gone) gone();
    CloseOrphans();  // then Register, first on this connection to the next portal
}

void Portal::CloseOrphans() {
    if (m_orphans.empty()) return Register();
    const auto list = QDBusMessage::createMethodCall(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ListNames");
    Send(list, [this, orphans = std::exchange(m_orphans, {}),
                registration = m_registration](const QDBusMessage& names) {
        if (registration != m_registration) return;  // that portal has gone too
        auto closing = std::make_shared<std::size_t>(0);
        for (const QString& name : names.arguments().value(0).toStringList()) {
            if (!name.startsWith("org.freedesktop.impl.portal.desktop.")) continue;
            for (const QString& session : orphans) {
                ++*closing;
                // Whatever the answer (most backends never had that session): on to the next.
                Send(QDBusMessage::createMethodCall(name, session,
                                                    "org.freedesktop.impl.portal.Session", "Close"),
                     [this, closing, registration](const QDBusMessage&) {
                         if (--*closing == 0 && registration == m_registration) Register();
                     });
            }
        }
        if (*closing == 0) Register();
    });
}

Portal::~Portal() {
    for (const auto& [key, handler] : m_handlers) {
        const auto& [path, interface, member] = key;
        m_bus.disconnect(kService, path, interface, member, this, SLOT(Received(QDBusMessage)));
    }
    m_pending.clear();
    QDBusConnection::disconnectFromBus(kConnectionName);
}

void Portal::Register() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, "org.freedesktop.host.portal.Registry", "Register");
    call.setArguments({m_appId, QVariantMap()});
    Send(call, [this, registration = ++m_registration](const QDBusMessage& reply) {
        if (registration != m_registration) return;  // a portal that has gone since
        // Older portals have no registry: they take the id from elsewhere or do without.
        if (reply.type() == QDBusMessage::ErrorMessage &&
            reply.errorName() != "org.freedesktop.DBus.Error.UnknownMethod" &&
            reply.errorName() != "org.freedesktop.DBus.Error.UnknownInterface") {
            std::fprintf(stderr, "kestrin: portal: cannot register the application id: %s\n",
                         qPrintable(reply.errorMessage()));
        }
        m_registered = true;
        for (auto& [waiting, replied] : std::exchange(m_waiting, {}))
            Send(waiting, std::move(replied));
    });
}

void Portal::Call(const QDBusMessage& call, Replied replied) {
    if (m_registered) {
        Send(call, std::move(replied));
    } else {
        m_waiting.emplace_back(call, std::move(replied));
    }
}

void Portal::Send(const QDBusMessage& call, Replied replied) {
    if (!replied) {
        m_bus.send(call);
        return;
    }
    auto& watcher = m_pending.emplace_back(
        std::make_unique<QDBusPendingCallWatcher>(m_bus.asyncCall(call, kCallTimeoutMs)));
    connect(watcher.get(), &QDBusPendingCallWatcher::finished, this,
            [this, replied = std::move(replied)](QDBusPendingCallWatcher* done) {
                const auto it = std::ranges::find_if(
                    m_pending, [done](const auto& w) { return w.get() == done; });
                // Ended later: this is the watcher's own signal.
                QTimer::singleShot(0, [ended = std::shared_ptr(std::move(*it))] {});
                m_pending.erase(it);
                replied(done->reply());
            });
}

QString Portal::NewToken() {
    return QStringLiteral("kestrin%1").arg(++m_tokens);
}

QString Portal::HandlePath(const QString& kind, const QString& token) const {
    // The unique name ":1.42" becomes "1_42".
    QString sender = m_bus.baseService().mid(1);
    sender.replace('.', '_');
    return QStringLiteral("%1/%2/%3/%4").arg(kPath, kind, sender, token);
}

QString Portal::Request(const QString& interface, const QString& method, QVariantList arguments,
                        QVariantMap options, Done done) {
    const QString token = NewToken();
    const QString path = HandlePath("request", token);
    auto answered = std::make_shared<Done>(std::move(done));
    if (!Subscribe(path, kRequestInterface, "Response",
                   [this, path, answered](const QDBusMessage& message) {
                       Unsubscribe(path, kRequestInterface, "Response");
                       Response response;
                       const QVariantList answer = message.arguments();
                       if (answer.size() == 2) {
                           response.code = answer[0].toUInt();
                           response.results = qdbus_cast<QVariantMap>(answer[1]);
                       }
                       (*answered)(response);
                   })) {
        std::fprintf(stderr, "kestrin: portal: cannot hear the answer to %s\n", qPrintable(method));
        QTimer::singleShot(0, this, [answered] { (*answered)({}); });
        return path;
    }
    options.insert("handle_token", token);
    arguments.append(options);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, interface, method);
    call.setArguments(arguments);
    Call(call, [this, path, answered, interface, method](const QDBusMessage& reply) {
        // Withdrawn meanwhile, or already answered: nobody waits for it.
        if (reply.type() == QDBusMessage::ReplyMessage ||
            !m_handlers.contains({path, kRequestInterface, "Response"})) {
            return;
        }
        Unsubscribe(path, kRequestInterface, "Response");
        std::fprintf(stderr, "kestrin: portal: %s.%s failed: %s\n", qPrintable(interface),
                     qPrintable(method), qPrintable(reply.errorMessage()));
        (*answered)({});
    });
    return path;
}

void Portal::Withdraw(const QString& request) {
    if (!m_handlers.contains({request, kRequestInterface, "Response"})) return;
    Unsubscribe(request, kRequestInterface, "Response");
    Call(QDBusMessage::createMethodCall(kService, request, kRequestInterface, "Close"));
}

Portal::Response Portal::RequestAndWait(const QString& interface, const QString& method,
                                        QVariantList arguments, QVariantMap options,
                                        int timeoutMs) {
    return RequestAndAwait(interface, method, std::move(arguments), std::move(options),
                           [&](QEventLoop& wait, const std::function<void()>& withdraw) {
                               QTimer::singleShot(timeoutMs, &wait, [&] {
                                   // Nobody answered in time: withdrawn (with any dialog).
                                   std::fprintf(stderr,
                                                "kestrin: portal: no answer to %s within %d ms\n",
                                                qPrintable(method), timeoutMs);
                                   withdraw();
                               });
                               wait.exec(QEventLoop::ExcludeUserInputEvents);
                           });
}

Portal::Response Portal::RequestAndAwait(const QString& interface, const QString& method,
                                         QVariantList arguments, QVariantMap options,
                                         const Wait& wait) {
    Response response;
    bool answered = false;
    QEventLoop loop;
    const QString path = Request(interface, method, std::move(arguments), std::move(options),
                                 [&](const Response& answer) {
                                     response = answer;
                                     answered = true;
                                     loop.quit();
                                 });
    const auto withdraw = [&] {
        Withdraw(path);
        loop.quit();
    };
    if (!answered) wait(loop, withdraw);
    // However the wait ended, an answer that has not come is not waited for any more.
    if (!answered) Withdraw(path);
    return response;
}

bool Portal::Subscribe(const QString& path, const QString& interface, const QString& member,
                       Handler handler) {
    if (!m_bus.connect(kService, path, interface, member, this, SLOT(Received(QDBusMessage)))) {
        return false;
    }
    m_handlers[{path, interface, member}] = std::move(handler);
    return true;
}

void Portal::Unsubscribe(const QString& path, const QString& interface, const QString& member) {
    if (m_handlers.erase({path, interface, member}) != 0) {
        m_bus.disconnect(kService, path, interface, member, this, SLOT(Received(QDBusMessage)));
    }
}

void Portal::Received(const QDBusMessage& message) {
    const auto it = m_handlers.find({message.path(), message.interface(), message.member()});
    if (it == m_handlers.end()) return;
    // A copy: the handler may unsubscribe itself.
    const Handler handler = it->second;
    handler(message);
}

}  // namespace kestrin::qt::wl
