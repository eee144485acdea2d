// CWinApp, the application object, and the framework's free functions.
#pragma once

#include "platform/framework/cwnd.h"
#include "platform/resources.h"

class CWinApp {
  public:
    // The application object registers itself: AfxGetApp() finds it from then on.
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    // Names the settings key. Kestrin keeps no settings: nothing is stored under it.
    void SetRegistryKey(const char16_t* key) { m_pszRegistryKey = key; }
    HICON LoadIcon(int resourceId) const;
    HCURSOR LoadCursor(int resourceId) const;

    CWnd* m_pMainWnd = nullptr;
    CString m_pszAppName;  // the executable's name unless the program sets one
    CString m_pszRegistryKey;
    kestrin::platform::Platform* m_pPlatform = nullptr;
    const kestrin::platform::Resources* m_pResources = nullptr;
};

// The one application object, registered when it was constructed.
CWinApp& AfxGetApp();
// The platform the application runs on.
kestrin::platform::Platform& AfxPlatform();

// The program's resources, as the entry point handed them to the application.
const kestrin::platform::Resources& AfxResources();

// Attaches a platform and the program's resources to the application for the lifetime of
// this object.
class CPlatformScope {
  public:
    CPlatformScope(kestrin::platform::Platform& platform,
                   const kestrin::platform::Resources& resources);
    ~CPlatformScope();
    CPlatformScope(const CPlatformScope&) = delete;
    CPlatformScope& operator=(const CPlatformScope&) = delete;
};

// Runs the application on a platform: InitInstance, then ExitInstance. A backend's entry
// point calls this; its result is the process's exit code.
int RunApplication(kestrin::platform::Platform& platform,
                   const kestrin::platform::Resources& resources);

// A modal message box owned by the main window, captioned with the application's name.
int AfxMessageBox(const CString& text, UINT type = MB_OK);

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT vk);
BOOL GetCursorPos(CPoint* point);
BOOL SetCursorPos(int x, int y);
// Sends the button events of one burst as one unit.
void SendMouseBurst(std::span<const DWORD> flags);
HCURSOR SetCursor(HCURSOR cursor);
int GetSystemMetrics(int index);
// Opens an address with the user's default handler. Only what Kestrin passes is taken:
// no owner, the default verb, no parameters, no directory.
void ShellExecuteW(std::nullptr_t owner, std::nullptr_t verb, const CString& file,
                   std::nullptr_t parameters, std::nullptr_t directory, int show);
// Loads a string from the program's string table; empty when there is none.
CString LoadResourceString(UINT id);
