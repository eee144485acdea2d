// Hot keys by name, as sway's bindings and the session-bus method Press spell them.
#pragma once

#include <optional>
#include <string>

namespace kestrin::qt::wl {

// "F3", "Ctrl+Shift+F4", "Mod1+a": the modifiers (MOD_*) in sway's names, then the key's XKB
// name; nullopt for a virtual key without a name here (only F1–F24, A–Z and 0–9 have one).
std::optional<std::string> HotKeyName(unsigned modifiers, unsigned vk);

}  // namespace kestrin::qt::wl
