// CWnd and the small helpers that go with it: CMenu, CPaintDC.
#pragma once

#include <map>

#include "platform/framework/afxdefs.h"
#include "platform/framework/cstring.h"
#include "platform/framework/message_map.h"

class CMenu {
  public:
    HMENU m_hMenu = HMENU::None;
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const CString& text = {});
};

class CWnd {
  public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = HWND::None;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Called before dispatch for queued messages; TRUE consumes the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Child control by identifier; nullptr when the window has none.
    CWnd* GetDlgItem(int id);
    void SetWindowText(const CString& text);
    void GetWindowText(CString& text) const;
    void GetWindowRect(CRect* rect) const;
    void GetClientRect(CRect* rect) const;
    void ScreenToClient(CRect* rect) const;
    BOOL IsIconic() const;
    CMenu* GetSystemMenu(BOOL revert);
    HICON SetIcon(HICON icon, BOOL bigIcon);
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, void* unusedCallback);
    BOOL KillTimer(UINT_PTR id);
    int MessageBox(const CString& text, const char16_t* caption = nullptr, UINT type = MB_OK);
    // Sends a message straight to this window's handlers.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  protected:
    // Dispatch through the message maps, then default processing.
    LRESULT WindowProc(const MSG& msg);
    // Default processing of the message being handled.
    LRESULT Default();
    virtual LRESULT DefWindowProc(const MSG& msg);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

  private:
    bool OnWndMsg(const MSG& msg, LRESULT& result);

    const MSG* m_pCurrentMsg = nullptr;
    std::map<int, CWnd> m_children;  // wrappers handed out by GetDlgItem
    CMenu m_sysMenu;
};

// A paint context for the duration of a paint handler.
class CPaintDC {
  public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    void DrawIcon(int x, int y, HICON icon);

  private:
    CWnd* m_pWnd;
    HDC m_hDC;
};
