// CKestrinDlg: the main window. Its two click-cycle handlers, PreTranslateMessage and
// OnTimer, live in engine/click_cycle.cpp next to the rules they apply.
#pragma once

#include "platform/framework/afxwin.h"

class CKestrinDlg : public CDialog {
  public:
    CKestrinDlg();

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()

    HICON m_hIcon;
    CComboBox m_comboMode;
    CStatic m_staticCount;
    CString m_strRate;
    int m_nCount = 0;
    int m_nRate = 0;
    CComboBox m_comboUnit;
};
