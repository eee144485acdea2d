#include "res/resources.h"

#include <array>

#include "res/resource.h"
#include "res/texts.h"
#include "res/version.h"

namespace kestrin::res {
namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
namespace ws = platform::style;

constexpr std::uint32_t kChild = ws::Child | ws::Visible;
constexpr std::uint32_t kDialog =
    ws::Popup | ws::Caption | ws::SysMenu | ws::ModalFrame | ws::ShellFont;

// The click-mode list is not sorted: its indices are the click modes, left double first.
constexpr std::array<std::u16string_view, 4> kModeEntries = {u"左键双击", u"左键单击", u"右键双击",
                                                             u"右键单击"};
// The unit list is sorted; this order is also the sorted one, so clicks per second is 0.
constexpr std::array<std::u16string_view, 2> kUnitEntries = {u"次/秒", u"秒/次"};

constexpr std::array<ControlTemplate, 9> kMainControls = {{
    {ControlKind::Edit,
     IDC_RATE,
     u"",
     {82, 28, 25, 12},
     kChild | ws::Border | ws::TabStop | ws::EditAutoHScroll},
    {ControlKind::Button, 1, u"关闭", {176, 92, 50, 14}, kChild | ws::TabStop | ws::ButtonDefault},
    {ControlKind::ComboBox,
     IDC_CLICK_MODE,
     u"",
     {82, 50, 70, 94},
     kChild | ws::ComboDropDownList | ws::VScroll | ws::TabStop,
     0,
     kModeEntries},
    {ControlKind::Static, IDC_STATIC, u"点击方式：", {27, 52, 41, 10}, kChild | ws::Group},
    {ControlKind::Static, IDC_COUNT, u"点击计数：", {27, 74, 124, 22}, kChild | ws::Group},
    {ControlKind::GroupBox,
     IDC_STATIC,
     u"点击设置",
     {14, 14, 150, 92},
     kChild | ws::ButtonGroupBox},
    {ControlKind::Static, IDC_STATIC, u"点击频率：", {27, 30, 41, 10}, kChild | ws::Group},
    {ControlKind::Static,
     IDC_STATIC,
     u"使用说明：\n\n按F3开始\n\n按F4停止",
     {176, 19, 50, 47},
     kChild | ws::Group},
    {ControlKind::ComboBox,
     IDC_UNIT,
     u"",
     {116, 28, 37, 30},
     kChild | ws::ComboDropDownList | ws::ComboSort | ws::VScroll | ws::TabStop,
     0,
     kUnitEntries},
}};

constexpr DialogTemplate kMainDialog = {IDD_MAIN,
                                        {0, 0, 241, 121},
                                        kDialog | ws::MinimizeBox | ws::Visible,
                                        ws::ExAppWindow,
                                        u"Kestrin",
                                        u"MS Shell Dlg",
                                        8,
                                        kMainControls};

constexpr std::array<ControlTemplate, 5> kAboutControls = {{
    {ControlKind::StaticIcon,
     IDC_STATIC,
     u"",
     {11, 17, 20, 20},
     kChild | ws::StaticIcon,
     IDR_MAINFRAME},
    {ControlKind::Static,
     IDC_STATIC,
     u"" KESTRIN_ABOUT_TITLE,
     {39, 15, 119, 8},
     kChild | ws::StaticNoPrefix | ws::Group},
    {ControlKind::Static,
     IDC_STATIC,
     u"一个小而准的自动连点器。",
     {39, 27, 109, 11},
     kChild | ws::Group},
    {ControlKind::Button,
     1,
     u"OK",
     {127, 66, 50, 16},
     kChild | ws::ButtonDefault | ws::Group | ws::TabStop},
    {ControlKind::Static, IDC_LINK, u"" KESTRIN_LINK_TEXT, {42, 42, 142, 13}, kChild | ws::Group},
}};

constexpr DialogTemplate kAboutDialog = {
    IDD_ABOUTBOX,     {0, 0, 207, 98}, kDialog, 0,
    u"About Kestrin", u"MS Shell Dlg", 8,       kAboutControls};

constexpr std::array<const DialogTemplate*, 2> kDialogs = {&kMainDialog, &kAboutDialog};

constexpr std::array<platform::StringResource, 4> kStrings = {{
    {IDS_ABOUTBOX, u"&About Kestrin..."},
    {platform::IDS_CLICKS_REFUSED, u"无法获得点击权限：桌面拒绝了远程控制请求。\n请再按F3重试。"},
    {platform::IDS_CLICKS_CLOSED, u"点击权限已被桌面收回，点击已停止。\n请再按F3重新请求。"},
    {platform::IDS_HOTKEYS_LOST, kHotKeyF3FailedText},
}};

constexpr std::array<std::string_view, 3> kIconFiles = {"art/kestrin-16.png", "art/kestrin-32.png",
                                                        "art/kestrin-48.png"};
constexpr std::array<std::string_view, 1> kCursorFiles = {"art/hand.cur"};
constexpr std::array<platform::ArtworkResource, 2> kArtwork = {{
    {IDR_MAINFRAME, platform::ArtworkResource::Kind::Icon, kIconFiles},
    {IDC_LINK_CURSOR, platform::ArtworkResource::Kind::Cursor, kCursorFiles},
}};

constexpr platform::Resources kResources = {kDialogs, kStrings, kArtwork};

}  // namespace

const platform::Resources& ProgramResources() {
    return kResources;
}

std::u16string_view PageUrl() {
    return u"" KESTRIN_PAGE_URL;
}

}  // namespace kestrin::res
