// Running Kestrin on the simulated platform, for the tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "engine/click_rules.h"
#include "platform/framework/afxwin.h"
#include "res/resource.h"
#include "res/resources.h"
#include "tests/sim/sim_platform.h"

using kestrin::platform::Point;
using kestrin::sim::SimPlatform;
using Texts = std::vector<std::u16string>;

// The texts the tests expect the program to show, from the one table the C++ and Python
// tests share (tests/expected_texts.tsv, named by KESTRIN_EXPECTED_TEXTS), so a test never
// retypes a program text.
inline std::u16string ExpectedText(const std::string& name) {
    static const std::map<std::string, std::u16string> table = [] {
        std::map<std::string, std::u16string> texts;
        std::ifstream file(KESTRIN_EXPECTED_TEXTS);
        for (std::string line; std::getline(file, line);) {
            const auto tab = line.find('\t');
            if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
            // UTF-8 to UTF-16 (the table holds nothing outside the Basic Multilingual Plane),
            // and "\n" to a line feed.
            std::u16string& text = texts[line.substr(0, tab)];
            for (std::size_t i = tab + 1; i < line.size();) {
                const auto c = static_cast<unsigned char>(line[i]);
                const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : 2;
                char32_t code = extra == 0 ? c : extra == 1 ? (c & 0x1F) : (c & 0x0F);
                for (int k = 1; k <= extra; ++k) code = (code << 6) | (line[i + k] & 0x3F);
                const bool lineFeed = line.compare(i, 2, "\\n") == 0;
                text.push_back(lineFeed ? u'\n' : static_cast<char16_t>(code));
                i += lineFeed ? 2 : 1 + extra;
            }
        }
        return texts;
    }();
    const auto it = table.find(name);
    EXPECT_NE(it, table.end()) << "no expected text named " << name;
    return it == table.end() ? std::u16string() : it->second;
}

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
