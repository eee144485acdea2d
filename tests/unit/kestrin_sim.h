// Running Kestrin on the simulated platform, for the tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/click_rules.h"
#include "platform/framework/afxwin.h"
#include "res/resource.h"
#include "res/resources.h"
#include "tests/sim/sim_platform.h"

using kestrin::sim::SimPlatform;

inline const std::u16string kBadRateText = u"请输入不超过1000的正整数，\n注意不要输入空格、小数点";
inline const std::u16string kReenterText = u"请重新输入";
inline const std::u16string kCountLabel = u"点击计数：";
inline const std::u16string kTooFastText =
    u"点击计数：  丫的别点这么快啊                               老子显示跟不上啦";

// The count label's text after `n` counted ticks.
inline std::u16string CountLabel(long long n) {
    const std::string digits = std::to_string(n);
    return u"点击计数：         " + std::u16string(digits.begin(), digits.end());
}

inline const std::vector<std::uint32_t> kLeftDouble = {0x02, 0x04, 0x02, 0x04};
inline const std::vector<std::uint32_t> kLeftSingle = {0x02, 0x04};
inline const std::vector<std::uint32_t> kRightDouble = {0x08, 0x10, 0x08, 0x10};
inline const std::vector<std::uint32_t> kRightSingle = {0x08, 0x10};

// Runs the program with the script written so far: start-up, the main window's modal run,
// and the end. Returns the process's exit code. Every action of the script must have run:
// one left over means the program ended before the test expected it to.
inline int RunKestrin(SimPlatform& sim) {
    const int exitCode = RunApplication(sim, kestrin::res::ProgramResources());
    EXPECT_EQ(sim.PendingActions(), 0u) << "the program ended before the script did";
    return exitCode;
}
