// What the simulated desktop's parts share: its windows and the small helpers of its
// geometry. Only tests/sim includes this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window_values.h"
#include "tests/sim/sim_platform.h"

namespace kestrin::sim {

using platform::ControlKind;
using platform::Rect;
namespace ws = platform::style;

// Dialog base units of an 8-point shell font: 6 x 13 pixels.
inline constexpr int kBaseX = 6;
inline constexpr int kBaseY = 13;

inline int MulDiv(int a, int b, int c) {
    return (2 * a * b + c) / (2 * c);
}

inline std::intptr_t PackPoint(Point p) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(p.y & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(p.x & 0xFFFF));
}

inline bool Inside(const Rect& r, Point p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

struct SimPlatform::Window {
    WindowId id = WindowId::None;
    WindowId parent = WindowId::None;  // None for dialogs
    platform::WindowHost* host = nullptr;
    int templateId = 0;
    std::u16string caption;
    int controlId = 0;
    ControlKind kind = ControlKind::Static;
    std::uint32_t style = 0;
    std::u16string text;
    std::vector<std::u16string> textHistory;
    std::vector<std::u16string> entries;
    int curSel = -1;
    Rect rect;  // dialogs: client area in screen pixels; controls: in the dialog's client area
    bool alive = true;
    bool ended = false;
    int result = 0;
    bool iconic = false;
    IconId bigIcon = IconId::None;
    IconId smallIcon = IconId::None;
    bool hasSystemMenu = false;
    std::vector<MenuItem> systemMenu;
    WindowId focus = WindowId::None;
    std::vector<WindowId> children;  // in creation (tab) order
};

}  // namespace kestrin::sim
