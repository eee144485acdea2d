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
#include "tests/unit/expected_texts.h"

using kestrin::platform::Point;
using kestrin::sim::SimPlatform;
using Texts = std::vector<std::u16string>;

inline const std::u16string kBadRateText = ExpectedText("bad_rate");
inline const std::u16string kReenterText = ExpectedText("reenter");
inline const std::u16string kCountLabel = ExpectedText("count_label");
inline const std::u16string kTooFastText = ExpectedText("too_fast");

// The count label's text after `n` counted ticks.
inline std::u16string CountLabel(long long n) {
    const std::string digits = std::to_string(n);
    return ExpectedText("count_prefix") + std::u16string(digits.begin(), digits.end());
}

inline const std::vector<std::uint32_t> kLeftDouble = {0x02, 0x04, 0x02, 0x04};
inline const std::vector<std::uint32_t> kLeftSingle = {0x02, 0x04};
inline const std::vector<std::uint32_t> kRightDouble = {0x08, 0x10, 0x08, 0x10};
inline const std::vector<std::uint32_t> kRightSingle = {0x08, 0x10};

// Runs the program with the script written so far: start-up, the main window's modal run,
// and the end. Returns the process's exit code. Every action of the script must have done
// its part: one left over means the program ended early or showed fewer message boxes.
inline int RunKestrin(SimPlatform& sim) {
    const int exitCode = RunApplication(sim, kestrin::res::ProgramResources());
    EXPECT_EQ(sim.UnusedActions(), 0u) << "the program did not follow the script";
    return exitCode;
}
