// The texts the program's code shows, each defined once. Dialog texts are in the templates
// (res/dialogs.cpp); the About entry's text is in the string table there.
#pragma once

#include <string_view>

namespace kestrin::res {

// Rate entry: the rejection's two message boxes.
inline constexpr std::u16string_view kBadRateText =
    u"请输入不超过1000的正整数，\n注意不要输入空格、小数点";
inline constexpr std::u16string_view kReenterText = u"请重新输入";

// Hot-key registration failures.
inline constexpr std::u16string_view kHotKeyF3FailedText = u"注册热键F3失败！";
inline constexpr std::u16string_view kHotKeyF4FailedText = u"注册热键F4失败！";

// The count label: reset on start, after each counted tick (printf format), too fast to show.
inline constexpr std::u16string_view kCountResetText = u"点击计数：         0";
inline constexpr std::u16string_view kCountFormat = u"点击计数：         %d";
inline constexpr std::u16string_view kCountTooFastText =
    u"点击计数：  丫的别点这么快啊                               老子显示跟不上啦";

}  // namespace kestrin::res
