// The records the simulated desktop keeps of what the program did to the outside world.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kestrin::sim {

using platform::CursorId;
using platform::IconId;
using platform::Point;
using platform::WindowId;

struct MouseBurst {
    std::int64_t timeMs;
    Point at;
    std::vector<std::uint32_t> flags;
};

struct MessageBoxRecord {
    std::u16string text;
    std::u16string caption;
    WindowId owner;
    unsigned type;
    std::int64_t timeMs;
};

struct MenuItem {
    unsigned flags;
    std::uintptr_t id;
    std::u16string text;
};

struct DrawnIcon {
    int x;
    int y;
    IconId icon;
};

}  // namespace kestrin::sim
