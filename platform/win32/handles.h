// Owning wrappers for the Windows handles the backend creates.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace kestrin::win32 {

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    }
};
// A kernel object handle (event, waitable timer), closed when the owner goes.
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

struct WindowDestroyer {
    void operator()(HWND window) const noexcept { ::DestroyWindow(window); }
};
// A window we created, destroyed with its children when the owner goes.
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

}  // namespace kestrin::win32
