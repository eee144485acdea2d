#include "platform/framework/cwinapp.h"

#include <cassert>

#include "platform/resources.h"

namespace {

// The application object, set by its constructor. A program has exactly one.
CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp() {
    assert(g_app == nullptr && "a program has one application object");
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp& AfxGetApp() {
    assert(g_app != nullptr && "no application object has been constructed");
    return *g_app;
}

const kestrin::platform::Resources& AfxResources() {
    auto* resources = AfxGetApp().m_pResources;
    assert(resources != nullptr && "no resources attached: use RunApplication or CPlatformScope");
    return *resources;
}

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

CPlatformScope::CPlatformScope(kestrin::platform::Platform& platform,
                               const kestrin::platform::Resources& resources) {
    CWinApp& app = AfxGetApp();
    app.m_pPlatform = &platform;
    app.m_pResources = &resources;
    if (app.m_pszAppName.IsEmpty()) app.m_pszAppName = platform.ExecutableName();
}

CPlatformScope::~CPlatformScope() {
    CWinApp& app = AfxGetApp();
    app.m_pMainWnd = nullptr;
    app.m_pPlatform = nullptr;
    app.m_pResources = nullptr;
}

int RunApplication(kestrin::platform::Platform& platform,
                   const kestrin::platform::Resources& resources) {
    CPlatformScope scope(platform, resources);
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
    return CString(AfxResources().FindString(static_cast<int>(id)));
}
