#include "platform/framework/cwnd.h"

#include "platform/framework/cwinapp.h"

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const CString& text) {
    return AfxPlatform().AppendMenu(m_hMenu, flags, id, text) ? TRUE : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

CWnd* CWnd::GetDlgItem(int id) {
    const HWND child = AfxPlatform().GetDlgItem(m_hWnd, id);
    if (child == HWND::None) return nullptr;
    CWnd& wrapper = m_children[id];
    wrapper.m_hWnd = child;
    return &wrapper;
}

void CWnd::SetWindowText(const CString& text) {
    AfxPlatform().SetWindowText(m_hWnd, text);
}

void CWnd::GetWindowText(CString& text) const {
    text = AfxPlatform().GetWindowText(m_hWnd);
}

void CWnd::GetWindowRect(CRect* rect) const {
    *rect = CRect(AfxPlatform().GetWindowRect(m_hWnd));
}

void CWnd::GetClientRect(CRect* rect) const {
    *rect = CRect(AfxPlatform().GetClientRect(m_hWnd));
}

void CWnd::ScreenToClient(CRect* rect) const {
    auto& platform = AfxPlatform();
    const auto topLeft = platform.ScreenToClient(m_hWnd, {rect->left, rect->top});
    const auto bottomRight = platform.ScreenToClient(m_hWnd, {rect->right, rect->bottom});
    *rect = CRect({topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
}

BOOL CWnd::IsIconic() const {
    return AfxPlatform().IsIconic(m_hWnd) ? TRUE : FALSE;
}

CMenu* CWnd::GetSystemMenu(BOOL revert) {
    m_sysMenu.m_hMenu = AfxPlatform().GetSystemMenu(m_hWnd, revert != FALSE);
    return m_sysMenu.m_hMenu == HMENU::None ? nullptr : &m_sysMenu;
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    AfxPlatform().SetIcon(m_hWnd, icon, bigIcon != FALSE);
    return icon;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, void*) {
    return AfxPlatform().SetTimer(m_hWnd, id, elapseMs) ? id : 0;
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    return AfxPlatform().KillTimer(m_hWnd, id) ? TRUE : FALSE;
}

int CWnd::MessageBox(const CString& text, const char16_t* caption, UINT type) {
    const CString title = caption != nullptr ? CString(caption) : AfxGetApp().m_pszAppName;
    return AfxPlatform().MessageBox(m_hWnd, text, title, type);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(MSG{m_hWnd, message, wParam, lParam});
}

LRESULT CWnd::WindowProc(const MSG& msg) {
    // Handlers may run nested (a tick inside a message box inside another handler), so the
    // current message is saved and restored around each dispatch.
    const MSG* outer = m_pCurrentMsg;
    m_pCurrentMsg = &msg;
    LRESULT result = 0;
    if (!OnWndMsg(msg, result)) result = DefWindowProc(msg);
    m_pCurrentMsg = outer;
    return result;
}

bool CWnd::OnWndMsg(const MSG& msg, LRESULT& result) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->base != nullptr ? map->base() : nullptr) {
        for (const AFX_MSGMAP_ENTRY& entry : map->entries) {
            if (entry.message != msg.message) continue;
            if (msg.message == WM_COMMAND && entry.commandId != (msg.wParam & 0xFFFF)) continue;
            result = entry.handler(*this, msg);
            return true;
        }
    }
    return false;
}

LRESULT CWnd::Default() {
    return m_pCurrentMsg != nullptr ? DefWindowProc(*m_pCurrentMsg) : 0;
}

LRESULT CWnd::DefWindowProc(const MSG& msg) {
    return AfxPlatform().DefaultProcessing(msg);
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static constexpr AFX_MSGMAP map{nullptr, {}};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

CPaintDC::CPaintDC(CWnd* wnd) : m_pWnd(wnd), m_hDC(AfxPlatform().BeginPaint(wnd->m_hWnd)) {}

CPaintDC::~CPaintDC() {
    AfxPlatform().EndPaint(m_pWnd->m_hWnd, m_hDC);
}

void CPaintDC::DrawIcon(int x, int y, HICON icon) {
    AfxPlatform().DrawIcon(m_hDC, x, y, icon);
}
