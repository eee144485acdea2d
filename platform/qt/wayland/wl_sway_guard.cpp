#include "platform/qt/wayland/wl_sway_guard.h"

#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string_view>

#include "platform/qt/wayland/wl_sway_ipc.h"

extern char** environ;

namespace kestrin::qt::wl {
namespace {

constexpr std::string_view kGuardOption = "--sway-guard";
constexpr int kLockWaitMs = 3000;  // a guard before ours unbinds within milliseconds
constexpr char kReady = 'r';

// The lock's name: one per sway instance, as each has its own IPC socket.
std::string LockName(std::string_view swaySocket) {
    std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
    for (const unsigned char c : swaySocket) hash = (hash ^ c) * 1099511628211ULL;
    char hex[17];
    std::snprintf(hex, sizeof(hex), "%016llx", static_cast<unsigned long long>(hash));
    return std::string(KESTRIN_APP_ID) + ".sway-guard." + hex;
}

// Binds the lock's abstract socket, waiting while another guard holds it; an invalid fd when
// it could not within kLockWaitMs. The lock goes with the last process holding the fd.
UniqueFd TakeLock(std::string_view swaySocket) {
    const std::string name = LockName(swaySocket);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());  // sun_path[0] = 0: abstract
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    for (int waited = 0;; waited += 10) {
        UniqueFd lock(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (!lock.Valid()) return {};
        if (::bind(lock.Get(), reinterpret_cast<const sockaddr*>(&address), length) == 0)
            return lock;
        if (errno != EADDRINUSE || waited >= kLockWaitMs) return {};
        ::usleep(10'000);
    }
}

int RunGuard(const std::string& swaySocket) {
    // It ends by itself as soon as Kestrin has; a stop signal meant for both would leave the
    // bindings behind.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE})
        std::signal(signal, SIG_IGN);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // Out of Kestrin's session, and no longer its child: nobody needs to reap it.
    const pid_t child = ::fork();
    if (child != 0) ::_exit(child > 0 ? 0 : 1);
    ::setsid();
    ::close_range(3, ~0U, 0);  // nothing of Kestrin's but the channel (0) and stdout, stderr

    const UniqueFd lock = TakeLock(swaySocket);
    if (!lock.Valid() || ::send(0, &kReady, 1, MSG_NOSIGNAL) != 1) return 1;

    std::set<std::string> combos;
    std::string received;
    char chunk[256];
    while (true) {
        const ssize_t got = ::read(0, chunk, sizeof(chunk));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;  // Kestrin has ended
        received.append(chunk, static_cast<std::size_t>(got));
        for (std::size_t end; (end = received.find('\n')) != std::string::npos;) {
            combos.insert(received.substr(0, end));
            received.erase(0, end + 1);
        }
    }
    // Bindings Kestrin removed itself are simply not found again.
    SwayIpc sway(swaySocket);
    for (const auto& combo : combos) sway.Request(SwayIpc::kRunCommand, "unbindsym " + combo);
    return 0;
}

}  // namespace

SwayGuard::SwayGuard(const std::string& swaySocket) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return;
    UniqueFd ours(ends[0]);
    const UniqueFd theirs(ends[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, theirs.Get(), 0);
    // The stop signals stay blocked until the guard ignores them.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&blocked, signal);
    posix_spawnattr_setsigmask(&attributes, &blocked);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    std::string name = "kestrin", option(kGuardOption), socket = swaySocket;
    char* argv[] = {name.data(), option.data(), socket.data(), nullptr};
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, "/proc/self/exe", &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        std::fprintf(stderr, "kestrin: cannot start the guard of the sway key bindings: %s\n",
                     std::strerror(failed));
        return;
    }
    // Its first process only forks the guard and exits.
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    pollfd ready{ours.Get(), POLLIN, 0};
    int polled = 0;
    while ((polled = ::poll(&ready, 1, kLockWaitMs + 2000)) < 0 && errno == EINTR) {
    }
    char answer = 0;
    if (polled == 1 && ::read(ours.Get(), &answer, 1) == 1 && answer == kReady) {
        m_channel = std::move(ours);
    } else {
        std::fputs("kestrin: the guard of the sway key bindings did not start\n", stderr);
    }
}

bool SwayGuard::Watch(const std::string& combo) {
    const std::string line = combo + "\n";
    if (Valid() && ::send(m_channel.Get(), line.data(), line.size(), MSG_NOSIGNAL) ==
                       static_cast<ssize_t>(line.size())) {
        return true;
    }
    m_channel.Reset();
    return false;
}

std::optional<int> RunSwayGuardIfAsked(int argc, char** argv) {
    if (argc != 3 || argv[1] != kGuardOption) return std::nullopt;
    return RunGuard(argv[2]);
}

}  // namespace kestrin::qt::wl
