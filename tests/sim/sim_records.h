// What the simulated desktop records of the program's effects on the outside world.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kestrin::sim {

struct MouseBurst {
    platform::Point at;
    std::vector<std::uint32_t> flags;
    std::int64_t ms = 0;  // the virtual time it was sent
};

struct DrawnIcon {
    platform::Point at;
    platform::IconId icon;
    friend bool operator==(const DrawnIcon&, const DrawnIcon&) = default;
};

// Everything in the order it happened.
struct Records {
    std::vector<MouseBurst> bursts;
    std::vector<std::u16string> boxTexts;  // message boxes shown
    std::vector<std::u16string> boxCaptions;
    std::vector<platform::CursorId> cursors;  // cursors made current
    std::vector<std::u16string> opened;       // addresses given to the shell
    std::vector<DrawnIcon> drawnIcons;
    int iconErases = 0;
};

}  // namespace kestrin::sim
