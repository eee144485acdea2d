// A dialog described as data: every backend builds its windows from one of these.
//
// Style bits carry the values Windows gives them, so the Windows backend can hand them over
// unchanged and the other backends read the same bits.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kestrin::platform {

namespace style {
// Window styles.
inline constexpr std::uint32_t Popup = 0x80000000;
inline constexpr std::uint32_t Child = 0x40000000;
inline constexpr std::uint32_t Visible = 0x10000000;
inline constexpr std::uint32_t Caption = 0x00C00000;
inline constexpr std::uint32_t Border = 0x00800000;
inline constexpr std::uint32_t VScroll = 0x00200000;
inline constexpr std::uint32_t SysMenu = 0x00080000;
inline constexpr std::uint32_t Group = 0x00020000;
inline constexpr std::uint32_t MinimizeBox = 0x00020000;  // on top-level windows only
inline constexpr std::uint32_t TabStop = 0x00010000;
// Dialog styles.
inline constexpr std::uint32_t ModalFrame = 0x00000080;
inline constexpr std::uint32_t ShellFont = 0x00000048;  // DS_SETFONT | DS_FIXEDSYS
// Extended style.
inline constexpr std::uint32_t ExAppWindow = 0x00040000;
// Control styles.
inline constexpr std::uint32_t EditAutoHScroll = 0x0080;
inline constexpr std::uint32_t ButtonDefault = 0x0001;
inline constexpr std::uint32_t ButtonGroupBox = 0x0007;
inline constexpr std::uint32_t ComboDropDownList = 0x0003;
inline constexpr std::uint32_t ComboSort = 0x0100;
inline constexpr std::uint32_t StaticIcon = 0x0003;
inline constexpr std::uint32_t StaticNoPrefix = 0x0080;
}  // namespace style

// Rectangle in dialog units: position and size.
struct DialogRect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

enum class ControlKind { Edit, Button, GroupBox, ComboBox, Static, StaticIcon };

struct ControlTemplate {
    ControlKind kind;
    int id;  // -1 for controls the program never addresses
    std::u16string_view text;
    DialogRect rect;
    std::uint32_t style;   // includes Child | Visible
    int iconResource = 0;  // for StaticIcon: the icon's resource identifier
    // Entries a list box receives when the dialog is created, in this order.
    std::span<const std::u16string_view> initialEntries = {};

    bool tabStop() const { return (style & style::TabStop) != 0; }
    bool groupStart() const { return (style & style::Group) != 0; }
};

struct DialogTemplate {
    int id;
    DialogRect rect;
    std::uint32_t style;
    std::uint32_t exStyle;
    std::u16string_view caption;
    std::u16string_view fontName;
    int pointSize;
    std::span<const ControlTemplate> controls;  // in creation (and tab) order
};

}  // namespace kestrin::platform
