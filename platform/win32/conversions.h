// Between the framework's opaque ids and UTF-16 strings and their Windows counterparts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace kestrin::win32 {

// An opaque id holds the handle's value.
template <typename Handle, typename Id>
Handle ToHandle(Id id) {
    return reinterpret_cast<Handle>(static_cast<std::uintptr_t>(id));
}

template <typename Id, typename Handle>
Id ToId(Handle handle) {
    return static_cast<Id>(reinterpret_cast<std::uintptr_t>(handle));
}

inline HWND ToHwnd(platform::WindowId id) {
    return ToHandle<HWND>(id);
}
inline platform::WindowId ToWindowId(HWND window) {
    return ToId<platform::WindowId>(window);
}

// wchar_t is a UTF-16 code unit on Windows: the conversions copy code units unchanged.
inline std::wstring ToWide(std::u16string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (const char16_t unit : text) wide.push_back(static_cast<wchar_t>(unit));
    return wide;
}

inline std::u16string FromWide(std::wstring_view text) {
    std::u16string narrow;
    narrow.reserve(text.size());
    for (const wchar_t unit : text) narrow.push_back(static_cast<char16_t>(unit));
    return narrow;
}

}  // namespace kestrin::win32
