// A connection to sway's IPC socket ($SWAYSOCK), i3-ipc framing: "i3-ipc", the payload's
// length and the message type as native 32-bit integers, then the JSON payload.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/qt/unique_fd.h"

namespace kestrin::qt::wl {

struct SwayMessage {
    std::uint32_t type = 0;
    std::string payload;
};

class SwayIpc {
  public:
    static constexpr std::uint32_t kRunCommand = 0;
    static constexpr std::uint32_t kSubscribe = 2;
    static constexpr std::uint32_t kWorkspaceEvent = 0x80000000;
    static constexpr std::uint32_t kBindingEvent = 0x80000005;
    static constexpr std::uint32_t kShutdownEvent = 0x80000006;

    // Connects to the socket at `path`; Valid() tells whether it could.
    explicit SwayIpc(const std::string& path);

    bool Valid() const { return m_fd.Valid(); }
    int Fd() const { return m_fd.Get(); }

    // Sends a message and waits (at most a second) for its reply; nullopt when the
    // connection fails, which closes it.
    std::optional<std::string> Request(std::uint32_t type, std::string_view payload);

    // Reads what the socket has now, without waiting, and returns the next whole message
    // received, if any; call again until it returns nullopt. Closes the connection at its
    // end or on an error (Valid() turns false).
    std::optional<SwayMessage> NextEvent();

  private:
    std::optional<SwayMessage> TakeMessage();
    bool ReadAvailable(bool wait);

    UniqueFd m_fd;
    std::string m_buffer;  // bytes received, not yet taken as messages
};

}  // namespace kestrin::qt::wl
