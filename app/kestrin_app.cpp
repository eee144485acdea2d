#include "app/kestrin_app.h"

#include "ui/kestrin_dlg.h"

CKestrinApp theApp;

BOOL CKestrinApp::InitInstance() {
    INITCOMMONCONTROLSEX initCtrls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&initCtrls);

    CWinApp::InitInstance();
    SetRegistryKey(u"Local AppWizard-Generated Applications");

    CKestrinDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;

    // The dialog has closed: end the process rather than run a message loop.
    return FALSE;
}
