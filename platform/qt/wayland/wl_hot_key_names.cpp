#include "platform/qt/wayland/wl_hot_key_names.h"

#include "platform/qt/window_messages.h"

namespace kestrin::qt::wl {
namespace {

constexpr unsigned kVkF1 = 0x70;
constexpr unsigned kVkF24 = 0x87;

}  // namespace

std::optional<std::string> HotKeyName(unsigned modifiers, unsigned vk) {
    std::string key;
    if (vk >= kVkF1 && vk <= kVkF24) {
        key = "F" + std::to_string(vk - kVkF1 + 1);
    } else if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        key = static_cast<char>(vk >= 'A' ? vk - 'A' + 'a' : vk);
    } else {
        return std::nullopt;
    }
    std::string name;
    if (modifiers & wm::ModControl) name += "Ctrl+";
    if (modifiers & wm::ModAlt) name += "Mod1+";
    if (modifiers & wm::ModShift) name += "Shift+";
    if (modifiers & wm::ModWin) name += "Mod4+";
    return name + key;
}

}  // namespace kestrin::qt::wl
