#include "platform/qt/wayland/wl_sway_ipc.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <cstring>

namespace kestrin::qt::wl {
namespace {

constexpr std::string_view kMagic = "i3-ipc";
constexpr std::size_t kHeaderSize = kMagic.size() + 2 * sizeof(std::uint32_t);
constexpr int kReplyTimeoutMs = 1000;

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

SwayIpc::SwayIpc(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) return;
    std::memcpy(address.sun_path, path.data(), path.size());
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.Valid()) return;
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        return;
    m_fd = std::move(fd);
}

std::optional<std::string> SwayIpc::Request(std::uint32_t type, std::string_view payload) {
    if (!Valid()) return std::nullopt;
    std::string message(kMagic);
    const auto length = static_cast<std::uint32_t>(payload.size());
    message.append(reinterpret_cast<const char*>(&length), sizeof(length));
    message.append(reinterpret_cast<const char*>(&type), sizeof(type));
    message.append(payload);
    if (!WriteAll(m_fd.Get(), message)) {
        m_fd.Reset();
        return std::nullopt;
    }
    // A request connection carries no events: the next message is the reply.
    while (true) {
        if (auto reply = TakeMessage()) {
            if (reply->type == type) return std::move(reply->payload);
            continue;
        }
        if (!ReadAvailable(true)) return std::nullopt;
    }
}

std::optional<SwayMessage> SwayIpc::NextEvent() {
    if (auto message = TakeMessage()) return message;
    if (!Valid() || !ReadAvailable(false)) return std::nullopt;
    return TakeMessage();
}

std::optional<SwayMessage> SwayIpc::TakeMessage() {
    if (m_buffer.size() < kHeaderSize) return std::nullopt;
    if (std::string_view(m_buffer).substr(0, kMagic.size()) != kMagic) {
        m_fd.Reset();  // not sway speaking: stop listening
        m_buffer.clear();
        return std::nullopt;
    }
    SwayMessage message;
    std::uint32_t length = 0;
    std::memcpy(&length, m_buffer.data() + kMagic.size(), sizeof(length));
    std::memcpy(&message.type, m_buffer.data() + kMagic.size() + sizeof(length),
                sizeof(message.type));
    if (m_buffer.size() < kHeaderSize + length) return std::nullopt;
    message.payload = m_buffer.substr(kHeaderSize, length);
    m_buffer.erase(0, kHeaderSize + length);
    return message;
}

// Appends what the socket has to the buffer; with `wait`, first waits up to the reply
// timeout for something to arrive. False when nothing was read; the connection is closed
// when it ended, failed or (waiting) timed out.
bool SwayIpc::ReadAvailable(bool wait) {
    if (wait) {
        pollfd poll{m_fd.Get(), POLLIN, 0};
        int ready = 0;
        do {
            ready = ::poll(&poll, 1, kReplyTimeoutMs);
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0) {
            m_fd.Reset();
            return false;
        }
    }
    char chunk[4096];
    const ssize_t got = ::recv(m_fd.Get(), chunk, sizeof(chunk), 0);
    if (got > 0) {
        m_buffer.append(chunk, static_cast<std::size_t>(got));
        return true;
    }
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) return false;
    m_fd.Reset();
    return false;
}

}  // namespace kestrin::qt::wl
