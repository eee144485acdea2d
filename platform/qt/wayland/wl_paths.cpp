#include "platform/qt/wayland/wl_paths.h"

#include <optional>

namespace kestrin::qt::wl {
namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

template <typename Path>
std::optional<Path> Parse(std::string_view value, std::initializer_list<Path> paths) {
    for (const Path path : paths) {
        if (Name(path) == value) return path;
    }
    return std::nullopt;
}

bool Offered(ClickPath path, const Offers& offers) {
    switch (path) {
        case ClickPath::None:
            return true;
        case ClickPath::VirtualPointer:
            return offers.virtualPointer;
        case ClickPath::Portal:
            return offers.remoteDesktop && offers.sessionBus;
    }
    return false;
}

bool Offered(HotKeyPath path, const Offers& offers) {
    switch (path) {
        case HotKeyPath::None:
            return true;
        case HotKeyPath::Sway:
            return offers.swayIpc && offers.sessionBus;
        case HotKeyPath::Portal:
            return offers.globalShortcuts && offers.sessionBus;
        case HotKeyPath::Bus:
            return offers.sessionBus;
    }
    return false;
}

// The first of `preferred` the session offers, none when it offers none of them.
template <typename Path>
Path FirstOffered(const Offers& offers, std::initializer_list<Path> preferred) {
    for (const Path path : preferred) {
        if (Offered(path, offers)) return path;
    }
    return Path::None;
}

// Takes the forced path when it is offered, none otherwise.
template <typename Path>
void Force(Path& chosen, Path forced, const Offers& offers, std::string_view item,
           std::vector<std::string>& problems) {
    if (Offered(forced, offers)) {
        chosen = forced;
        return;
    }
    chosen = Path::None;
    problems.push_back("KESTRIN_INPUT: " + std::string(item) + " is not offered here" +
                       (offers.sessionBus ? "" : " (no session bus)"));
}

}  // namespace

std::string_view Name(ClickPath path) {
    switch (path) {
        case ClickPath::VirtualPointer:
            return "virtual-pointer";
        case ClickPath::Portal:
            return "portal";
        case ClickPath::None:
            break;
    }
    return "none";
}

std::string_view Name(HotKeyPath path) {
    switch (path) {
        case HotKeyPath::Sway:
            return "sway";
        case HotKeyPath::Portal:
            return "portal";
        case HotKeyPath::Bus:
            return "bus";
        case HotKeyPath::None:
            break;
    }
    return "none";
}

Paths ChoosePaths(const Offers& offers, std::string_view override) {
    Paths paths;
    paths.clicks = FirstOffered(offers, {ClickPath::VirtualPointer, ClickPath::Portal});
    paths.hotKeys = FirstOffered(offers, {HotKeyPath::Sway, HotKeyPath::Portal});

    while (!override.empty()) {
        const auto comma = override.find(',');
        const std::string_view item = Trim(override.substr(0, comma));
        override =
            comma == std::string_view::npos ? std::string_view{} : override.substr(comma + 1);
        if (item.empty()) continue;

        const auto equals = item.find('=');
        const std::string_view key = Trim(item.substr(0, equals));
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view{} : Trim(item.substr(equals + 1));
        if (key == "clicks") {
            if (const auto path =
                    Parse(value, {ClickPath::None, ClickPath::VirtualPointer, ClickPath::Portal})) {
                Force(paths.clicks, *path, offers, item, paths.problems);
                continue;
            }
        } else if (key == "hotkeys") {
            if (const auto path = Parse(value, {HotKeyPath::None, HotKeyPath::Sway,
                                                HotKeyPath::Portal, HotKeyPath::Bus})) {
                Force(paths.hotKeys, *path, offers, item, paths.problems);
                continue;
            }
        }
        paths.problems.push_back(
            "KESTRIN_INPUT: unknown choice \"" + std::string(item) +
            "\" (clicks=virtual-pointer|portal|none, hotkeys=sway|portal|bus|none)");
    }
    return paths;
}

}  // namespace kestrin::qt::wl
