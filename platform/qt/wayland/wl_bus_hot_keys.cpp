#include "platform/qt/wayland/wl_bus_hot_keys.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <cstdio>

namespace kestrin::qt::wl {
namespace {

// "org.example.Kestrin" → "/org/example/Kestrin"
QString ObjectPath(QString name) {
    return "/" + name.replace('.', '/');
}

}  // namespace

BusHotKeys::BusHotKeys(const QString& name, Press press)
    : m_bus(QDBusConnection::sessionBus()),
      m_name(name),
      m_path(ObjectPath(name)),
      m_interface(name + ".HotKeys"),
      m_press(std::move(press)) {
    if (!m_bus.isConnected()) return;
    const auto reply =
        m_bus.interface()->registerService(m_name, QDBusConnectionInterface::DontQueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) return;
    if (!m_bus.registerVirtualObject(m_path, this)) {
        std::fprintf(stderr, "kestrin: cannot offer %s on the session bus\n", qPrintable(m_path));
        m_bus.unregisterService(m_name);
        return;
    }
    m_owned = true;
}

BusHotKeys::~BusHotKeys() {
    if (!m_owned) return;
    m_bus.unregisterObject(m_path);
    m_bus.unregisterService(m_name);
}

QString BusHotKeys::introspect(const QString& path) const {
    if (path != m_path) return {};
    return "<interface name=\"" + m_interface +
           "\">"
           "<method name=\"Press\"><arg name=\"key\" type=\"s\" direction=\"in\"/></method>"
           "</interface>";
}

bool BusHotKeys::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage || message.path() != m_path ||
        (!message.interface().isEmpty() && message.interface() != m_interface) ||
        message.member() != "Press") {
        return false;
    }
    const QList<QVariant> arguments = message.arguments();
    if (message.signature() != "s") {
        connection.send(
            message.createErrorReply(QDBusError::InvalidArgs, "Press takes one key name"));
        return true;
    }
    const QString key = arguments.first().toString();
    if (!m_press(key.toStdString())) {
        connection.send(message.createErrorReply(m_name + ".Error.NotRegistered",
                                                 "no window holds the hot key " + key));
        return true;
    }
    connection.send(message.createReply());
    return true;
}

}  // namespace kestrin::qt::wl
