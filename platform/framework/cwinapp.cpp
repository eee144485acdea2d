#include "platform/framework/cwinapp.h"

#include <cassert>

#include "res/dialogs.h"

HICON CWinApp::LoadIcon(int resourceId) const {
    return AfxPlatform().LoadIcon(resourceId);
}

HCURSOR CWinApp::LoadCursor(int resourceId) const {
    return AfxPlatform().LoadCursor(resourceId);
}

kestrin::platform::Platform& AfxPlatform() {
    auto* platform = AfxGetApp().m_pPlatform;
    assert(platform != nullptr && "no platform attached: use RunApplication or CPlatformScope");
    return *platform;
}

CPlatformScope::CPlatformScope(kestrin::platform::Platform& platform) {
    CWinApp& app = AfxGetApp();
    app.m_pPlatform = &platform;
    if (app.m_pszAppName.IsEmpty()) app.m_pszAppName = platform.ExecutableName();
}

CPlatformScope::~CPlatformScope() {
    CWinApp& app = AfxGetApp();
    app.m_pMainWnd = nullptr;
    app.m_pPlatform = nullptr;
}

int RunApplication(kestrin::platform::Platform& platform) {
    CPlatformScope scope(platform);
    CWinApp& app = AfxGetApp();
    // A dialog-based program does all its work in InitInstance and returns FALSE; there is
    // no message loop of the application's own.
    app.InitInstance();
    return app.ExitInstance();
}

int AfxMessageBox(const CString& text, UINT type) {
    CWinApp& app = AfxGetApp();
    const HWND owner = app.m_pMainWnd != nullptr ? app.m_pMainWnd->m_hWnd : HWND::None;
    return AfxPlatform().MessageBox(owner, text, app.m_pszAppName, type);
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    return AfxPlatform().InitCommonControls(init->dwSize, init->dwICC) ? TRUE : FALSE;
}

BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT vk) {
    return AfxPlatform().RegisterHotKey(window, id, modifiers, vk) ? TRUE : FALSE;
}

BOOL GetCursorPos(CPoint* point) {
    return AfxPlatform().GetCursorPos(*point) ? TRUE : FALSE;
}

BOOL SetCursorPos(int x, int y) {
    return AfxPlatform().SetCursorPos({x, y}) ? TRUE : FALSE;
}

void SendMouseBurst(std::span<const DWORD> flags) {
    AfxPlatform().SendMouseBurst(flags);
}

HCURSOR SetCursor(HCURSOR cursor) {
    return AfxPlatform().SetCursor(cursor);
}

int GetSystemMetrics(int index) {
    return AfxPlatform().GetSystemMetrics(index);
}

void ShellExecuteW(std::nullptr_t, std::nullptr_t, const CString& file, std::nullptr_t,
                   std::nullptr_t, int) {
    AfxPlatform().ShellOpen(file);
}

CString LoadResourceString(UINT id) {
    return CString(kestrin::res::FindString(static_cast<int>(id)));
}
