// Hot keys by name, as sway's bindings and the session-bus method Press spell them.
#pragma once

#include <optional>
#include <string>

namespace kestrin::qt::wl {

// "F3", "Ctrl+Shift+F4": the modifiers (MOD_*) in sway's names, then the key's XKB name;
// nullopt for a key without a name here (Kestrin's hot keys are F3 and F4).
std::optional<std::string> HotKeyName(unsigned modifiers, unsigned vk);

}  // namespace kestrin::qt::wl
