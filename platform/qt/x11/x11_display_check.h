// Whether there is an X display to run on, checked before Qt starts.
#pragma once

#include <optional>
#include <string>

namespace kestrin::qt {

// Empty when $DISPLAY names a display we can connect to; otherwise one line saying why not.
std::optional<std::string> XDisplayProblem();

}  // namespace kestrin::qt
