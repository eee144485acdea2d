#include "platform/qt/wayland/wl_sway_bindings.h"

#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace kestrin::qt::wl {
namespace {

QJsonDocument Parse(const std::string& json) {
    return QJsonDocument::fromJson(
        QByteArray::fromRawData(json.data(), static_cast<qsizetype>(json.size())));
}

}  // namespace

SwayBindings::SwayBindings(const std::string& socketPath, Pressed pressed)
    : m_socketPath(socketPath),
      m_commands(socketPath),
      m_events(socketPath),
      m_tag("org.example.kestrin." + std::to_string(::getpid())),
      m_pressed(std::move(pressed)) {
    if (!Valid()) return;
    const auto reply =
        m_events.Request(SwayIpc::kSubscribe, R"(["binding","workspace","shutdown"])");
    if (!reply || !Parse(*reply).object().value("success").toBool()) {
        m_events = SwayIpc("");
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_events.Fd(), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { ReadEvents(); });
}

SwayBindings::~SwayBindings() {
    for (const auto& combo : m_bound) Run("unbindsym " + combo);
}

std::string SwayBindings::Command(const std::string& combo) const {
    return "nop " + m_tag + " " + combo;
}

bool SwayBindings::Bind(const std::string& combo) {
    if (!Valid()) return false;
    if (!m_guard) m_guard = std::make_unique<SwayGuard>(m_socketPath);
    if (!m_guard->Watch(combo) || !Run("bindsym --no-warn " + combo + " " + Command(combo)))
        return false;
    m_bound.insert(combo);
    return true;
}

void SwayBindings::Unbind(const std::string& combo) {
    if (m_bound.erase(combo) != 0) Run("unbindsym " + combo);
}

bool SwayBindings::Run(const std::string& command) {
    const auto reply = m_commands.Request(SwayIpc::kRunCommand, command);
    if (!reply) {
        std::fprintf(stderr, "kestrin: sway IPC: no answer to \"%s\"\n", command.c_str());
        return false;
    }
    const QJsonObject result = Parse(*reply).array().first().toObject();
    if (result.value("success").toBool()) return true;
    std::fprintf(stderr, "kestrin: sway IPC: \"%s\" failed: %s\n", command.c_str(),
                 result.value("error").toString().toStdString().c_str());
    return false;
}

void SwayBindings::ReadEvents() {
    while (auto event = m_events.NextEvent()) {
        const QJsonObject object = Parse(event->payload).object();
        if (event->type == SwayIpc::kBindingEvent) {
            const std::string command =
                object.value("binding").toObject().value("command").toString().toStdString();
            const std::string prefix = Command("");
            if (command.starts_with(prefix)) m_pressed(command.substr(prefix.size()));
        } else if (event->type == SwayIpc::kWorkspaceEvent &&
                   object.value("change").toString() == "reload") {
            // The reload dropped our bindings.
            for (const auto& combo : m_bound)
                Run("bindsym --no-warn " + combo + " " + Command(combo));
        }
    }
    if (!m_events.Valid()) {
        m_notifier.reset();
        std::fprintf(stderr, "kestrin: sway IPC closed: the hot keys no longer work\n");
    }
}

}  // namespace kestrin::qt::wl
