#include "ui/about_dlg.h"

#include "res/resource.h"
#include "res/resources.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

bool CAboutDlg::OverLink(CPoint point) {
    CWnd* link = GetDlgItem(IDC_LINK);
    if (link == nullptr) return false;
    CRect rect;
    link->GetWindowRect(&rect);
    ScreenToClient(&rect);
    // The edges themselves are outside.
    return rect.left < point.x && point.x < rect.right && rect.top < point.y &&
           point.y < rect.bottom;
}

void CAboutDlg::OnMouseMove(UINT, CPoint point) {
    if (OverLink(point)) SetCursor(AfxGetApp().LoadCursor(IDC_LINK_CURSOR));
    Default();
}

void CAboutDlg::OnLButtonDown(UINT nFlags, CPoint point) {
    // A plain left click only: Shift, Ctrl or another button held opens nothing.
    if (OverLink(point) && nFlags == MK_LBUTTON) {
        ShellExecuteW(nullptr, nullptr, CString(kestrin::res::PageUrl()), nullptr, nullptr,
                      SW_SHOWNORMAL);
    }
    Default();
}
