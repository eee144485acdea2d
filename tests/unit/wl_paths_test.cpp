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
    // virtual pointer, sway IPC, session bus, RemoteDesktop, GlobalShortcuts
    const Offers sway{true, true, true, false, false};
    const Offers swayNoBus{true, true, false, false, false};
    const Offers wlroots{true, false, true, false, false};  // e.g. Hyprland
    const Offers bare{false, false, true, false, false};    // no portal either
    const Offers kde{false, false, true, true, true};       // also GNOME 48 and later
    const Offers gnome46{false, false, true, true, false};  // RemoteDesktop only
    const Offers swayPortals{true, true, true, true, true};
    const Offers kdeNoBus{false, false, false, true, true};
    const std::string choices =
        " (clicks=virtual-pointer|portal|none, hotkeys=sway|portal|bus|none)";
    const struct {
        Offers offers;
        std::string_view override;
        std::string expected;
    } cases[] = {
        {sway, "", "virtual-pointer sway"},
        {swayNoBus, "", "virtual-pointer none"},  // no lock against a second copy
        {wlroots, "", "virtual-pointer none"},    // a shortcut calling the bus is not seen
        {bare, "", "none none"},
        {kde, "", "portal portal"},
        {gnome46, "", "portal none"},  // F3 only through the bus, once forced
        {swayPortals, "", "virtual-pointer sway"},
        {kdeNoBus, "", "none none"},
        {swayPortals, "clicks=portal,hotkeys=portal", "portal portal"},
        {gnome46, "hotkeys=bus", "portal bus"},
        {wlroots, "hotkeys=bus", "virtual-pointer bus"},
        {sway, " clicks = none , hotkeys=bus,", "none bus"},
        {sway, "hotkeys=none", "virtual-pointer none"},
        {bare, "clicks=virtual-pointer",
         "none none | KESTRIN_INPUT: clicks=virtual-pointer is not offered here"},
        {gnome46, "hotkeys=portal",
         "portal none | KESTRIN_INPUT: hotkeys=portal is not offered here"},
        {sway, "clicks=portal", "none sway | KESTRIN_INPUT: clicks=portal is not offered here"},
        {swayNoBus, "hotkeys=sway",
         "virtual-pointer none | KESTRIN_INPUT: hotkeys=sway is not offered here (no session bus)"},
        {sway, "clicks=xtest,hotkeys",
         "virtual-pointer sway | KESTRIN_INPUT: unknown choice \"clicks=xtest\"" + choices +
             " | KESTRIN_INPUT: unknown choice \"hotkeys\"" + choices},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Choice(c.offers, c.override), c.expected) << "override: " << c.override;
}

}  // namespace
