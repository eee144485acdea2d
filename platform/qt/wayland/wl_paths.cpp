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
    return path == ClickPath::None || offers.virtualPointer;
}

bool Offered(HotKeyPath path, const Offers& offers) {
    switch (path) {
        case HotKeyPath::None:
            return true;
        case HotKeyPath::Sway:
            return offers.swayIpc && offers.sessionBus;
        case HotKeyPath::Bus:
            return offers.sessionBus;
    }
    return false;
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
    return path == ClickPath::VirtualPointer ? "virtual-pointer" : "none";
}

std::string_view Name(HotKeyPath path) {
    switch (path) {
        case HotKeyPath::Sway:
            return "sway";
        case HotKeyPath::Bus:
            return "bus";
        case HotKeyPath::None:
            break;
    }
    return "none";
}

Paths ChoosePaths(const Offers& offers, std::string_view override) {
    Paths paths;
    paths.clicks = offers.virtualPointer ? ClickPath::VirtualPointer : ClickPath::None;
    paths.hotKeys = Offered(HotKeyPath::Sway, offers) ? HotKeyPath::Sway : HotKeyPath::None;

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
            if (const auto path = Parse(value, {ClickPath::None, ClickPath::VirtualPointer})) {
                Force(paths.clicks, *path, offers, item, paths.problems);
                continue;
            }
        } else if (key == "hotkeys") {
            if (const auto path =
                    Parse(value, {HotKeyPath::None, HotKeyPath::Sway, HotKeyPath::Bus})) {
                Force(paths.hotKeys, *path, offers, item, paths.problems);
                continue;
            }
        }
        paths.problems.push_back("KESTRIN_INPUT: unknown choice \"" + std::string(item) +
                                 "\" (clicks=virtual-pointer|none, hotkeys=sway|bus|none)");
    }
    return paths;
}

}  // namespace kestrin::qt::wl
