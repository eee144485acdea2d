#include "platform/framework/cdialog.h"

#include "platform/framework/cwinapp.h"
#include "platform/resources.h"

CDialog::CDialog(UINT idTemplate, CWnd* parent) : m_nIDTemplate(idTemplate), m_pParentWnd(parent) {}

std::intptr_t CDialog::DoModal() {
    const auto* tmpl = AfxResources().FindDialog(static_cast<int>(m_nIDTemplate));
    if (tmpl == nullptr) return -1;

    // Without a parent of its own a dialog is owned by the main window, unless it is it.
    const CWnd* main = AfxGetApp().m_pMainWnd;
    const CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : (main != this ? main : nullptr);

    auto& platform = AfxPlatform();
    m_hWnd = platform.CreateDialogWindow(*tmpl, *this, owner ? owner->m_hWnd : HWND::None);
    if (m_hWnd == HWND::None) return -1;

    if (OnInitDialog()) platform.FocusFirstTabStop(m_hWnd);
    const int result = platform.RunModal(m_hWnd);

    platform.DestroyWindow(m_hWnd);
    m_hWnd = HWND::None;
    return result;
}

BOOL CDialog::OnInitDialog() {
    const auto* tmpl = AfxResources().FindDialog(static_cast<int>(m_nIDTemplate));
    auto& platform = AfxPlatform();
    for (const auto& control : tmpl->controls) {
        if (control.initialEntries.empty()) continue;
        const HWND list = platform.GetDlgItem(m_hWnd, control.id);
        for (const auto entry : control.initialEntries) platform.ComboAddString(list, entry);
    }
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx{this, saveAndValidate};
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::EndDialog(int result) {
    AfxPlatform().EndDialog(m_hWnd, result);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    return AfxPlatform().IsDialogMessage(m_hWnd, *pMsg) ? TRUE : FALSE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

LRESULT CDialog::DefWindowProc(const MSG& msg) {
    const bool closeBox = msg.message == WM_SYSCOMMAND && (msg.wParam & 0xFFF0) == SC_CLOSE;
    if (closeBox || msg.message == WM_CLOSE) {
        OnCancel();
        return 0;
    }
    return CWnd::DefWindowProc(msg);
}

bool CDialog::PreTranslate(MSG& msg) {
    // As the framework's loop does: the message's own dialog first, then the main window.
    if (PreTranslateMessage(&msg)) return true;
    CWnd* main = AfxGetApp().m_pMainWnd;
    return main != nullptr && main != this && main->PreTranslateMessage(&msg);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

int CComboBox::GetCurSel() const {
    return AfxPlatform().ComboGetCurSel(m_hWnd);
}

int CComboBox::SetCurSel(int index) {
    return AfxPlatform().ComboSetCurSel(m_hWnd, index);
}

int CComboBox::AddString(const CString& text) {
    return AfxPlatform().ComboAddString(m_hWnd, text);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd == HWND::None)
        control.m_hWnd = AfxPlatform().GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    auto& platform = AfxPlatform();
    const HWND field = platform.GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
    if (pDX->m_bSaveAndValidate) {
        value = platform.GetWindowText(field);
    } else if (platform.GetWindowText(field) != value.str()) {
        platform.SetWindowText(field, value);
    }
}
