// Which click and hot-key paths the Wayland layer takes for what the session offers, and how
// KESTRIN_INPUT forces them.
#include "platform/qt/wayland/wl_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using kestrin::qt::wl::ChoosePaths;
using kestrin::qt::wl::Offers;

// "clicks hotkeys problems" for readable failures.
std::string Choice(const Offers& offers, std::string_view override) {
    const auto paths = ChoosePaths(offers, override);
    std::string text = std::string(Name(paths.clicks)) + " " + std::string(Name(paths.hotKeys));
    for (const auto& problem : paths.problems) text += " | " + problem;
    return text;
}

TEST(WlPaths, FollowWhatTheSessionOffersAndTheOverride) {
    const Offers sway{true, true, true};
    const Offers swayNoBus{true, true, false};
    const Offers wlroots{true, false, true};  // e.g. Hyprland: virtual pointer, no sway IPC
    const Offers bare{false, false, true};    // e.g. GNOME
    const struct {
        Offers offers;
        std::string_view override;
        std::string expected;
    } cases[] = {
        {sway, "", "virtual-pointer sway"},
        {swayNoBus, "", "virtual-pointer none"},  // no lock against a second copy
        {wlroots, "", "virtual-pointer none"},    // a shortcut calling the bus is not seen
        {bare, "", "none none"},
        {wlroots, "hotkeys=bus", "virtual-pointer bus"},
        {sway, " clicks = none , hotkeys=bus,", "none bus"},
        {sway, "hotkeys=none", "virtual-pointer none"},
        {bare, "clicks=virtual-pointer",
         "none none | KESTRIN_INPUT: clicks=virtual-pointer is not offered here"},
        {swayNoBus, "hotkeys=sway",
         "virtual-pointer none | KESTRIN_INPUT: hotkeys=sway is not offered here (no session bus)"},
        {sway, "clicks=xtest,hotkeys",
         "virtual-pointer sway"
         " | KESTRIN_INPUT: unknown choice \"clicks=xtest\" (clicks=virtual-pointer|none, "
         "hotkeys=sway|bus|none)"
         " | KESTRIN_INPUT: unknown choice \"hotkeys\" (clicks=virtual-pointer|none, "
         "hotkeys=sway|bus|none)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Choice(c.offers, c.override), c.expected) << "override: " << c.override;
    }
}

}  // namespace
