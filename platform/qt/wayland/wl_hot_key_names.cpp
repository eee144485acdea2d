#include "platform/qt/wayland/wl_hot_key_names.h"

#include "platform/window_values.h"

namespace kestrin::qt::wl {

std::optional<std::string> HotKeyName(unsigned modifiers, unsigned vk) {
    std::string name;
    if (modifiers & wm::ModControl) name += "Ctrl+";
    if (modifiers & wm::ModAlt) name += "Mod1+";
    if (modifiers & wm::ModShift) name += "Shift+";
    if (modifiers & wm::ModWin) name += "Mod4+";
    switch (vk) {
        case wm::VkF3:
            return name + "F3";
        case wm::VkF4:
            return name + "F4";
        default:
            return std::nullopt;
    }
}

}  // namespace kestrin::qt::wl
