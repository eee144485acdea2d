#include "ui/kestrin_dlg.h"

#include "engine/click_rules.h"
#include "res/resource.h"
#include "res/texts.h"
#include "ui/about_dlg.h"

CKestrinDlg::CKestrinDlg() : CDialog(IDD_MAIN), m_hIcon(AfxGetApp().LoadIcon(IDR_MAINFRAME)) {}

void CKestrinDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CLICK_MODE, m_comboMode);
    DDX_Control(pDX, IDC_COUNT, m_staticCount);
    DDX_Text(pDX, IDC_RATE, m_strRate);
    DDX_Control(pDX, IDC_UNIT, m_comboUnit);
}

BEGIN_MESSAGE_MAP(CKestrinDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_TIMER()
END_MESSAGE_MAP()

BOOL CKestrinDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // The About entry at the end of the system menu.
    if (CMenu* sysMenu = GetSystemMenu(FALSE)) {
        const CString aboutText = LoadResourceString(IDS_ABOUTBOX);
        if (!aboutText.IsEmpty()) {
            sysMenu->AppendMenu(MF_SEPARATOR);
            sysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    // A key held by another program (a second Kestrin, say) cannot be ours: say so and leave
    // the window open without the rest of the set-up.
    if (!RegisterHotKey(m_hWnd, HOTKEY_START, 0, VK_F3)) {
        MessageBox(CString(kestrin::res::kHotKeyF3FailedText), nullptr, MB_OK);
        return FALSE;
    }
    if (!RegisterHotKey(m_hWnd, HOTKEY_STOP, 0, VK_F4)) {
        MessageBox(CString(kestrin::res::kHotKeyF4FailedText), nullptr, MB_OK);
        return FALSE;
    }

    m_comboMode.SetCurSel(LeftDouble);
    m_comboUnit.SetCurSel(PerSecond);
    m_strRate = u"10";
    UpdateData(FALSE);
    return TRUE;
}

void CKestrinDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CKestrinDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, static_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - cxIcon + 1) / 2;
    const int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CKestrinDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}
