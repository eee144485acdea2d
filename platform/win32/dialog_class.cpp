#include "platform/win32/dialog_class.h"

namespace kestrin::win32 {

DialogClass::DialogClass(HINSTANCE instance) : m_instance(instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &DialogClass::WindowProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kName;
    m_atom = ::RegisterClassExW(&wc);
}

DialogClass::~DialogClass() {
    if (m_atom != 0) ::UnregisterClassW(kName, m_instance);
}

void DialogClass::Attach(HWND dialog, DialogMessageSink* sink) {
    ::SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(sink));
}

LRESULT CALLBACK DialogClass::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* sink = reinterpret_cast<DialogMessageSink*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (sink == nullptr) return ::DefDlgProcW(window, message, wParam, lParam);
    return sink->OnDialogMessage(window, message, wParam, lParam);
}

}  // namespace kestrin::win32
