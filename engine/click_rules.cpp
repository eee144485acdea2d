#include "engine/click_rules.h"

#include <array>
#include <limits>

#include "res/texts.h"

UINT ClickPeriodMs(int rate, int unit) {
    const auto r = static_cast<UINT>(rate);
    return unit == PerSecond ? 1000u / r : r * 1000u;
}

std::span<const DWORD> BurstFor(int mode) {
    static constexpr std::array<DWORD, 4> kLeftDouble = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP,
                                                         MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    static constexpr std::array<DWORD, 2> kLeftSingle = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    static constexpr std::array<DWORD, 4> kRightDouble = {
        MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP};
    static constexpr std::array<DWORD, 2> kRightSingle = {MOUSEEVENTF_RIGHTDOWN,
                                                          MOUSEEVENTF_RIGHTUP};
    switch (mode) {
        case LeftDouble:
            return kLeftDouble;
        case LeftSingle:
            return kLeftSingle;
        case RightDouble:
            return kRightDouble;
        case RightSingle:
            return kRightSingle;
        default:
            return {};
    }
}

CString CountResetText() {
    return kestrin::res::kCountResetText;
}

CString CountText(int count) {
    CString text;
    text.Format(kestrin::res::kCountFormat, count);
    return text;
}

CString CountTooFastText() {
    return kestrin::res::kCountTooFastText;
}

bool TooFastToShow(int rate, int unit) {
    return unit == PerSecond && rate > FAST_DISPLAY_LIMIT;
}

int NextCount(int count) {
    return count < std::numeric_limits<int>::max() ? count + 1 : count;
}
