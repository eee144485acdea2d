// Dialogs: created from the res/ templates, run by our own modal loop.
#include <windows.h>

#include "platform/win32/conversions.h"
#include "platform/win32/dialog_template_builder.h"
#include "platform/win32/win32_platform.h"

namespace kestrin::win32 {

Win32Platform::Win32Platform(HINSTANCE instance) : m_instance(instance), m_dialogClass(instance) {}

Win32Platform::~Win32Platform() {
    for (auto& [window, dialog] : m_dialogs) {
        m_timers.KillAll(window);
        DialogClass::Attach(window, nullptr);
    }
    m_dialogs.clear();
}

WindowId Win32Platform::CreateDialogWindow(const platform::DialogTemplate& tmpl,
                                           platform::WindowHost& host, WindowId owner) {
    const auto words = BuildDialogTemplate(tmpl, FromWide(DialogClass::kName));
    const auto* dialogTemplate = reinterpret_cast<const DLGTEMPLATE*>(words.data());
    // No dialog procedure: the class's window procedure hands the messages to the host once
    // it is attached below, and leaves those of the creation to the dialog manager.
    HWND window =
        ::CreateDialogIndirectParamW(m_instance, dialogTemplate, ToHwnd(owner), nullptr, 0);
    if (window == nullptr) return WindowId::None;

    auto dialog = std::make_unique<Dialog>();
    dialog->window.reset(window);
    dialog->host = &host;
    m_dialogs[window] = std::move(dialog);
    DialogClass::Attach(window, this);
    return ToWindowId(window);
}

Win32Platform::Dialog* Win32Platform::FindDialog(HWND window) {
    const auto found = m_dialogs.find(window);
    return found == m_dialogs.end() ? nullptr : found->second.get();
}

Win32Platform::Dialog* Win32Platform::DialogOf(HWND window) {
    for (HWND w = window; w != nullptr; w = ::GetParent(w)) {
        if (Dialog* dialog = FindDialog(w)) return dialog;
    }
    return nullptr;
}

int Win32Platform::RunModal(WindowId dialogId) {
    HWND window = ToHwnd(dialogId);
    if (FindDialog(window) == nullptr) return -1;

    HWND owner = ::GetWindow(window, GW_OWNER);
    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner) ::EnableWindow(owner, FALSE);

    if (!FindDialog(window)->ended) {
        ::ShowWindow(window, SW_SHOWNORMAL);
        ::SetForegroundWindow(window);
        if (HWND focus = FindDialog(window)->focusOnShow) ApplyFocus(window, focus);
    }

    for (Dialog* dialog = FindDialog(window); dialog != nullptr && !dialog->ended;
         dialog = FindDialog(window)) {
        MSG msg;
        // Also delivers the click timer's ticks, here on this thread.
        const int got = m_timers.GetMessage(msg);
        if (got == -1) break;
        if (got == 0) {
            // WM_QUIT ends this loop and is left for any loop outside it.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            dialog->result = IDCANCEL;
            break;
        }
        HandleQueuedMessage(msg);
    }

    // The owner comes back before this dialog goes, so the activation returns to it.
    if (disableOwner) {
        ::EnableWindow(owner, TRUE);
        if (::GetActiveWindow() == window) ::SetActiveWindow(owner);
    }
    const Dialog* dialog = FindDialog(window);
    return dialog != nullptr ? dialog->result : -1;
}

void Win32Platform::HandleQueuedMessage(MSG& msg) {
    Dialog* dialog = DialogOf(msg.hwnd);
    if (dialog == nullptr) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        return;
    }
    // A tick posted by a relay is taken from the queue here, so the next one can come while
    // this one is pre-translated (which may open message boxes, inside which ticks go on) and
    // handled.
    const bool tick = msg.message == WM_TIMER && FindDialog(msg.hwnd) != nullptr;
    if (tick) m_timers.Taken(msg.hwnd, msg.wParam);

    Message framed{ToWindowId(msg.hwnd), msg.message, msg.wParam, msg.lParam};
    if (dialog->host->PreTranslate(framed)) return;
    if (tick) {
        // Straight to the dialog: its window procedure would count the tick taken again.
        if (Dialog* target = FindDialog(msg.hwnd)) target->host->Dispatch(framed);
        return;
    }
    msg.message = framed.message;
    msg.wParam = framed.wParam;
    msg.lParam = framed.lParam;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

void Win32Platform::EndDialog(WindowId dialogId, int result) {
    if (Dialog* dialog = FindDialog(ToHwnd(dialogId))) {
        dialog->ended = true;
        dialog->result = result;
        // Wakes the modal loop should it be waiting.
        ::PostMessageW(dialog->window.get(), WM_NULL, 0, 0);
    }
}

void Win32Platform::DestroyWindow(WindowId windowId) {
    HWND window = ToHwnd(windowId);
    const auto found = m_dialogs.find(window);
    if (found == m_dialogs.end()) {
        ::DestroyWindow(window);
        return;
    }
    m_timers.KillAll(window);
    for (const int id : found->second->hotKeys) ::UnregisterHotKey(window, id);
    // The messages of the destruction go to the dialog manager, not to the framework.
    DialogClass::Attach(window, nullptr);
    m_dialogs.erase(found);  // destroys the window
}

bool Win32Platform::IsDialogMessage(WindowId dialogId, const Message& msg) {
    HWND dialog = ToHwnd(dialogId);
    HWND target = ToHwnd(msg.hwnd);
    if (FindDialog(dialog) == nullptr) return false;
    if (target != dialog && !::IsChild(dialog, target)) return false;
    // Only keyboard messages take part in dialog navigation. IsDialogMessageW translates and
    // dispatches every key it is given, so a true result means the message has been handled.
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    MSG native{};
    native.hwnd = target;
    native.message = msg.message;
    native.wParam = msg.wParam;
    native.lParam = msg.lParam;
    native.time = static_cast<DWORD>(::GetMessageTime());
    const DWORD pos = ::GetMessagePos();
    native.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    return ::IsDialogMessageW(dialog, &native) != FALSE;
}

void Win32Platform::ApplyFocus(HWND dialog, HWND control) {
    // Through the dialog manager, which also selects an edit field's text.
    ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void Win32Platform::FocusFirstTabStop(WindowId dialogId) {
    HWND dialog = ToHwnd(dialogId);
    Dialog* record = FindDialog(dialog);
    if (record == nullptr) return;
    HWND first = ::GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (first == nullptr) return;
    // The dialog is still hidden: the focus is set again when it is shown.
    record->focusOnShow = first;
    ApplyFocus(dialog, first);
}

std::intptr_t Win32Platform::DefaultProcessing(const Message& msg) {
    return ::DefDlgProcW(ToHwnd(msg.hwnd), msg.message, msg.wParam, msg.lParam);
}

LRESULT Win32Platform::OnDialogMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* dialog = FindDialog(window);
    if (dialog == nullptr) return ::DefDlgProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_TIMER:
            // A tick dispatched by another loop (a message box's) is taken from the queue now.
            m_timers.Taken(window, wParam);
            break;
        // The system's own loops of a menu and of a window move or resize.
        case WM_ENTERMENULOOP:
        case WM_ENTERSIZEMOVE:
            m_timers.EnterForeignLoop();
            break;
        case WM_EXITMENULOOP:
        case WM_EXITSIZEMOVE:
            m_timers.LeaveForeignLoop();
            break;
        default:
            break;
    }
    return dialog->host->Dispatch(Message{ToWindowId(window), message, wParam, lParam});
}

}  // namespace kestrin::win32
